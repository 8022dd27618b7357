// The book's code pages through iconv, for the native build: glibc knows the Windows code pages
// as "CP<number>", and its transliteration stands in for Windows' best-fit tables.
#include "SystemCodePage.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace {

const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);

class CIconvCodePage : public CCodePage {
public:
    CIconvCodePage(unsigned number, const std::string& name)
        : m_nNumber(number),
          m_exact(iconv_open(name.c_str(), "UTF-32LE")),
          m_bestFit(iconv_open((name + "//TRANSLIT").c_str(), "UTF-32LE")),
          m_decode(iconv_open("UTF-32LE", name.c_str())) {}

    ~CIconvCodePage() override {
        for (iconv_t cd : {m_exact, m_bestFit, m_decode}) {
            if (cd != kNoConversion)
                iconv_close(cd);
        }
    }

    CIconvCodePage(const CIconvCodePage&) = delete;
    CIconvCodePage& operator=(const CIconvCodePage&) = delete;

    bool IsOpen() const { return m_exact != kNoConversion && m_bestFit != kNoConversion && m_decode != kNoConversion; }

    unsigned Number() const override { return m_nNumber; }

    bool Encode(char32_t ch, std::string& bytes) const override {
        char in[4] = {char(ch & 0xFF), char((ch >> 8) & 0xFF), char((ch >> 16) & 0xFF), char(ch >> 24)};
        if (Run(m_exact, in, sizeof(in), bytes))
            return true;
        // Transliteration writes "?" where it knows nothing better: that is no replacement.
        if (!Run(m_bestFit, in, sizeof(in), bytes) || (bytes == "?" && ch != '?'))
            bytes.clear();
        return false;
    }

    std::u32string Decode(const std::string& bytes) const override {
        std::u32string text;
        iconv(m_decode, nullptr, nullptr, nullptr, nullptr);
        char* pIn = const_cast<char*>(bytes.data());
        size_t nIn = bytes.size();
        std::string out(4 * bytes.size() + 4, '\0');
        while (nIn != 0) {
            char* pOut = &out[0];
            size_t nOut = out.size();
            size_t result = iconv(m_decode, &pIn, &nIn, &pOut, &nOut);
            AppendUtf32(out.data(), out.size() - nOut, text);
            if (result == size_t(-1)) {
                if (errno == E2BIG)
                    continue;
                // An undefined byte, or a lead byte cut off at the end.
                text += char32_t(0xFFFD);
                if (errno != EILSEQ)
                    break;
                ++pIn, --nIn;
            }
        }
        return text;
    }

private:
    static bool Run(iconv_t cd, char* in, size_t nIn, std::string& bytes) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char out[32];
        char* pOut = out;
        size_t nOut = sizeof(out);
        bool bOk = iconv(cd, &in, &nIn, &pOut, &nOut) != size_t(-1) &&
                   iconv(cd, nullptr, nullptr, &pOut, &nOut) != size_t(-1);
        bytes.assign(out, sizeof(out) - nOut);
        return bOk && !bytes.empty();
    }

    static void AppendUtf32(const char* data, size_t n, std::u32string& text) {
        const auto* p = reinterpret_cast<const unsigned char*>(data);
        for (size_t i = 0; i + 3 < n; i += 4)
            text += char32_t(p[i] | p[i + 1] << 8 | p[i + 2] << 16 | char32_t(p[i + 3]) << 24);
    }

    unsigned m_nNumber;
    iconv_t m_exact;
    iconv_t m_bestFit;
    iconv_t m_decode;
};

}  // namespace

std::unique_ptr<CCodePage> OpenCodePage(unsigned number) {
    std::string name = number == 65001 ? "UTF-8" : "CP" + std::to_string(number);
    std::unique_ptr<CIconvCodePage> codePage(new CIconvCodePage(number, name));
    if (!codePage->IsOpen())
        return nullptr;
    return std::unique_ptr<CCodePage>(codePage.release());
}

unsigned SystemAnsiCodePage() {
    return 1252;
}
