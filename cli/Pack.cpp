// quire pack: writes a book from text files, a folder of them, or a folder written by unpack.
#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "Arguments.h"
#include "ChapterSplitter.h"
#include "Commands.h"
#include "FileChapter.h"
#include "Files.h"
#include "Help.h"
#include "KvFileName.h"
#include "MessageSink.h"
#include "NaturalOrder.h"
#include "Report.h"
#include "StandardOutput.h"
#include "StreamedBook.h"
#include "SystemCodePage.h"
#include "TextOptions.h"

namespace {

const char kStandardStream[] = "-";

struct Input {
    std::string path;
    std::string title;
    FileStatus status;
    bool bAsIs = false;  // an unpacked file left in the book's own bytes
    std::unique_ptr<CMemberSource> source;
};

// Author, title and chapter titles are single lines; the chapter title dialog does the same.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    }
    return text;
}

// The file's name without its directory and its last extension; a leading dot starts a hidden
// file's name, not an extension.
std::string TitleOfFile(const std::string& path) {
    std::string::size_type separator = LastSeparator(path);
    std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
    std::string::size_type dot = name.rfind('.');
    if (dot != std::string::npos && dot != 0)
        name.erase(dot);
    return name;
}

bool IsTextFileName(const std::string& name) {
    static const char kExtension[] = ".txt";
    const std::size_t length = sizeof kExtension - 1;
    if (name.size() <= length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        char c = name[name.size() - length + i];
        if ((c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c) != kExtension[i])
            return false;
    }
    return true;
}

// Whole small files: the author, title and contents of an unpacked folder, or a piped chapter.
bool ReadAll(std::FILE* file, std::string& data) {
    char buffer[64 * 1024];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        data.append(buffer, count);
    return !std::ferror(file);
}

int ReadWholeFile(const std::string& path, std::string& data) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(path, "rb"), std::fclose);
    if (!file)
        return FailOn(path, ErrorText(errno));
    if (!ReadAll(file.get(), data))
        return FailOn(path, ErrorText(errno));
    return 0;
}

class CPack {
public:
    int Run(const std::vector<std::string>& args);

private:
    int AddOperand(const std::string& operand);
    int AddFolderTexts(const std::string& folder);
    int AddFile(const std::string& path, const std::string& title);
    int ReadFolderEncoding(const std::string& folder);
    int LoadUnpacked(const std::string& folder);
    int CheckOutput();
    int ReadTexts();
    int SplitInputs();
    int Write();
    // A name as the book keeps it, its losses told for `where`.
    std::string NameText(const std::string& name, const std::string& where);
    // A whole text read from a file or a stream, converted as the options say.
    std::string ConvertText(std::string bytes, const std::string& where);
    std::string ChapterName(const Input& input) const;

    std::string m_strOut;
    std::string m_strTarget;  // where the book lands: the end of -o's symbolic links
    std::string m_strAuthor;
    std::string m_strTitle;
    std::vector<Input> m_inputs;
    bool m_bSplit = false;
    CChapterSplitter m_splitter;
    STextOptions m_options;
    CTextConverter::Options m_textOptions;
    std::unique_ptr<CCodePage> m_codePage;
    SFolderEncoding m_folder;
    bool m_bLost = false;
};

