// Reading a .txt or .rtf file into the book's code page.
#include "FileText.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include <richedit.h>

#include "IncomingText.h"
#include "QuireBinderDlg.h"
#include "RtfCheck.h"

namespace {

// The RTF file's bytes, read before any control sees them; reading stops past what the check
// allows.
std::string ReadRtfBytes(CFile& file) {
    std::string bytes;
    char chunk[64 * 1024];
    while (bytes.size() <= RtfCheck::kMaxBytes) {
        UINT nRead = file.Read(chunk, UINT(sizeof(chunk)));
        if (nRead == 0)
            break;
        bytes.append(chunk, nRead);
    }
    return bytes;
}

// The checked bytes, handed to the decoding control piece by piece.
struct RtfSource {
    const std::string* pBytes;
    size_t nPos;
};

DWORD CALLBACK ReadRtf(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb) {
    auto* pSource = reinterpret_cast<RtfSource*>(dwCookie);
    size_t nCount = std::min(size_t(cb > 0 ? cb : 0), pSource->pBytes->size() - pSource->nPos);
    std::copy_n(pSource->pBytes->data() + pSource->nPos, nCount, pbBuff);
    pSource->nPos += nCount;
    *pcb = LONG(nCount);
    return 0;
}

// The decoder's whole text as Unicode: the control's ANSI text would have turned every character
// the code page lacks into "?" unseen.
std::string UnicodeTextOf(CRichEditCtrl& decoder) {
    GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_USECRLF | GTL_PRECISE, 1200};
    LRESULT nChars = decoder.SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (nChars <= 0)
        return std::string();
    std::wstring text(size_t(nChars) + 1, L'\0');
    GETTEXTEX request = {DWORD(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200, nullptr, nullptr};
    LRESULT nCopied = decoder.SendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request),
                                          reinterpret_cast<LPARAM>(&text[0]));
    text.resize(nCopied > 0 ? std::min(size_t(nCopied), size_t(nChars)) : 0);
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// UTF-8 and UTF-16 are recognised, anything else is already ANSI and comes byte for byte, as it
// always did. A binary file is refused.
FileText::EResult ReadTextFile(const std::string& strPath, SConvertedText& text, std::string& why) {
    CFile file(strPath.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    ULONGLONG nLength = file.GetLength();
    if (nLength == 0)
        return FileText::EResult::Empty;
    std::string bytes;
    try {
        if (nLength >= std::numeric_limits<UINT>::max())
            throw std::bad_alloc();
        bytes.resize(size_t(nLength));
    } catch (const std::bad_alloc&) {
        return FileText::EResult::LowMemory;
    }
    bytes.resize(file.Read(&bytes[0], UINT(nLength)));  // one request for the whole file
    text = ConvertIncomingText(bytes);
    if (text.encoding == ETextEncoding::Binary) {
        why = "This file does not look like text.";
        return FileText::EResult::Refused;
    }
    // Nothing but a byte-order mark.
    return text.text.empty() ? FileText::EResult::Empty : FileText::EResult::Text;
}

// A hidden rich edit control reads the file (its code page, \'hh and \uN included) and hands
// back its characters without the formatting. A file the control could not safely decode is
// refused before the control sees it.
FileText::EResult ReadRtfFile(CWnd& owner, const std::string& strPath, SConvertedText& text, std::string& why) {
    std::string bytes;
    {
        CFile file(strPath.c_str(), CFile::modeRead | CFile::shareDenyWrite);
        bytes = ReadRtfBytes(file);
    }
    std::string strProblem = RtfCheck::FindProblem(bytes.data(), bytes.size());
    if (!strProblem.empty()) {
        why = "This RTF file cannot be imported: " + strProblem + ".";
        return FileText::EResult::Refused;
    }
    CRichEditCtrl decoder;
    if (!decoder.Create(WS_CHILD | ES_MULTILINE, CRect(10, 10, 100, 200), &owner, 1))
        throw std::runtime_error("\"" + strPath +
                                 "\" could not be read.\n\nNo rich edit control could be made.");
    struct Destroy {
        CRichEditCtrl& wnd;
        ~Destroy() { wnd.DestroyWindow(); }
    } destroy{decoder};
    // The control's default limit is far below the editor's and would cut the file short unnoticed.
    decoder.LimitText(CQuireBinderDlg::kEditorTextLimit);

    RtfSource source{&bytes, 0};
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, &ReadRtf};
    decoder.StreamIn(SF_RTF, stream);
    if (decoder.GetWindowTextLength() == 0)
        return FileText::EResult::Empty;
    text = ConvertIncomingText(UnicodeTextOf(decoder), ETextEncoding::Utf16LE);
    return FileText::EResult::Text;
}

}  // namespace

namespace FileText {

std::string FileName(const std::string& path) {
    std::string::size_type nName = path.find_last_of("\\/:");
    return nName == std::string::npos ? path : path.substr(nName + 1);
}

std::string Extension(const std::string& path) {
    std::string name = FileName(path);
    std::string::size_type dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

EResult Read(CWnd& owner, const std::string& path, SConvertedText& text, std::string& why) {
    std::string ext = Extension(path);
    if (ext == "txt")
        return ReadTextFile(path, text, why);
    if (ext == "rtf")
        return ReadRtfFile(owner, path, text, why);
    return EResult::OtherType;
}

}  // namespace FileText
