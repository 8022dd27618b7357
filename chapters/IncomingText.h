#pragma once

// Text from outside on its way into the chapter editor: a file's bytes or the clipboard's Unicode
// text, converted into the book's code page (the system's ANSI code page), and the user asked
// first whenever characters would be lost or replaced.
#include <windows.h>

#include <initializer_list>
#include <string>

#include "TextConverter.h"

// Converts through the system's ANSI code page; line breaks become CR LF.
SConvertedText ConvertIncomingText(const std::string& bytes, ETextEncoding encoding = ETextEncoding::Auto);

// True when the text may go in: nothing would be lost, or the user chose Insert in the dialog
// that lists what would be (caption "Kelvra Quire Binder", Insert and Cancel).
bool ConfirmTextLoss(HWND hOwner, const SConvertedText& converted);

// The clipboard's text as UTF-16LE bytes when a program put it there as Unicode; false when there
// is none, or when it holds only what the platform made from CF_TEXT, which pastes as before.
bool ReadClipboardUnicode(HWND hOwner, std::string& bytes);

// Typing: the edit controls are ANSI windows, so a typed character that the book's code page
// cannot hold would reach them as "?" (or as a best-fit letter). Called after each message has
// been pre-translated (a key's characters are queued by then): takes such characters for `edits`
// out of the queue while they are still Unicode, beeps, and says so once per session.
void RefuseUnstorableTyping(HWND hOwner, std::initializer_list<HWND> edits);
