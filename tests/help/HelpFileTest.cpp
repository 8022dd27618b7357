// The built help file, read through the HTML Help storage (itss) that the viewer itself uses:
// its contents tree names every topic, each topic is in the file, and the index points only at
// topics that are there.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <utility>
#include <vector>

// The storage interface of itss.dll; only the slots up to StgOpenStorage are used. Declared outside
// the anonymous namespace: there the compiler would see that nothing implements it and drop the calls.
struct IITStorage : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) = 0;
};

namespace {

const CLSID kClsidITStorage = {0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID kIidITStorage = {0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

using Topic = std::pair<std::string, std::string>;  // name in the contents tree, page

const std::vector<Topic> kTopics{
    {"Getting started", "getting_started.htm"},
    {"Chapters", "chapters.htm"},
    {"Editing and the clipboard", "editing.htm"},
    {"Importing text", "importing.htm"},
    {"Saving and the device's file-name rule", "saving.htm"},
    {"Sending to the handheld", "sending.htm"},
    {"Keyboard shortcuts", "shortcuts.htm"},
    {"The .book file", "book_file.htm"},
};

std::wstring HelpFilePath() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring result(path, length);
    return result.substr(0, result.rfind(L'\\')) + L"\\QuireBinder.chm";
}

class HelpFile : public testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override {
        IITStorage* factory = nullptr;
        ASSERT_EQ(CoCreateInstance(kClsidITStorage, nullptr, CLSCTX_INPROC_SERVER, kIidITStorage,
                                   reinterpret_cast<void**>(&factory)),
                  S_OK);
        HRESULT opened = factory->StgOpenStorage(HelpFilePath().c_str(), nullptr,
                                                 STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &storage_);
        factory->Release();
        ASSERT_EQ(opened, S_OK) << "cannot open the help file";
    }
    void TearDown() override {
        if (storage_)
            storage_->Release();
    }

    // The whole of one file inside the help file; false when it is not there.
    bool Read(const std::string& name, std::string& data) {
        IStream* stream = nullptr;
        const std::wstring wide(name.begin(), name.end());
        if (storage_->OpenStream(wide.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream) != S_OK)
            return false;
        data.clear();
        char buffer[4096];
        ULONG got = 0;
        while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &got)) && got > 0)
            data.append(buffer, got);
        stream->Release();
        return true;
    }

    // Name and page of each entry of a contents or index file, in order.
    static std::vector<Topic> Entries(const std::string& sitemap) {
        static const std::regex entry(
            "<param name=\"Name\" value=\"([^\"]*)\">\\s*<param name=\"Local\" value=\"([^\"]*)\">",
            std::regex::icase);
        std::vector<Topic> entries;
        for (std::sregex_iterator it(sitemap.begin(), sitemap.end(), entry), end; it != end; ++it)
            entries.emplace_back((*it)[1], (*it)[2]);
        return entries;
    }

    IStorage* storage_ = nullptr;
};

TEST_F(HelpFile, IsNotEmpty) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    ASSERT_TRUE(GetFileAttributesExW(HelpFilePath().c_str(), GetFileExInfoStandard, &attributes));
    EXPECT_GT(attributes.nFileSizeLow, 0u);
}

TEST_F(HelpFile, ContentsNameEveryTopicAndEachPageIsThere) {
    std::string contents;
    ASSERT_TRUE(Read("contents.hhc", contents));
    EXPECT_EQ(Entries(contents), kTopics);
    for (const auto& [name, page] : kTopics) {
        std::string html;
        ASSERT_TRUE(Read(page, html)) << page << " is missing";
        EXPECT_NE(html.find("<title>" + name + "</title>"), std::string::npos) << page;
    }
}

TEST_F(HelpFile, IndexPointsAtTopics) {
    std::string index;
    ASSERT_TRUE(Read("index.hhk", index));
    std::vector<Topic> entries = Entries(index);
    EXPECT_GE(entries.size(), kTopics.size());
    std::string ignored;
    for (const auto& [keyword, page] : entries)
        EXPECT_TRUE(Read(page, ignored)) << "index entry \"" << keyword << "\" points at missing " << page;
}

// The viewer's window is titled from the project and opens on the first topic.
TEST_F(HelpFile, TitleAndDefaultTopic) {
    std::string system;
    ASSERT_TRUE(Read("#SYSTEM", system));
    EXPECT_NE(system.find("Kelvra Quire Binder Help"), std::string::npos);
    EXPECT_NE(system.find("getting_started.htm"), std::string::npos);
}

}  // namespace
