#pragma once

// Where the container writer's messages go. The window program shows them in its message box,
// the quire tool prints them; by default they go to standard error.
class CMessageSink {
public:
    virtual ~CMessageSink() {}
    virtual void Show(const char* text) = 0;

    static CMessageSink& Active();
    // A null sink restores the standard one.
    static void SetActive(CMessageSink* sink);
};

// Shows the text through the active sink.
void ShowMessage(const char* text);
