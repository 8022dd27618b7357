#include "FileChapter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Files.h"
#include "MessageSink.h"

namespace {

// Detection looks at the head of a file: enough for the zero bytes of UTF-16 and of binary files
// to show, little enough that a book of a thousand files is not read twice. Conversion reads and
// converts a piece at a time.
const std::size_t kHead = std::size_t(8) << 10;
const std::size_t kPiece = std::size_t(64) << 10;

// The head without a UTF-8 character cut at its end, which would make valid UTF-8 look invalid.
std::string WholeCharacters(const std::string& head) {
    for (std::size_t back = 1; back <= 3 && back <= head.size(); ++back) {
        auto byte = static_cast<unsigned char>(head[head.size() - back]);
        if (byte >= 0xC0)
            return head.substr(0, head.size() - back);
        if (byte < 0x80)
            break;
    }
    return head;
}

bool IsAscii(const std::string& bytes) {
    return std::none_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

CFileChapter::CFileChapter(std::string path, uint64_t length)
    : m_strPath(std::move(path)), m_nLength(length), m_file(nullptr, std::fclose) {}

bool CFileChapter::Examine(const CCodePage& codePage,
                           const CTextConverter::Options& options,
                           std::vector<SLostCharacter>& lost) {
    m_pCodePage = &codePage;
    m_bCrLf = options.bCrLf;
    if (options.encoding == ETextEncoding::Ansi)
        return true;
    if (!Open())
        return false;
    std::string piece(kHead, '\0');
    piece.resize(std::fread(&piece[0], 1, kHead, m_file.get()));
    bool bWhole = piece.size() < kHead;
    std::string head = bWhole ? piece : WholeCharacters(piece);
    STextDetection detected = ResolveEncoding(DetectTextEncoding(head), options.encoding);
    // The window takes a file as UTF-8 only when all of it is: the rest is read to know, and a
    // file whose head is ASCII may still hold UTF-8 further on.
    bool bCheckUtf8 = false;
    if (options.encoding == ETextEncoding::Auto && !detected.bBom) {
        bCheckUtf8 = detected.encoding == ETextEncoding::Utf8 ||
                     (detected.encoding == ETextEncoding::Ansi && !bWhole && IsAscii(head));
        if (bCheckUtf8)
            detected.encoding = ETextEncoding::Utf8;
    }
    bool bRead = !std::ferror(m_file.get());
    if (bRead && IsDecoded(detected.encoding)) {
        CTextStream stream(codePage, detected.encoding, detected.bBom, m_bCrLf);
        uint64_t length = 0;
        std::string text;
        do {
            text.clear();
            stream.Put(piece.data(), piece.size(), text);
            length += text.size();
            if (bCheckUtf8 && stream.Malformed())
                break;
            piece.resize(kPiece);
            piece.resize(std::fread(&piece[0], 1, kPiece, m_file.get()));
        } while (!piece.empty());
        bRead = !std::ferror(m_file.get());
        text.clear();
        stream.Finish(text);
        length += text.size();
        if (bRead && !(bCheckUtf8 && (stream.Malformed() || !stream.MultiByte()))) {
            m_encoding = detected.encoding;
            m_bBom = detected.bBom;
            m_nLength = length;
            lost = stream.TakeLost();
        }
    }
    if (!bRead)
        Report(ErrorText(errno));
    m_file.reset();
    return bRead;
}

bool CFileChapter::Open() {
    if (m_file)
        return true;
    m_file.reset(OpenFile(m_strPath, "rb"));
    if (!m_file)
        Report(ErrorText(errno));
    return m_file != nullptr;
}

bool CFileChapter::Refill() {
    if (!m_stream) {
        m_stream.reset(new CTextStream(*m_pCodePage, m_encoding, m_bBom, m_bCrLf));
        m_strPiece.resize(kPiece);
    }
    m_strPending.clear();
    m_nTaken = 0;
    std::size_t count = std::fread(&m_strPiece[0], 1, kPiece, m_file.get());
    if (count > 0) {
        m_stream->Put(m_strPiece.data(), count, m_strPending);
        return true;
    }
    if (std::ferror(m_file.get())) {
        Report(ErrorText(errno));
        return false;
    }
    m_stream->Finish(m_strPending);
    m_bEnded = true;
    return true;
}

std::size_t CFileChapter::Read(unsigned char* buffer, std::size_t capacity) {
    if (!Open())
        return 0;
    if (!IsDecoded(m_encoding)) {
        std::size_t count = std::fread(buffer, 1, capacity, m_file.get());
        if (count == 0)
            Report(std::ferror(m_file.get()) ? ErrorText(errno) : "changed while it was read");
        return count;
    }
    while (m_nTaken == m_strPending.size() && !m_bEnded) {
        if (!Refill())
            return 0;
    }
    std::size_t count = std::min(capacity, m_strPending.size() - m_nTaken);
    std::memcpy(buffer, m_strPending.data() + m_nTaken, count);
    m_nTaken += count;
    if (count == 0)
        Report("changed while it was read");
    return count;
}

bool CFileChapter::AtEnd() {
    if (!Open())
        return false;
    bool atEnd;
    if (!IsDecoded(m_encoding)) {
        atEnd = std::fgetc(m_file.get()) == EOF && !std::ferror(m_file.get());
    } else {
        bool bRead = true;
        while (bRead && m_nTaken == m_strPending.size() && !m_bEnded)
            bRead = Refill();
        atEnd = bRead && m_nTaken == m_strPending.size() && m_bEnded;
    }
    if (!atEnd)
        Report("changed while it was read");
    m_file.reset();
    m_stream.reset();
    std::string().swap(m_strPiece);
    std::string().swap(m_strPending);
    return atEnd;
}

void CFileChapter::Report(const std::string& why) const {
    ShowMessage((m_strPath + ": " + why).c_str());
}

std::size_t CMemoryChapter::Read(unsigned char* buffer, std::size_t capacity) {
    std::size_t count = std::min(capacity, m_strText.size() - m_nRead);
    std::memcpy(buffer, m_strText.data() + m_nRead, count);
    m_nRead += count;
    return count;
}
