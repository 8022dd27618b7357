// Resources of the chapter tests only; the program's own ids come from res/resource.h.
#pragma once

// A dialog holding just the table-of-contents list, with the main window's list styles.
#define IDD_TEST_CONTENTS_HOST 9100
