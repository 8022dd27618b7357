// The string table and the icons as the program loads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "resource.h"

namespace {

HMODULE Module() {
    return GetModuleHandleA(nullptr);
}

const std::map<UINT, std::string> kStrings{
    {101, "&About..."},
    {102, "Add New Chapter"},
    {103, "Delete Chapter"},
    {104, "Rename Chapter"},
    {105, "Add Text from File..."},
    {106, "Move Chapter Up"},
    {107, "Move Chapter Down"},
    {108, "Paste Text from Clipboard"},
    {109, "Create New Book (Ctrl+N)"},
    {110, "Open Book (Ctrl+O)"},
    {111, "Save Book (Ctrl+S)"},
    {32448, "Kelvra"},
    {32450, "Save and Send to Kelvra computer"},
};

std::string LoadText(UINT id) {
    char buffer[512] = "";
    LoadStringA(Module(), id, buffer, sizeof buffer);
    return buffer;
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<UINT>*>(found)->insert(static_cast<UINT>(reinterpret_cast<UINT_PTR>(name)));
    return TRUE;
}

TEST(StringTable, EveryString) {
    for (const auto& [id, text] : kStrings)
        EXPECT_EQ(LoadText(id), text) << "string " << id;
}

// Nothing else is in the table: message boxes must take their caption from the executable's
// name, which an application-title string would override, and unknown tooltip ids (0) load empty.
TEST(StringTable, HoldsNothingElse) {
    std::set<UINT> blocks;
    EnumResourceNamesA(Module(), MAKEINTRESOURCEA(6) /* RT_STRING */, CollectName,
                       reinterpret_cast<LONG_PTR>(&blocks));
    std::set<UINT> present;
    for (UINT block : blocks)
        for (UINT id = (block - 1) * 16; id < block * 16; ++id)
            if (!LoadText(id).empty())
                present.insert(id);
    std::set<UINT> expected;
    for (const auto& entry : kStrings)
        expected.insert(entry.first);
    EXPECT_EQ(present, expected);
    EXPECT_EQ(LoadText(0), "");
}

struct IconImage {
    int width;
    int height;
    int bitsPerPixel;
};

// The icon directory as compiled: one entry per image.
std::vector<IconImage> IconImages(UINT id) {
    std::vector<IconImage> images;
    HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    if (!found)
        return images;
    const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(Module(), found)));
    const DWORD size = SizeofResource(Module(), found);
    const WORD count = static_cast<WORD>(dir[4] | dir[5] << 8);
    // Header of 6 bytes, then 14-byte entries: width, height, colours, reserved, planes, bit count, ...
    for (WORD i = 0; i < count && 6u + 14u * (i + 1u) <= size; ++i) {
        const BYTE* entry = dir + 6 + 14 * i;
        images.push_back({entry[0] ? entry[0] : 256, entry[1] ? entry[1] : 256, entry[6] | entry[7] << 8});
    }
    return images;
}

// Reads a 1-bit-per-pixel AND mask bit; 1 lets the background through.
bool Transparent(HBITMAP mask, int size, int x, int y) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = size;
    info.header.biHeight = -size;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    std::vector<BYTE> bits(size * 4);  // rows padded to 32 bits, at most 32 pixels wide
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, mask, 0, size, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bits[y * 4 + x / 8] & (0x80 >> (x % 8));
}

struct IconSpec {
    UINT id;
    int bitsPerPixel;
};

class ButtonIcon : public testing::TestWithParam<IconSpec> {};

TEST_P(ButtonIcon, OneSixteenPixelImage) {
    const IconSpec spec = GetParam();
    std::vector<IconImage> images = IconImages(spec.id);
    ASSERT_EQ(images.size(), 1u) << "icon " << spec.id;
    EXPECT_EQ(images[0].width, 16);
    EXPECT_EQ(images[0].height, 16);
    EXPECT_EQ(images[0].bitsPerPixel, spec.bitsPerPixel);
}

// The image button loads at the image's own size and derives its icon size from the hot spot.
TEST_P(ButtonIcon, LoadsAsTheButtonLoadsIt) {
    const IconSpec spec = GetParam();
    HICON icon = static_cast<HICON>(
        LoadImageA(Module(), MAKEINTRESOURCEA(spec.id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr) << "icon " << spec.id;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_EQ(info.xHotspot * 2, 16u);
    EXPECT_EQ(info.yHotspot * 2, 16u);
    // Transparent background, picture in the middle.
    EXPECT_TRUE(Transparent(info.hbmMask, 16, 0, 0));
    EXPECT_FALSE(Transparent(info.hbmMask, 16, 8, 8));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    DestroyIcon(icon);
}

INSTANTIATE_TEST_SUITE_P(Resources,
                         ButtonIcon,
                         testing::Values(IconSpec{140, 8},
                                         IconSpec{141, 8},
                                         IconSpec{142, 8},
                                         IconSpec{143, 8},
                                         IconSpec{144, 8},
                                         IconSpec{145, 8},
                                         IconSpec{146, 8},
                                         IconSpec{147, 8},
                                         IconSpec{148, 8},
                                         IconSpec{149, 8},
                                         IconSpec{155, 4}),
                         [](const testing::TestParamInfo<IconSpec>& param) {
                             return "Icon" + std::to_string(param.param.id);
                         });

TEST(ProgramIcon, LargeAndSmallImages) {
    std::vector<IconImage> images = IconImages(IDI_QUIREBINDER);
    ASSERT_EQ(images.size(), 2u);
    std::set<int> sizes;
    for (const IconImage& image : images) {
        EXPECT_EQ(image.width, image.height);
        EXPECT_EQ(image.bitsPerPixel, 8);
        sizes.insert(image.width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));

    for (int size : {32, 16}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(Module(), MAKEINTRESOURCEA(IDI_QUIREBINDER), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_EQ(static_cast<int>(info.xHotspot) * 2, size);
        EXPECT_TRUE(Transparent(info.hbmMask, size, 0, 0)) << size;
        EXPECT_FALSE(Transparent(info.hbmMask, size, size / 2, size / 2)) << size;
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        DestroyIcon(icon);
    }
}

}  // namespace
