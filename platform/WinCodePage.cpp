// The book's code pages through the Windows conversion calls, best-fit tables included.
#include "SystemCodePage.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

class CWinCodePage : public CCodePage {
public:
    explicit CWinCodePage(unsigned number) : m_nNumber(number) {}

    unsigned Number() const override { return m_nNumber; }

    bool Encode(char32_t ch, std::string& bytes) const override {
        wchar_t units[2];
        int nUnits = 1;
        if (ch >= 0x10000) {
            units[0] = wchar_t(0xD800 + ((ch - 0x10000) >> 10));
            units[1] = wchar_t(0xDC00 + ((ch - 0x10000) & 0x3FF));
            nUnits = 2;
        } else {
            units[0] = wchar_t(ch);
        }
        char buffer[16];
        bytes.clear();
        if (m_nNumber == CP_UTF8) {  // holds everything, and takes no flags
            int n = ::WideCharToMultiByte(CP_UTF8, 0, units, nUnits, buffer, sizeof(buffer), nullptr, nullptr);
            bytes.assign(buffer, n > 0 ? size_t(n) : 0);
            return n > 0;
        }
        // First without best fit: a character that needs the default character is not held.
        BOOL bDefaultUsed = FALSE;
        int n = ::WideCharToMultiByte(m_nNumber, WC_NO_BEST_FIT_CHARS, units, nUnits, buffer, sizeof(buffer),
                                      nullptr, &bDefaultUsed);
        if (n > 0 && !bDefaultUsed) {
            bytes.assign(buffer, size_t(n));
            return true;
        }
        bDefaultUsed = FALSE;
        n = ::WideCharToMultiByte(m_nNumber, 0, units, nUnits, buffer, sizeof(buffer), nullptr, &bDefaultUsed);
        if (n > 0 && !bDefaultUsed)
            bytes.assign(buffer, size_t(n));
        return false;
    }

    std::u32string Decode(const std::string& bytes) const override {
        std::u32string text;
        if (bytes.empty())
            return text;
        int n = ::MultiByteToWideChar(m_nNumber, 0, bytes.data(), int(bytes.size()), nullptr, 0);
        if (n <= 0)
            return std::u32string(1, 0xFFFD);
        std::vector<wchar_t> wide(static_cast<size_t>(n));
        ::MultiByteToWideChar(m_nNumber, 0, bytes.data(), int(bytes.size()), wide.data(), n);
        for (size_t i = 0; i < wide.size(); ++i) {
            char32_t unit = wide[i];
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                wide[i + 1] <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (char32_t(wide[i + 1]) - 0xDC00);
                ++i;
            }
            text += unit;
        }
        return text;
    }

private:
    unsigned m_nNumber;
};

}  // namespace

std::unique_ptr<CCodePage> OpenCodePage(unsigned number) {
    if (!::IsValidCodePage(number))
        return nullptr;
    return std::unique_ptr<CCodePage>(new CWinCodePage(number));
}

unsigned SystemAnsiCodePage() {
    return ::GetACP();
}
