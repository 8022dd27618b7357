// The history of chapter commands for Undo and Redo. A step records, for each run of chapters a
// command touched, the chapters there before it and the chapters there after it (titles, texts,
// positions), so that any command that replaces some chapters by others can be undone and redone
// exactly: new, rename, delete, move, split, merge, chapters added from files, Replace All.
// Standard C++ only: the window applies the steps to its list, its book and its editor.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

// One chapter as the window holds it.
struct SChapterRecord {
    std::string strListTitle;  // the title the contents list shows
    std::string strTitle;      // the book's title bytes (may differ until the book is saved)
    std::string strText;       // the book's text bytes
};

// The chapters from nFirst on: `before` were there before the command, `after` afterwards.
struct SChapterRun {
    int nFirst = 0;
    std::vector<SChapterRecord> before;
    std::vector<SChapterRecord> after;
};

struct SChapterStep {
    std::string strName;  // "Delete Chapter", "Move Chapter Up", ...
    // Applied in order to redo, in reverse order to undo.
    std::vector<SChapterRun> runs;
    int nSelectedBefore = -1;
    int nSelectedAfter = -1;

    size_t Bytes() const;
};

class CChapterHistory {
public:
    static constexpr size_t kMaxSteps = 100;
    static constexpr size_t kMaxBytes = size_t(64) << 20;

    explicit CChapterHistory(size_t nMaxSteps = kMaxSteps, size_t nMaxBytes = kMaxBytes);

    // A command was done: it becomes the step to undo and nothing is left to redo. The oldest
    // steps go while there are too many or they hold too much; the newest always stays.
    void Record(SChapterStep step);
    void Clear();

    // The step that Undo or Redo would apply; null when there is none.
    const SChapterStep* NextUndo() const;
    const SChapterStep* NextRedo() const;
    // Moves over the step and hands it out to be applied; the caller may bring its runs up to
    // date with what it found in place. Null when there is none.
    SChapterStep* Undo();
    SChapterStep* Redo();

    size_t StepCount() const { return m_steps.size(); }
    size_t Bytes() const;

private:
    void Trim();

    std::deque<SChapterStep> m_steps;
    size_t m_nDone = 0;  // steps [0, m_nDone) can be undone, [m_nDone, end) redone
    size_t m_nMaxSteps;
    size_t m_nMaxBytes;
};
