#pragma once

// Where the container writer's messages go. The window program shows them in its message box,
// the quire tool prints them; by default they go to standard error.
typedef void (*MessageSinkFn)(const char* text);

// A null sink restores the default.
void SetMessageSink(MessageSinkFn sink);

void ShowMessage(const char* text);
