// Answers the modal windows (message boxes, dialogs, common file dialogs) that the code under test
// opens on this thread, so that a GUI test never hangs on one. In-process: it sees the windows'
// controls and the test's objects directly.
//
//   ModalAnswerer answerer;                                   // arms it (one at a time per thread)
//   answerer.Expect(ModalAnswerer::Press("Kelvra Quire Binder", IDYES).WithText("Save changes?"));
//   answerer.Expect(ModalAnswerer::FileName("Save As", "notes.book"));
//   dlg.SaveBook(true);                                       // opens both; each is answered in turn
//   EXPECT_TRUE(answerer.AllAnswered());
//   EXPECT_EQ(answerer.Seen()[0].text, "Save changes?");
//
// How it works: a thread timer (every 20 ms) runs inside whichever loop is pumping messages (a
// message box's, a file dialog's, the framework's modal loop, or PumpUntil). On each tick it takes
// the topmost modal window of the thread: a visible, enabled dialog (class "#32770") that is not
// the application's main window (AfxGetMainWnd) and was not passed to Ignore. It checks that
// window against the next expectation, in order:
//   caption          exact match; empty matches any caption
//   text             exact match with the message text (the static control 0xFFFF of a message
//                    box); empty matches anything
//   requiredControl  a control id that must exist in the window (0: none)
// On a match it puts the texts of `fields` into their controls (WM_SETTEXT; the file dialogs'
// name box is the combo kFileNameBox), runs `action` with the window handle, and then posts
// WM_COMMAND `button` (0: none). Posting, not sending, keeps the answerer free when the click
// opens a nested modal window, which the next tick then answers.
//
// The main window is never taken for a modal window, but a test can script it in the same queue:
// an OnMainWindow expectation runs its action on the main window once no other modal window is
// up (and the main window is visible and enabled), in turn with the others.
//
// A window that matches nothing is an error: the test fails (ADD_FAILURE with the window's caption
// and text) and the window gets IDCANCEL. After answering a window the answerer leaves that same
// window alone for 300 ms unless another window was answered in between (a file dialog that
// rejected its name and opened a message box is answered again at once).
//
// Deadline (default 30 s from construction): after it, the test fails and on every tick every
// visible dialog of the thread, the main window included, gets IDCANCEL and WM_CLOSE, so the code
// under test returns. That holds while an action runs too: a window the action itself opens and
// waits on is not answered (the answerer does not re-enter itself), but the deadline closes it.
// The destructor fails the test for expectations never met.
//
// Code with modal loops of its own that the test cannot reach in-process (kvcomm.dll's wizard) is
// answered from a second thread instead, by a script that waits for each window in turn:
//
//   ModalAnswerer::RunScript([&] { return KelvraUploadWizardA(&record, 1, hOwner); },
//                            [&](ModalAnswerer::Script& script) {
//                                HWND hWizard = script.WaitForDialog(IDC_KV_FOLDER);
//                                ModalAnswerer::Click(hWizard, IDCANCEL);
//                            });
//
// The script's waits have a deadline each; whatever it leaves open is cancelled, so a failing test
// never hangs in a modal loop.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class ModalAnswerer {
public:
    static constexpr int kFileNameBox = 0x047C;  // the name box of the explorer file dialogs
    static constexpr int kMessageText = 0xFFFF;  // the text of a message box

    struct Expectation {
        std::string caption;
        std::string text;
        int requiredControl = 0;
        std::vector<std::pair<int, std::string>> fields;
        std::function<void(HWND)> action;
        int button = IDOK;
        bool mainWindow = false;  // see OnMainWindow

        Expectation& WithText(std::string messageText) {
            text = std::move(messageText);
            return *this;
        }
    };

    // What was answered, in order.
    struct Answered {
        HWND hWnd;
        HWND hOwner;
        std::string caption;
        std::string text;  // message text, empty for other dialogs
    };

    // Press `button` in the window captioned `caption`.
    static Expectation Press(std::string caption, int button);
    // Type `name` into a file dialog's name box and press `button`.
    static Expectation FileName(std::string caption, std::string name, int button = IDOK);
    // Run `action` on the window; it presses nothing itself unless the action does.
    static Expectation Act(std::string caption, std::function<void(HWND)> action);
    // Run `action` on the application's main window (AfxGetMainWnd).
    static Expectation OnMainWindow(std::function<void(HWND)> action);

    explicit ModalAnswerer(DWORD deadlineMs = 30000);
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;
    ~ModalAnswerer();

    ModalAnswerer& Expect(Expectation expectation);
    // Never answer this window (besides the main window, which is never answered).
    void Ignore(HWND hWnd);

    bool AllAnswered() const { return m_pending.empty(); }
    const std::vector<Answered>& Seen() const { return m_seen; }

    // Pumps this thread's messages (through the application's pre-translation, as the framework's
    // modal loop does) until done() is true or timeoutMs passed. Returns done().
    static bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
    // Pumps, the same way, until the queue is empty (what is already posted, and the paints and
    // timers that are due) or timeoutMs passed. Returns whether it emptied.
    static bool PumpPending(DWORD timeoutMs = 2000);

    // Texts are read and set with a time limit: the window may belong to another thread.
    static std::string Caption(HWND hWnd);
    static std::string ControlText(HWND hWnd, int id);
    static void SetControlText(HWND hWnd, int id, const std::string& text);
    // Posted, never sent: the click may open a nested modal window.
    static void Click(HWND hWnd, int id);

    // Waits for the windows of one (the UI) thread from another thread.
    class Script {
    public:
        static constexpr DWORD kDefaultWait = 10000;

        explicit Script(DWORD uiThread) : m_uiThread(uiThread) {}

        // The first visible dialog of the UI thread that `match` accepts; nullptr after the deadline.
        HWND WaitFor(const std::function<bool(HWND)>& match, DWORD timeoutMs = kDefaultWait) const;
        // A dialog that has a child with `childId`.
        HWND WaitForDialog(int childId, DWORD timeoutMs = kDefaultWait) const;
        // A message box: a dialog with the message text but without the `notChildId` control.
        HWND WaitForMessageBox(int notChildId, DWORD timeoutMs = kDefaultWait) const;
        // Cancels every visible dialog of the UI thread; returns how many there were.
        int CancelAll() const;

    private:
        DWORD m_uiThread;
    };

    // Runs `call` on this thread while `script` answers its windows on a second thread. Whatever
    // the script leaves open is cancelled; `leftOpen` then says so.
    static int RunScript(const std::function<int()>& call,
                         const std::function<void(Script&)>& script,
                         bool* leftOpen = nullptr);
    // Polls `condition` without pumping (for a script's thread) until true or timeoutMs passed.
    static bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = Script::kDefaultWait);

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();
    HWND FindModalWindow() const;
    HWND ReadyMainWindow() const;
    bool Matches(HWND hWnd, const Expectation& expectation) const;
    void Answer(HWND hWnd, Expectation expectation);
    void Refuse(HWND hWnd);
    void CloseEverything();

    std::deque<Expectation> m_pending;
    std::vector<Answered> m_seen;
    std::vector<HWND> m_ignored;
    UINT_PTR m_timer = 0;
    DWORD m_deadline;
    bool m_bDeadlinePassed = false;
    bool m_bInTick = false;
    HWND m_hLastAnswered = nullptr;
    DWORD m_lastAnsweredAt = 0;
};
