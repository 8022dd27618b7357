// How the book's texts are shown in the window's controls. The book keeps counted byte strings;
// the controls stop at a zero byte, and the chapter editor cannot take every text the book can hold
// (it crawls on very long paragraphs and gives up on very large texts). A text is shown in a form
// the controls take, and it is written back only when the user changed it.
#pragma once

#include <cstddef>
#include <string>

namespace ChapterText {

// Stands in for each zero byte on screen; the book keeps the zero bytes.
constexpr const char* kZeroBytePlaceholder = "<NUL>";
// The most characters the chapter editor holds.
constexpr size_t kEditorLimit = 1048576;
// The longest paragraph the editor is given. Under Wine the editor's line breaking takes time that
// grows with the square of a paragraph's length (16 KiB 1 s, 32 KiB 3 s, 64 KiB 14 s on a busy
// machine), and some 400 KB bring it down.
constexpr size_t kLongestParagraph = 32768;
// The most line-breaking work a text may ask for: the sum of the squares of its paragraphs'
// lengths, as much as a full chapter of 4 KiB paragraphs.
constexpr unsigned long long kMostLineWork = 1ull << 32;
// How much of a text the editor shows when it cannot take the whole text.
constexpr size_t kPreviewLength = 65536;

bool HasZeroByte(const std::string& text);
// The text with each zero byte replaced by the placeholder.
std::string Displayed(const std::string& text);
// The length of the longest run of bytes without a line break, and the sum of the squares of
// those runs' lengths.
size_t LongestParagraph(const std::string& text, unsigned long long* pLineWork = nullptr);
// True when the editor can show and edit the text as it is.
bool FitsEditor(const std::string& text);
// What the editor shows of a text it cannot take: its start, long paragraphs broken into lines,
// and how much is not shown.
std::string Preview(const std::string& text);

}  // namespace ChapterText