int CPack::Run(const std::vector<std::string>& args) {
    CArguments arguments({"-o", "-a", "-t", "--from", "--split", "--encoding", "--codepage"},
                         {"--remove-lines", "--strict", "--keep-line-breaks"});
    if (!arguments.Parse(args))
        return Usage("pack");
    if (arguments.Has("--help")) {
        PrintHelp("pack");
        return 0;
    }
    const std::string* out = arguments.Value("-o");
    const std::string* folder = arguments.Value("--from");
    if (!out || (folder && !arguments.Operands().empty()))
        return Usage("pack");
    if (!ReadTextOptions(arguments, {"auto", "utf-8", "utf-16", "ansi"}, m_options))
        return Usage("pack");
    m_strOut = *out;
    if (const std::string* split = arguments.Value("--split")) {
        SSplitRule rule;
        std::string why;
        if (!CChapterSplitter::ParseRule(*split, rule, why)) {
            std::fprintf(stderr, "quire: --split: %s\n", why.c_str());
            return Usage("pack");
        }
        rule.bKeepLines = !arguments.Has("--remove-lines");
        m_bSplit = m_splitter.SetRule(rule, why);
    }
    m_textOptions.encoding = m_options.encoding;
    m_textOptions.bCrLf = m_options.bCrLf;

    int status = folder ? ReadFolderEncoding(*folder) : 0;
    if (status != 0)
        return status;
    m_codePage = OpenBookCodePage(m_options.nCodePage, "");
    if (!m_codePage)
        return m_options.bCodePageGiven ? Usage("pack") : 1;
    status = folder ? LoadUnpacked(*folder) : 0;
    for (const std::string& operand : ExpandWildcards(arguments.Operands())) {
        if (status == 0)
            status = AddOperand(operand);
    }
    if (status != 0)
        return status;
    if (const std::string* author = arguments.Value("-a"))
        m_strAuthor = OneLine(NameText(*author, "the author (-a)"));
    if (const std::string* title = arguments.Value("-t"))
        m_strTitle = OneLine(NameText(*title, "the title (-t)"));
    if ((status = CheckOutput()) != 0 || (status = ReadTexts()) != 0)
        return status;
    if (m_bLost && m_options.bStrict)
        return FailOn(m_strOut, "not written: characters would be lost or replaced (--strict)");
    if ((status = SplitInputs()) != 0)
        return status;
    return Write();
}

std::string CPack::NameText(const std::string& name, const std::string& where) {
    SConvertedText converted = ConvertName(*m_codePage, name);
    m_bLost = m_bLost || !converted.lost.empty();
    ReportLosses(where, std::move(converted.lost), m_options.bStrict);
    return converted.text;
}

std::string CPack::ConvertText(std::string bytes, const std::string& where) {
    SConvertedText converted = CTextConverter(*m_codePage, m_textOptions).Convert(bytes);
    if (!IsDecoded(converted.encoding))
        return bytes;  // already the book's bytes, or no text: taken as they are
    m_bLost = m_bLost || !converted.lost.empty();
    ReportLosses(where, std::move(converted.lost), m_options.bStrict);
    return std::move(converted.text);
}

std::string CPack::ChapterName(const Input& input) const {
    std::size_t index = static_cast<std::size_t>(&input - m_inputs.data()) + 1;
    std::string path = input.path == kStandardStream ? "standard input" : input.path;
    return path + " (chapter " + std::to_string(index) + ")";
}

int CPack::AddOperand(const std::string& operand) {
    if (operand == kStandardStream)
        return AddFile(operand, "stdin");
    FileStatus status = StatusOf(operand);
    if (status.kind == FileKind::kDirectory)
        return AddFolderTexts(operand);
    std::string where = operand + " (title of chapter " + std::to_string(m_inputs.size() + 1) + ")";
    return AddFile(operand, OneLine(NameText(TitleOfFile(operand), where)));
}

int CPack::AddFolderTexts(const std::string& folder) {
    std::vector<std::string> names;
    if (!ListFolder(folder, names))
        return FailOn(folder, ErrorText(errno));
    std::vector<std::string> texts;
    for (const std::string& name : names) {
        if (IsTextFileName(name))
            texts.push_back(name);
    }
    SortNaturally(texts);
    for (const std::string& name : texts) {
        std::string path = JoinPath(folder, name);
        if (StatusOf(path).kind != FileKind::kDirectory) {
            std::string where = path + " (title of chapter " + std::to_string(m_inputs.size() + 1) + ")";
            if (int status = AddFile(path, OneLine(NameText(TitleOfFile(name), where))))
                return status;
        }
    }
    return 0;
}

