// Running this thread's messages from a test, with deadlines instead of fixed sleeps.
#pragma once

#include <windows.h>

#include <functional>

namespace MessagePump {

// Dispatches every message already queued.
void Drain();
// Dispatches messages for about nMs milliseconds.
void RunFor(DWORD nMs);
// Dispatches messages until condition() holds; false if nMs milliseconds pass first.
bool RunUntil(const std::function<bool()>& condition, DWORD nMs = 2000);
// Whether hWnd has a window timer running: waits a few periods of a 10 ms timer and looks for
// its WM_TIMER without taking it from the queue.
bool HasTimer(HWND hWnd);

}  // namespace MessagePump
