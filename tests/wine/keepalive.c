/* Owns one hidden window so that Wine's desktop process stays up between tests;
   the fixture's cleanup ends it with the Wine server. */
#include <windows.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd, int show)
{
    (void)prev; (void)cmd; (void)show;
    WNDCLASSA wc = {0};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = inst;
    wc.lpszClassName = "QuireKeepAlive";
    RegisterClassA(&wc);
    /* Without its window it keeps nothing alive: say so rather than idle until the cleanup. */
    if (!CreateWindowA("QuireKeepAlive", "", 0, 0, 0, 0, 0, NULL, NULL, inst, NULL))
        return 1;
    /* "--once": only make sure the desktop process is up, then leave. */
    if (cmd && strstr(cmd, "--once"))
        return 0;
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
