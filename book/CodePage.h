#pragma once

#include <string>

// A single- or double-byte code page as the platform knows it: the Windows build asks
// WideCharToMultiByte and MultiByteToWideChar, the native build iconv. The book's text is kept in
// one such code page; CTextConverter brings other text into it.
class CCodePage {
public:
    virtual ~CCodePage() {}

    // The code page's number (1252, 1250, 932, ...).
    virtual unsigned Number() const = 0;

    // One Unicode character (never a surrogate) in this code page. True, with its bytes, when the
    // code page holds it exactly; false otherwise, with the platform's closest replacement in
    // `bytes` ("l" for "ł"), or `bytes` empty when there is none.
    virtual bool Encode(char32_t ch, std::string& bytes) const = 0;

    // The code page's bytes as Unicode characters. A byte (or pair) the code page leaves undefined
    // becomes U+FFFD, or whatever the platform maps it to (Windows gives most such bytes a C1
    // control character of the same value).
    virtual std::u32string Decode(const std::string& bytes) const = 0;
};
