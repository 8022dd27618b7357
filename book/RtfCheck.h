// What the platform's rich edit control can safely decode: a check of an RTF file's bytes before
// the control sees them. Wine's control dies on deep group nesting, overlong control words and
// parameters (braces in \bin data too: it reads them as RTF), and slows to minutes or dies on
// very many paragraphs or table cells.
#pragma once

#include <cstddef>
#include <string>

namespace RtfCheck {

// Limits, each within what was measured to decode safely and in a few seconds under Wine.
constexpr size_t kMaxBytes = 2u << 20;
constexpr int kMaxDepth = 30;           // the control's style stack holds 32 groups
constexpr size_t kMaxWordLetters = 32;  // as RTF defines control words
constexpr size_t kMaxDigits = 10;       // a 32-bit parameter
constexpr size_t kMaxParagraphs = 100000;
constexpr size_t kMaxCells = 10000;

// Why the bytes cannot be handed to the control ("its groups are nested more than 30 deep"), or
// empty when they can. Reads nothing past nSize.
std::string FindProblem(const char* pData, size_t nSize);

}  // namespace RtfCheck
