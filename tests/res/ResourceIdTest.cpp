// The identifiers of resource.h that share one name space must not collide, and the module
// holds exactly the resources the program loads.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "QuireVersion.h"
#include "resource.h"

namespace {

struct Named {
    const char* name;
    long value;
};
// clang-format off
#define ID(x) Named{#x, x}

void ExpectDistinct(const std::vector<Named>& ids) {
    std::map<long, const char*> seen;
    for (const Named& id : ids) {
        auto [it, inserted] = seen.emplace(id.value, id.name);
        EXPECT_TRUE(inserted) << id.name << " and " << it->second << " are both " << id.value;
    }
}

// Everything that reaches the main window as WM_COMMAND: its controls (including the status
// bar it creates), both menus, and IDOK/IDCANCEL, which the dialog manager sends for Enter and Escape.
TEST(ResourceIds, MainWindowCommandsAreDistinct) {
    ExpectDistinct({
        ID(IDOK), ID(IDCANCEL), ID(IDC_STATUS_BAR), ID(IDM_ABOUTBOX),

        ID(IDC_AUTHOR), ID(IDC_TITLE), ID(IDC_NEW_CHAPTER), ID(IDC_DELETE_CHAPTER), ID(IDC_RENAME_CHAPTER),
        ID(IDC_IMPORT_TEXT), ID(IDC_CONTENTS), ID(IDC_CHAPTERS_FRAME), ID(IDC_NEW_BOOK), ID(IDC_OPEN_BOOK),
        ID(IDC_HEADER_FRAME), ID(IDC_SAVE_BOOK), ID(IDC_MOVE_UP), ID(IDC_MOVE_DOWN), ID(IDC_SEND_BOOK),
        ID(IDC_CHAPTER_LABEL), ID(IDC_PASTE_TEXT), ID(IDC_EDITOR),

        ID(IDM_FILE_NEW), ID(IDM_FILE_OPEN), ID(IDM_FILE_SAVE), ID(IDM_FILE_SAVE_AS), ID(IDM_FILE_SAVE_SEND),
        ID(IDM_FILE_EXIT), ID(IDM_NEW_CHAPTER), ID(IDM_RENAME_CHAPTER), ID(IDM_DELETE_CHAPTER), ID(IDM_MOVE_UP),
        ID(IDM_MOVE_DOWN), ID(IDM_IMPORT_TEXT), ID(IDM_PASTE_TEXT), ID(IDM_EDIT_CUT), ID(IDM_EDIT_COPY),
        ID(IDM_EDIT_PASTE), ID(IDM_EDIT_DELETE), ID(IDM_EDIT_SELECT_ALL), ID(IDM_HELP), ID(IDM_ABOUT),
        ID(IDM_ADD_CHAPTERS), ID(IDM_MERGE_NEXT), ID(IDM_SPLIT_AT_CURSOR), ID(IDM_SPLIT_INTO_CHAPTERS),

        ID(IDM_EDITOR_UNDO), ID(IDM_EDITOR_CUT), ID(IDM_EDITOR_COPY), ID(IDM_EDITOR_PASTE),
        ID(IDM_EDITOR_DELETE), ID(IDM_EDITOR_SELECT_ALL),
    });
}

TEST(ResourceIds, SmallDialogsAreDistinct) {
    ExpectDistinct({ID(IDOK), ID(IDC_LINK), ID(IDC_STATIC)});
    ExpectDistinct({ID(IDOK), ID(IDCANCEL), ID(IDC_CHAPTER_TITLE_BOX)});
    ExpectDistinct({ID(IDOK), ID(IDCANCEL), ID(IDC_LOSS_ICON), ID(IDC_LOSS_LIST)});
    ExpectDistinct({ID(IDCANCEL), ID(IDC_PROGRESS_TEXT), ID(IDC_PROGRESS_BAR)});
    ExpectDistinct({ID(IDOK), ID(IDCANCEL), ID(IDC_STATIC), ID(IDC_SPLIT_RULE), ID(IDC_SPLIT_BLANK_LINES),
                    ID(IDC_SPLIT_EXPRESSION), ID(IDC_SPLIT_KEEP_LINES), ID(IDC_SPLIT_STATUS), ID(IDC_SPLIT_PREVIEW)});
}

TEST(ResourceIds, ResourcesOfOneTypeAreDistinct) {
    ExpectDistinct({ID(IDD_ABOUTBOX), ID(IDD_QUIREBINDER_DIALOG), ID(IDD_CHAPTER_TITLE), ID(IDD_TEXT_LOSS),
                    ID(IDD_SPLIT_CHAPTER)});
    ExpectDistinct({ID(IDR_MAINMENU), ID(IDR_EDITOR_MENU)});
    ExpectDistinct({
        ID(IDI_QUIREBINDER), ID(IDI_DELETE_CHAPTER), ID(IDI_RENAME_CHAPTER), ID(IDI_NEW_CHAPTER),
        ID(IDI_IMPORT_TEXT), ID(IDI_MOVE_DOWN), ID(IDI_MOVE_UP), ID(IDI_PASTE_TEXT), ID(IDI_SAVE_BOOK),
        ID(IDI_OPEN_BOOK), ID(IDI_NEW_BOOK), ID(IDI_SEND_BOOK),
    });
    ExpectDistinct({
        ID(IDS_ABOUTBOX), ID(IDS_TIP_NEW_CHAPTER), ID(IDS_TIP_DELETE_CHAPTER), ID(IDS_TIP_RENAME_CHAPTER),
        ID(IDS_TIP_IMPORT_TEXT), ID(IDS_TIP_MOVE_UP), ID(IDS_TIP_MOVE_DOWN), ID(IDS_TIP_PASTE_TEXT),
        ID(IDS_TIP_NEW_BOOK), ID(IDS_TIP_OPEN_BOOK), ID(IDS_TIP_SAVE_BOOK), ID(IDS_REGISTRY_KEY),
        ID(IDS_TIP_SEND_BOOK),
    });
}
// The designed numbers, pinned here once: other programs, the resource script and the saved
// settings know them by number, so a renamed or renumbered id must fail here. The other tests use
// the names.
TEST(ResourceIds, DesignedNumbers) {
    const std::vector<std::pair<Named, long>> kPinned = {
        {ID(IDD_ABOUTBOX), 100}, {ID(IDD_QUIREBINDER_DIALOG), 102}, {ID(IDD_CHAPTER_TITLE), 139},
        {ID(IDR_MAINMENU), 129}, {ID(IDR_EDITOR_MENU), 158}, {ID(IDR_ACCELERATORS), 150},

        {ID(IDC_AUTHOR), 1000}, {ID(IDC_TITLE), 1001}, {ID(IDC_NEW_CHAPTER), 1004}, {ID(IDC_DELETE_CHAPTER), 1005},
        {ID(IDC_RENAME_CHAPTER), 1006}, {ID(IDC_IMPORT_TEXT), 1009}, {ID(IDC_CONTENTS), 1010},
        {ID(IDC_CHAPTERS_FRAME), 1012}, {ID(IDC_NEW_BOOK), 1013}, {ID(IDC_OPEN_BOOK), 1014},
        {ID(IDC_HEADER_FRAME), 1015}, {ID(IDC_SAVE_BOOK), 1016}, {ID(IDC_MOVE_UP), 1017}, {ID(IDC_MOVE_DOWN), 1018},
        {ID(IDC_SEND_BOOK), 1019}, {ID(IDC_CHAPTER_LABEL), 1023}, {ID(IDC_PASTE_TEXT), 1024}, {ID(IDC_EDITOR), 1032},
        {ID(IDC_STATUS_BAR), 101}, {ID(IDC_LINK), 1016}, {ID(IDC_CHAPTER_TITLE_BOX), 1000},

        {ID(IDM_FILE_NEW), 57600}, {ID(IDM_FILE_OPEN), 57601}, {ID(IDM_FILE_SAVE), 57603},
        {ID(IDM_FILE_SAVE_AS), 32789}, {ID(IDM_FILE_SAVE_SEND), 32797}, {ID(IDM_FILE_EXIT), 32771},
        {ID(IDM_NEW_CHAPTER), 32792}, {ID(IDM_RENAME_CHAPTER), 32793}, {ID(IDM_DELETE_CHAPTER), 32798},
        {ID(IDM_MOVE_UP), 32794}, {ID(IDM_MOVE_DOWN), 32795}, {ID(IDM_IMPORT_TEXT), 32790},
        {ID(IDM_PASTE_TEXT), 32791}, {ID(IDM_EDIT_CUT), 57635}, {ID(IDM_EDIT_COPY), 57634},
        {ID(IDM_EDIT_PASTE), 57637}, {ID(IDM_EDIT_DELETE), 32786}, {ID(IDM_EDIT_SELECT_ALL), 57642},
        {ID(IDM_HELP), 57670}, {ID(IDM_ABOUT), 32788}, {ID(IDM_EDITOR_UNDO), 32811}, {ID(IDM_EDITOR_CUT), 32807},
        {ID(IDM_EDITOR_COPY), 32808}, {ID(IDM_EDITOR_PASTE), 32809}, {ID(IDM_EDITOR_DELETE), 32810},
        {ID(IDM_EDITOR_SELECT_ALL), 32806}, {ID(IDM_ABOUTBOX), 16},

        {ID(IDI_QUIREBINDER), 128}, {ID(IDI_DELETE_CHAPTER), 140}, {ID(IDI_RENAME_CHAPTER), 141},
        {ID(IDI_NEW_CHAPTER), 142}, {ID(IDI_IMPORT_TEXT), 143}, {ID(IDI_MOVE_DOWN), 144}, {ID(IDI_MOVE_UP), 145},
        {ID(IDI_PASTE_TEXT), 146}, {ID(IDI_SAVE_BOOK), 147}, {ID(IDI_OPEN_BOOK), 148}, {ID(IDI_NEW_BOOK), 149},
        {ID(IDI_SEND_BOOK), 155},

        {ID(IDS_ABOUTBOX), 101}, {ID(IDS_TIP_NEW_CHAPTER), 102}, {ID(IDS_TIP_DELETE_CHAPTER), 103},
        {ID(IDS_TIP_RENAME_CHAPTER), 104}, {ID(IDS_TIP_IMPORT_TEXT), 105}, {ID(IDS_TIP_MOVE_UP), 106},
        {ID(IDS_TIP_MOVE_DOWN), 107}, {ID(IDS_TIP_PASTE_TEXT), 108}, {ID(IDS_TIP_NEW_BOOK), 109},
        {ID(IDS_TIP_OPEN_BOOK), 110}, {ID(IDS_TIP_SAVE_BOOK), 111}, {ID(IDS_REGISTRY_KEY), 32448},
        {ID(IDS_TIP_SEND_BOOK), 32450},
    };
    for (const auto& [id, number] : kPinned)
        EXPECT_EQ(id.value, number) << id.name;
    // A system-menu command needs its low four bits clear and must stay below the system's own.
    EXPECT_EQ(IDM_ABOUTBOX & 0xF, 0);
}
// clang-format on

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<UINT>*>(found)->insert(static_cast<UINT>(reinterpret_cast<UINT_PTR>(name)));
    return TRUE;
}

