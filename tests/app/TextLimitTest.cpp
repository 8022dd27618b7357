// The chapter editor's limit, as the program enforces it for every way text gets in: an import or
// a paste takes only what fits at the caret, counting the selection it replaces, and says so.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ModalAnswerer.h"
#include "RtfSamples.h"
#include "TestMainDlg.h"
#include "WindowRunner.h"

namespace {

constexpr size_t kLimit = 0x100000;

// Lines of 75 bytes with their CR LF; the limit falls just before the LF of one. Short lines: a
// long paragraph would test the editor's display, not the limit.
const std::string kLine = std::string(73, 'x') + "\r\n";

std::string Lines(size_t nBytes) {
    std::string text;
    text.reserve(nBytes + kLine.size());
    while (text.size() < nBytes)
        text += kLine;
    text.resize(nBytes);
    return text;
}

// The same lines as RTF paragraphs.
std::string RtfLines(const std::string& text) {
    std::string rtf = "{\\rtf1\\ansi ";
    for (size_t i = 0; i < text.size() / kLine.size(); ++i)
        rtf += kLine.substr(0, kLine.size() - 2) + "\\par\n";
    return rtf + "}";
}

using Answers = std::vector<ModalAnswerer::Expectation>;

// Offers the text one way; `then` are the windows that follow.
using Put = std::function<void(CTestMainDlg&, ModalAnswerer&, const std::string&, Answers then)>;

struct WayIn {
    const char* name;
    size_t nBytes;  // how much text is offered
    Put put;
};

Put Import(const char* file, std::string (*encode)(const std::string&)) {
    return [=](CTestMainDlg& w, ModalAnswerer& answerer, const std::string& text, Answers then) {
        ImportFile(w, answerer, WriteTempFile(file, encode(text)), std::move(then));
    };
}

Put Paste(std::function<void(CTestMainDlg&)> how) {
    return [=](CTestMainDlg& w, ModalAnswerer& answerer, const std::string& text, Answers then) {
        SetClipboard(w.m_hWnd, {{CF_TEXT, text}});
        for (ModalAnswerer::Expectation& expectation : then)
            answerer.Expect(std::move(expectation));
        how(w);
    };
}

std::string Plain(const std::string& text) {
    return text;
}

// The editor holds "[xyz]" with "xyz" selected: 1,048,574 characters fit. Lines cut there would
// end in half a line break, so 1,048,573 arrive.
TEST(TextLimit, EveryWayInTakesOnlyWhatFitsAndSaysSo) {
    const WayIn ways[] = {
        {"txt import of 20 MB", 20u << 20, Import("huge.txt", &Plain)},
        {"rtf import", 1100000, Import("huge.rtf", &RtfLines)},
        {"Ctrl+V of 8 MB", 8u << 20,
         Paste([](CTestMainDlg& w) { WindowRunner::PressKey(w.Editor(), 'V', true); })},
        {"Shift+Insert", 2u << 20,
         Paste([](CTestMainDlg& w) { WindowRunner::PressKey(w.Editor(), VK_INSERT, false, true); })},
        {"Edit > Paste", 2u << 20, Paste([](CTestMainDlg& w) { w.Menu(IDM_EDIT_PASTE); })},
        {"right-click Paste", 2u << 20, Paste([](CTestMainDlg& w) { w.Menu(IDM_EDITOR_PASTE); })},
        {"Paste Text from Clipboard", 2u << 20, Paste([](CTestMainDlg& w) { w.Click(IDC_PASTE_TEXT); })},
        {"a paste that just fits", kLimit - 2, Paste([](CTestMainDlg& w) { w.Click(IDC_PASTE_TEXT); })},
    };
    // A window of its own for each: taking 1 MB back out of Wine's editor takes minutes.
    for (const WayIn& way : ways) {
        SCOPED_TRACE(way.name);
        CTestMainDlg dlg;
        WindowRunner::Run(dlg, [&](CTestMainDlg&) {
            dlg.AddChapter("One");
            dlg.Type(IDC_EDITOR, "[xyz]");
            ::SendMessageA(dlg.Editor(), EM_SETSEL, 1, 4);
            std::string text = Lines(way.nBytes);
            size_t nFits = way.nBytes > kLimit - 2 ? kLimit - 3 : way.nBytes;
            ModalAnswerer answerer(60000);
            Answers then;
            if (nFits < way.nBytes)
                then.push_back(ModalAnswerer::Press("Kelvra Quire Binder", IDOK)
                                   .WithText("Only the first 1048573 characters fit into a chapter."));
            way.put(dlg, answerer, text, std::move(then));
            ModalAnswerer::PumpPending();
            EXPECT_TRUE(answerer.AllAnswered());
            std::string shown = dlg.Text(IDC_EDITOR);
            ASSERT_EQ(shown.size(), nFits + 2);
            EXPECT_TRUE(shown == "[" + text.substr(0, nFits) + "]");
            SetClipboard(dlg.m_hWnd, {});
        });
    }
}

// Every RTF file that took the decoding control down is refused before the control sees it, and
// the chapter stays as it was; a file at all the limits at once decodes.
TEST(TextLimit, HostileRtfIsRefusedAndWhatPassesDecodes) {
    CTestMainDlg dlg;
    WindowRunner::Run(dlg, [&](CTestMainDlg&) {
        dlg.AddChapter("One");
        dlg.Type(IDC_EDITOR, "kept");
        ModalAnswerer answerer(120000);
        for (const RtfSamples::Hostile& file : RtfSamples::HostileFiles()) {
            SCOPED_TRACE(file.name);
            ImportFile(dlg, answerer, WriteTempFile("hostile.rtf", file.rtf),
                       {ModalAnswerer::Press("Error!", IDOK)
                            .WithText(std::string("This RTF file cannot be imported: ") + file.reason + ".")});
            EXPECT_TRUE(answerer.AllAnswered());
            EXPECT_EQ(dlg.Text(IDC_EDITOR), "kept");
            EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, 1), nullptr);
        }
        ImportFile(dlg, answerer, WriteTempFile("limits.rtf", RtfSamples::AtTheLimits()));
        EXPECT_TRUE(answerer.AllAnswered());
        std::string shown = dlg.Text(IDC_EDITOR);
        EXPECT_EQ(shown.substr(0, 8), "keptdeep");
        EXPECT_NE(shown.find("p\r\np\r\np"), std::string::npos);
    });
}

}  // namespace
