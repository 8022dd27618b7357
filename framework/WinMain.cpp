// The program's entry point. It is kept out of the framework library (target framework_main) so
// that test programs can bring their own main.
#include <windows.h>

#include "CWinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