std::set<UINT> Names(WORD type) {
    std::set<UINT> names;
    EnumResourceNamesA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(type), CollectName,
                       reinterpret_cast<LONG_PTR>(&names));
    return names;
}

TEST(ResourceInventory, ExactlyTheProgramsResources) {
    EXPECT_EQ(Names(5 /* RT_DIALOG */),
              (std::set<UINT>{IDD_ABOUTBOX, IDD_QUIREBINDER_DIALOG, IDD_CHAPTER_TITLE, IDD_TEXT_LOSS,
                              IDD_SPLIT_CHAPTER}));
    EXPECT_EQ(Names(4 /* RT_MENU */), (std::set<UINT>{IDR_MAINMENU, IDR_EDITOR_MENU}));
    EXPECT_EQ(Names(9 /* RT_ACCELERATOR */), (std::set<UINT>{IDR_ACCELERATORS, IDR_ADDED_ACCELERATORS}));
    EXPECT_EQ(Names(14 /* RT_GROUP_ICON */),
              (std::set<UINT>{IDI_QUIREBINDER, IDI_DELETE_CHAPTER, IDI_RENAME_CHAPTER, IDI_NEW_CHAPTER,
                              IDI_IMPORT_TEXT, IDI_MOVE_DOWN, IDI_MOVE_UP, IDI_PASTE_TEXT, IDI_SAVE_BOOK,
                              IDI_OPEN_BOOK, IDI_NEW_BOOK, IDI_SEND_BOOK}));
}

std::string VersionValue(const std::vector<char>& block, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "";
    return value;
}

TEST(ResourceInventory, VersionInformation) {
    char path[MAX_PATH];
    ASSERT_NE(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path, &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()));
    EXPECT_EQ(VersionValue(block, "ProductName"), "Kelvra Quire Binder");
    // One version everywhere: the strings and the numbers come from the build's version.
    EXPECT_EQ(VersionValue(block, "ProductVersion"), "1.0");
    EXPECT_EQ(VersionValue(block, "ProductVersion"), QB_VERSION_STRING);
    EXPECT_EQ(VersionValue(block, "FileVersion"), QB_VERSION_STRING);
    EXPECT_FALSE(VersionValue(block, "CompanyName").empty());

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(QB_VERSION_MINOR, QB_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
}

}  // namespace
