// What the user sees of text the book cannot hold: the dialog that lists the characters before
// text goes in, and the text of such Unicode windows as UTF-8.
#pragma once

#include <string>

#include "ModalAnswerer.h"

// The window's text as the user sees it, in UTF-8.
std::string Utf8WindowText(HWND hWnd);

// Presses `button` (IDOK is Insert) in the list dialog and leaves the list in `list`.
ModalAnswerer::Expectation AnswerTextLoss(int button, std::string& list);
