// The chapter history on its own: what Undo and Redo hand out, and how much it keeps.
#include <gtest/gtest.h>

#include <string>

#include "ChapterHistory.h"

namespace {

SChapterStep Step(const std::string& name, size_t nTextBytes = 0) {
    SChapterStep step;
    step.strName = name;
    SChapterRun run;
    run.before.push_back(SChapterRecord{name, name, std::string(nTextBytes, 'x')});
    step.runs.push_back(run);
    return step;
}

std::string Name(const SChapterStep* pStep) {
    return pStep != nullptr ? pStep->strName : "none";
}

TEST(ChapterHistory, UndoAndRedoWalkTheStepsAndANewStepDropsWhatWasUndone) {
    CChapterHistory history;
    EXPECT_EQ(Name(history.Undo()), "none");
    for (const char* name : {"1", "2", "3"})
        history.Record(Step(name));
    EXPECT_EQ(Name(history.Undo()), "3");
    EXPECT_EQ(Name(history.Undo()), "2");
    EXPECT_EQ(Name(history.NextRedo()), "2");
    EXPECT_EQ(Name(history.Redo()), "2");
    EXPECT_EQ(Name(history.NextUndo()), "2");
    history.Record(Step("4"));
    EXPECT_EQ(Name(history.NextRedo()), "none");
    EXPECT_EQ(history.StepCount(), 3u);
    EXPECT_EQ(Name(history.Undo()), "4");
    EXPECT_EQ(Name(history.Undo()), "2");
    history.Clear();
    EXPECT_EQ(Name(history.NextUndo()), "none");
    EXPECT_EQ(Name(history.NextRedo()), "none");
}

TEST(ChapterHistory, TheOldestStepsGoFirstAndTheNewestAlwaysStays) {
    struct Case {
        size_t nMaxSteps, nMaxBytes, nSteps, nTextBytes, nKept;  // nKept 0: as many as fit
    };
    const Case cases[] = {
        {100, size_t(64) << 20, 150, 10, 100},  // too many steps
        {100, 10000, 50, 1000, 0},              // too many bytes
        {100, 10000, 3, 50000, 1},              // one step larger than all the room
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nSteps) + " steps of " + std::to_string(c.nTextBytes));
        CChapterHistory history(c.nMaxSteps, c.nMaxBytes);
        for (size_t i = 0; i < c.nSteps; ++i)
            history.Record(Step(std::to_string(i), c.nTextBytes));
        size_t nKept = history.StepCount();
        if (c.nKept != 0) {
            EXPECT_EQ(nKept, c.nKept);
        } else {
            EXPECT_LE(history.Bytes(), c.nMaxBytes);
            EXPECT_GT(history.Bytes() + Step("0", c.nTextBytes).Bytes(), c.nMaxBytes);
            EXPECT_GT(nKept, 1u);
        }
        EXPECT_EQ(Name(history.NextUndo()), std::to_string(c.nSteps - 1));
        size_t nUndone = 0;
        while (history.Undo() != nullptr)
            ++nUndone;
        EXPECT_EQ(nUndone, nKept);
        EXPECT_EQ(Name(history.NextRedo()), std::to_string(c.nSteps - nKept));
    }
}

}  // namespace
