// Resource ids of the framework's test program (its own small resource script).
#ifndef FRAMEWORK_TEST_RESOURCE_H
#define FRAMEWORK_TEST_RESOURCE_H

#define IDD_TEST_PLAIN 200
#define IDD_TEST_OUTER 201
#define IDD_TEST_INNER 202
#define IDD_TEST_MISSING 299

#define IDC_T_EDIT 1001
#define IDC_T_LIST 1002
#define IDC_T_DRAWN 1003
#define IDC_T_LINK 1004
#define IDC_T_BUTTON 1005
#define IDC_T_RICH 1006

#define IDR_T_ACCEL 300
#define ID_T_ACCEL_CMD 40001

#define IDS_T_REGISTRY_KEY 400

#endif