int CPack::AddFile(const std::string& path, const std::string& title) {
    Input input;
    input.path = path;
    input.title = title;
    if (path != kStandardStream) {
        input.status = StatusOf(path);
        if (input.status.kind == FileKind::kMissing)
            return FailOn(path, ErrorText(input.status.error));
        if (input.status.kind == FileKind::kDirectory)
            return FailOn(path, ErrorText(EISDIR));
    } else {
        for (const Input& other : m_inputs) {
            if (other.path == kStandardStream)
                return FailOn(path, "standard input can be read only once");
        }
    }
    m_inputs.push_back(std::move(input));
    return 0;
}

// The texts of a folder written by unpack are read in the encoding its marker records (the
// book's own bytes when it has none), line breaks as they are: the book comes back byte for byte.
// --encoding and --codepage, when given, say otherwise.
int CPack::ReadFolderEncoding(const std::string& folder) {
    std::string path = JoinPath(folder, kFolderEncodingName);
    if (StatusOf(path).kind != FileKind::kMissing) {
        std::string text, problem;
        if (int status = ReadWholeFile(path, text))
            return status;
        if (!ParseFolderEncoding(text, m_folder, problem))
            return FailOn(path, problem);
        m_textOptions.bCrLf = false;
        if (!m_options.bCodePageGiven)
            m_options.nCodePage = m_folder.nCodePage;
    }
    if (!m_options.bEncodingGiven)
        m_textOptions.encoding = m_folder.encoding;
    return 0;
}

int CPack::LoadUnpacked(const std::string& folder) {
    std::string contents;
    int status = 0;
    for (auto item : {std::make_pair("author", &m_strAuthor), std::make_pair("title", &m_strTitle),
                      std::make_pair("contents", &contents)}) {
        std::string path = JoinPath(folder, item.first);
        if (status == 0)
            status = ReadWholeFile(path, *item.second);
        if (status == 0 && m_folder.keptAsIs.count(item.first) == 0)
            *item.second = ConvertText(std::move(*item.second), path);
    }
    unsigned chapter = 0;
    for (std::string::size_type begin = 0; status == 0 && begin < contents.size(); ++chapter) {
        std::string::size_type end = contents.find('\n', begin);
        if (end == std::string::npos)
            end = contents.size();
        std::string name = std::to_string(chapter + 1) + ".txt";
        status = AddFile(JoinPath(folder, name), contents.substr(begin, end - begin));
        if (status == 0)
            m_inputs.back().bAsIs = m_folder.keptAsIs.count(name) != 0;
        begin = end + 1;
    }
    // A line break typed into the author or title file must not split the book's title member.
    m_strAuthor = OneLine(m_strAuthor);
    m_strTitle = OneLine(m_strTitle);
    return status;
}

int CPack::CheckOutput() {
    if (m_strOut == kStandardStream)
        return 0;
    m_strTarget = FinalTarget(m_strOut);
    FileStatus target = StatusOf(m_strTarget);
    if (target.kind == FileKind::kDirectory || target.kind == FileKind::kOther)
        return FailOn(m_strOut, "not a regular file (-o - writes to standard output)");
    for (const Input& input : m_inputs) {
        if (IsSameFile(target, input.status))
            return FailOn(m_strOut, "is also an input (" + input.path + "); nothing was written");
    }
    std::string::size_type separator = LastSeparator(m_strOut);
    std::string name = separator == std::string::npos ? m_strOut : m_strOut.substr(separator + 1);
    if (!IsValidKelvraFileName(name.c_str()))
        std::fprintf(stderr, "quire: warning: Invalid Kelvra file name \"%s\"\n", name.c_str());
    return 0;
}

