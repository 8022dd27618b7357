// The chapter editor: a rich edit control that is given whole texts quickly. Under Wine the
// control takes seconds to remove a large text (a 1 MiB selection deleted in 37 s, a 1 MiB text
// replaced by another in 1.5 s), while a fresh control takes a text in a fraction of that. So a
// large text is not removed: the control is made anew in the same place, and the new text goes
// into the empty one. Deleting or replacing the whole of a large text goes the same way, with an
// undo of its own, since the new control has no undo of what came before.
#pragma once

#include <string>

#include "CRichEditCtrl.h"

class CChapterEditor : public CRichEditCtrl {
public:
    // Texts from this many characters on are removed by making the control anew.
    static constexpr int kLargeText = 32768;

    // Shows a chapter's text: the caret at the start, nothing to undo, not modified. The owner
    // hears of the change once (EN_CHANGE), as after WM_SETTEXT.
    void SetChapterText(const std::string& text);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // True when the selection covers all of a large text.
    bool LargeTextAllSelected() const;
    // Replaces the whole text by `text` as an edit of the user's: caret after it, modified, and
    // undoable back to the old text when bUndoable.
    void ReplaceAll(const std::string& text, bool bUndoable);
    // Puts back the text that the last ReplaceAll removed, selected.
    void UndoReplaceAll();
    // Makes the control anew with the old one's place, styles, font, limit, event mask and focus,
    // and streams `text` into it with its notifications off.
    void Renew(const std::string& text);
    void NotifyChange();
    bool ControlCanUndo();

    std::string m_strUndoText;
    bool m_bUndoPending = false;
};