// Each text's encoding is found out and its losses told before anything is written. Standard
// input, pipes and devices tell their size only by being read to the end.
int CPack::ReadTexts() {
    CTextConverter::Options asIs;
    asIs.encoding = ETextEncoding::Ansi;
    for (Input& input : m_inputs) {
        if (input.path != kStandardStream && input.status.kind == FileKind::kRegular) {
            CFileChapter* chapter = new CFileChapter(input.path, input.status.size);
            input.source.reset(chapter);
            std::vector<SLostCharacter> lost;
            if (!chapter->Examine(*m_codePage, input.bAsIs ? asIs : m_textOptions, lost))
                return 1;
            m_bLost = m_bLost || !lost.empty();
            ReportLosses(ChapterName(input), std::move(lost), m_options.bStrict);
            continue;
        }
        std::string text;
        try {
            if (input.path == kStandardStream) {
                UseBinaryMode(stdin);
                if (!ReadAll(stdin, text))
                    return FailOn("standard input", ErrorText(errno));
            } else if (int status = ReadWholeFile(input.path, text)) {
                return status;
            }
        } catch (const std::bad_alloc&) {
            return FailOn(input.path, "not enough memory to read it");
        }
        if (!input.bAsIs)
            text = ConvertText(std::move(text), ChapterName(input));
        input.source.reset(new CMemoryChapter(std::move(text)));
    }
    return 0;
}

// Each input becomes the chapters its split gives, in the order the input had.
int CPack::SplitInputs() {
    if (!m_bSplit)
        return 0;
    std::vector<Input> split;
    for (Input& input : m_inputs) {
        std::string text;
        try {
            text.resize(std::size_t(input.source->Length()));
            std::size_t done = 0;
            while (done < text.size()) {
                std::size_t count =
                    input.source->Read(reinterpret_cast<unsigned char*>(&text[done]), text.size() - done);
                if (count == 0)
                    return 1;  // the source has said why
                done += count;
            }
            if (!input.source->AtEnd())
                return 1;
        } catch (const std::bad_alloc&) {
            return FailOn(input.path, "not enough memory to read it");
        }
        SSplitResult result = m_splitter.Split(text, input.title);
        if (result.status == SSplitResult::EStatus::TooMuchWork)
            return FailOn(input.path, "the split expression needs too much work on this text; nothing was written");
        if (result.status == SSplitResult::EStatus::NoMatch) {
            input.source.reset(new CMemoryChapter(std::move(text)));
            split.push_back(std::move(input));
            continue;
        }
        for (const SChapterPiece& piece : result.pieces) {
            Input chapter;
            chapter.path = input.path;
            chapter.title = piece.title;
            chapter.source.reset(new CMemoryChapter(text.substr(piece.nBegin, piece.nEnd - piece.nBegin)));
            split.push_back(std::move(chapter));
        }
    }
    m_inputs.swap(split);
    return 0;
}

// Keeps the writer's last message, for the tool's own report of the failure.
class CLastMessage : public CMessageSink {
public:
    void Show(const char* text) override { m_strText = text; }
    const std::string& Text() const { return m_strText; }

private:
    std::string m_strText;
};

int CPack::Write() {
    std::unique_ptr<CStreamedBook> book(new CStreamedBook(m_strAuthor, m_strTitle));
    for (Input& input : m_inputs) {
        if (!book->AddChapter(input.title, *input.source))
            return FailOn(m_strOut, "cannot save: a book file holds at most 1895 chapters");
    }
    CStandardOutput standardOutput;
    CFileSystem& saved = CFileSystem::Active();
    bool toStandardOutput = m_strOut == kStandardStream;
    if (toStandardOutput)
        CFileSystem::SetActive(&standardOutput);
    CMessageSink& savedSink = CMessageSink::Active();
    CLastMessage lastMessage;
    CMessageSink::SetActive(&lastMessage);
    errno = 0;
    bool written = book->Write(toStandardOutput ? "" : m_strTarget.c_str());
    int error = errno;
    CMessageSink::SetActive(&savedSink);
    CFileSystem::SetActive(&saved);
    if (written)
        return 0;
    std::string why = !lastMessage.Text().empty() ? lastMessage.Text() : error ? ErrorText(error) : "not written";
    return FailOn(toStandardOutput ? "standard output" : m_strOut, "cannot save: " + why);
}

}  // namespace

int Pack(const std::vector<std::string>& args) {
    return CPack().Run(args);
}
