// Reads the resources back from the compiled Install.exe (QZ_INSTALL_EXE) and
// compares them field by field with what the program and its pages rely on:
// the dialog templates, the icon, the bitmaps, the string table, the version
// block and the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "support/res_dialog_parser.h"
#include "support/res_module.h"

namespace qz::test {
namespace {

// Resource types by number (the RT_ names of the headers are narrow strings here).
enum : WORD {
    kRtBitmap = 2,
    kRtIcon = 3,
    kRtDialog = 5,
    kRtString = 6,
    kRtGroupIcon = 14,
    kRtVersion = 16,
    kRtManifest = 24,
};

constexpr WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
static_assert(kChinesePrc == 2052, "resources are Chinese (PRC)");

// The one copyright line: the About box shows it, the version block carries it.
const char16_t kCopyrightLine[] = u"版权所有 (C) 2026 塔恩维尔软件";

// gtest prints UTF-16 poorly; messages show non-ASCII code units as \xXXXX.
std::string Show(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%04X", static_cast<unsigned>(c));
            out += buf;
        }
    }
    return out;
}

std::u16string U16(const wchar_t* s, std::size_t n) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16");
    return std::u16string(reinterpret_cast<const char16_t*>(s), n);
}

bool EqualNoCase(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i] >= u'A' && a[i] <= u'Z' ? char16_t(a[i] + 32) : a[i];
        char16_t y = b[i] >= u'A' && b[i] <= u'Z' ? char16_t(b[i] + 32) : b[i];
        if (x != y) {
            return false;
        }
    }
    return true;
}

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(Le16(p)) | static_cast<std::uint32_t>(Le16(p + 2)) << 16;
}

// Bytes of one row of a DIB: padded to a multiple of four.
std::size_t Stride(std::size_t width, std::size_t bits) {
    return (width * bits + 31) / 32 * 4;
}

// Install.exe loaded as data once for all resource tests.
class ResourcesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        path_ = InstallExePath();
        module_ = DataModule(path_);
    }
    static void TearDownTestSuite() { module_ = DataModule(); }
    void SetUp() override {
        ASSERT_FALSE(path_.empty())
            << "QZ_INSTALL_EXE is not set: ctest sets it to the Install.exe of this build";
        ASSERT_NE(module_.get(), nullptr)
            << "cannot load Install.exe as data, error " << module_.load_error();
    }

    static HMODULE module() { return module_.get(); }
    static const std::wstring& path() { return path_; }
    static ResBytes Resource(WORD type, WORD id) {
        return FindResourceBytes(module(), type, id, kChinesePrc);
    }

  private:
    static inline std::wstring path_;
    static inline DataModule module_;
};

// A resource as the enumeration names it: numbers are written "#n".
std::pair<std::wstring, std::wstring> Key(WORD type, WORD id) {
    return {L"#" + std::to_wstring(type), L"#" + std::to_wstring(id)};
}

TEST_F(ResourcesTest, HoldsExactlyTheProgramsResourcesAllInChinesePrc) {
    std::set<std::pair<std::wstring, std::wstring>> expected = {
        Key(kRtGroupIcon, IDR_MAINFRAME),
        Key(kRtBitmap, IDB_LINE),
        Key(kRtBitmap, IDB_BANNER),
        Key(kRtDialog, IDD_ABOUTBOX),
        Key(kRtDialog, IDD_INSTALL_DIALOG),
        Key(kRtDialog, IDD_LICENSE),
        Key(kRtDialog, IDD_PATH),
        Key(kRtDialog, IDD_PROGRESS),
        Key(kRtDialog, IDD_FINISH),
        Key(kRtString, IDS_ABOUTBOX / 16 + 1),  // the block of strings 96-111
        Key(kRtVersion, 1),
        Key(kRtManifest, 1),
    };
    for (WORD image = 1; image <= 7; ++image) {
        expected.insert(Key(kRtIcon, image));
    }
    std::set<std::pair<std::wstring, std::wstring>> found;
    std::vector<ResEntry> entries = ListResources(module());
    for (const ResEntry& e : entries) {
        EXPECT_EQ(e.lang, kChinesePrc) << "type " << std::string(e.type.begin(), e.type.end())
                                       << " name " << std::string(e.name.begin(), e.name.end());
        found.insert({e.type, e.name});
    }
    EXPECT_EQ(entries.size(), found.size()) << "a resource exists in more than one language";
    EXPECT_EQ(found, expected);
}

// ---- Dialog templates ------------------------------------------------------

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kPageStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT;

struct ExpectedItem {
    std::int32_t id;
    const char16_t* window_class;
    const char16_t* text;  // nullptr: the title is the image resource below
    WORD image;
    std::int16_t x, y, cx, cy;
    DWORD style;
    DWORD ex_style;
};

struct ExpectedDialog {
    WORD id;
    bool extended;
    DWORD style;
    DWORD ex_style;
    std::int16_t cx, cy;
    const char16_t* caption;
    std::vector<ExpectedItem> items;
};

ExpectedItem Banner() {
    return {-1,
            u"Static",
            nullptr,
            IDB_BANNER,
            0,
            0,
            321,
            55,
            kChild | SS_BITMAP | SS_REALSIZEIMAGE,
            WS_EX_STATICEDGE};
}
ExpectedItem Line(std::int16_t y) {
    return {-1, u"Static", nullptr, IDB_LINE, 6, y, 307, 1, kChild | SS_BITMAP, 0};
}
ExpectedItem Text(std::int32_t id, const char16_t* text, std::int16_t x, std::int16_t y,
                  std::int16_t cx, std::int16_t cy) {
    return {id, u"Static", text, 0, x, y, cx, cy, kChild | SS_LEFT | WS_GROUP, 0};
}
ExpectedItem Button(std::int32_t id, const char16_t* text, std::int16_t x, std::int16_t y,
                    std::int16_t cx, std::int16_t cy, DWORD style) {
    return {id, u"Button", text, 0, x, y, cx, cy, kChild | style, 0};
}

const std::vector<ExpectedDialog>& Dialogs() {
    static const std::vector<ExpectedDialog> dialogs = {
        {IDD_ABOUTBOX,
         false,
         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
         0,
         235,
         55,
         u"关于 Install",
         {
             // The icon keeps its size in the template (11, 17, 20, 20).
             {-1, u"Static", nullptr, IDR_MAINFRAME, 11, 17, 20, 20, kChild | SS_ICON, 0},
             {-1, u"Static", u"Install 1.0 版", 0, 40, 10, 119, 8,
              kChild | SS_LEFT | SS_NOPREFIX | WS_GROUP, 0},
             Text(-1, kCopyrightLine, 40, 25, 119, 8),
             Button(IDOK, u"确定", 178, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP),
         }},
        {IDD_INSTALL_DIALOG,
         true,
         WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME |
             DS_SETFONT,
         WS_EX_APPWINDOW,
         230,
         163,
         u"安装 Qorvane",
         {
             Text(-1, u"安装 Qorvane", 21, 15, 69, 9),
             Button(IDC_INSTALL, u"安装", 80, 65, 62, 18, BS_DEFPUSHBUTTON | WS_TABSTOP),
         }},
        {IDD_LICENSE,
         true,
         kPageStyle,
         0,
         321,
         223,
         u"安装 Qorvane",
         {
             Button(IDOK, u"下一步->(&S)", 258, 199, 50, 14,
                    BS_DEFPUSHBUTTON | WS_TABSTOP | WS_DISABLED),
             Button(IDCANCEL, u"退出安装(&C)", 199, 199, 50, 14, BS_PUSHBUTTON | WS_TABSTOP),
             Banner(),
             {IDC_LICENSE_TEXT, u"Edit", u"", 0, 7, 76, 306, 114,
              kChild | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 0},
             Button(IDC_AGREE, u"同意协议", 18, 202, 100, 9, BS_AUTOCHECKBOX | WS_TABSTOP),
             Line(194),
             Text(-1, u"在安装 Qorvane 前，请仔细阅读用户许可协议。", 7, 61, 306, 10),
         }},
        {IDD_PATH,
         true,
         kPageStyle,
         0,
         321,
         223,
         u"安装 Qorvane",
         {
             Button(IDOK, u"安装(&S)", 256, 202, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
             Banner(),
             Line(196),
             Button(-1, u"请选择安装目录", 8, 87, 298, 58, BS_GROUPBOX),
             {IDC_INSTALL_PATH, u"Edit", u"", 0, 15, 107, 214, 15,
              kChild | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
             Button(IDC_BROWSE, u"浏览(&B)...", 240, 107, 61, 15, BS_PUSHBUTTON | WS_TABSTOP),
             Button(IDCANCEL, u"取消", 189, 202, 50, 14, BS_PUSHBUTTON | WS_TABSTOP),
             // Hidden: WS_CHILD without WS_VISIBLE.
             {IDC_SPACE_INFO, u"Static", u"所需空间:20M\n\n系统空间:12345M", 0, 9, 157, 162, 33,
              WS_CHILD | SS_LEFT | WS_GROUP, 0},
             Text(-1, u"安装 Qorvane", 7, 61, 306, 10),
         }},
        {IDD_PROGRESS,
         true,
         kPageStyle,
         0,
         321,
         223,
         u"安装 Qorvane",
         {
             Banner(),
             Line(196),
             Text(IDC_STATUS, u"正在安装", 6, 119, 307, 11),
             {IDC_PROGRESS, u"msctls_progress32", u"Progress1", 0, 6, 97, 307, 13,
              kChild | WS_BORDER, 0},
             Text(-1, u"安装 Qorvane", 7, 61, 306, 10),
         }},
        {IDD_FINISH,
         true,
         kPageStyle,
         0,
         321,
         223,
         u"安装 Qorvane",
         {
             Button(IDOK, u"完成", 247, 202, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
             Banner(),
             Line(196),
             Button(IDC_RUN_APP, u"运行 Qorvane", 13, 98, 239, 8, BS_AUTOCHECKBOX | WS_TABSTOP),
             Text(IDC_STATUS, u"Qorvane 安装完成", 7, 61, 306, 10),
             Button(IDC_OFFER_TOOLBAR, u"安装 Ostrelbar", 13, 115, 108, 10,
                    BS_AUTOCHECKBOX | WS_TABSTOP),
             Button(IDC_OFFER_BROWSER, u"安装“超轻爽无任何插件,免费浏览器--Marlune浏览器”", 13, 131,
                    288, 10, BS_AUTOCHECKBOX | WS_TABSTOP),
         }},
    };
    return dialogs;
}

void ExpectItem(const ExpectedItem& want, const DialogItem& got) {
    EXPECT_EQ(got.id, want.id);
    EXPECT_TRUE(EqualNoCase(ClassName(got.window_class), want.window_class))
        << "class " << Show(ClassName(got.window_class)) << ", expected "
        << Show(want.window_class);
    if (want.text != nullptr) {
        EXPECT_FALSE(got.title.is_ordinal);
        EXPECT_EQ(got.title.text, want.text)
            << Show(got.title.text) << ", expected " << Show(want.text);
    } else {
        EXPECT_TRUE(got.title.is_ordinal);
        EXPECT_EQ(got.title.ordinal, want.image);
    }
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);
    EXPECT_EQ(got.style, want.style) << std::hex << "style 0x" << got.style;
    EXPECT_EQ(got.ex_style, want.ex_style) << std::hex << "ex style 0x" << got.ex_style;
    EXPECT_EQ(got.help_id, 0u);
    EXPECT_TRUE(got.creation_data.empty());
}

TEST_F(ResourcesTest, DialogTemplatesMatchTheirTables) {
    for (const ExpectedDialog& want : Dialogs()) {
        SCOPED_TRACE("dialog " + std::to_string(want.id));
        ResBytes bytes = Resource(kRtDialog, want.id);
        ASSERT_TRUE(bytes.found());
        DialogTemplate got;
        std::string error;
        ASSERT_TRUE(ParseDialogTemplate(bytes.data, bytes.size, &got, &error)) << error;

        EXPECT_EQ(got.extended, want.extended);
        EXPECT_EQ(got.style, want.style) << std::hex << "style 0x" << got.style;
        EXPECT_EQ(got.ex_style, want.ex_style) << std::hex << "ex style 0x" << got.ex_style;
        EXPECT_EQ(got.help_id, 0u);
        EXPECT_EQ(got.x, 0);
        EXPECT_EQ(got.y, 0);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        EXPECT_TRUE(!got.menu.is_ordinal && got.menu.text.empty()) << "the dialog has a menu";
        EXPECT_TRUE(!got.window_class.is_ordinal && got.window_class.text.empty())
            << "the dialog has a class of its own";
        EXPECT_EQ(got.title, want.caption) << Show(got.title);
        ASSERT_TRUE(got.has_font);
        EXPECT_EQ(got.font.point_size, 9);
        EXPECT_EQ(got.font.face, u"宋体") << Show(got.font.face);
        if (want.extended) {
            EXPECT_EQ(got.font.weight, FW_DONTCARE);
            EXPECT_EQ(got.font.italic, 0);
            EXPECT_EQ(got.font.charset, DEFAULT_CHARSET);
        }

        ASSERT_EQ(got.items.size(), want.items.size());
        for (std::size_t i = 0; i < want.items.size(); ++i) {
            SCOPED_TRACE("control " + std::to_string(i + 1));
            ExpectItem(want.items[i], got.items[i]);
        }
    }
}

// The parser itself, on templates laid out by hand (independent of the
// resource compiler): a classic one and an extended one.
TEST(ResDialogParserTest, ReadsAClassicTemplate) {
    const std::uint8_t bytes[] = {
        0xC0, 0x00, 0xC8, 0x80,  // style WS_POPUP|WS_CAPTION|WS_SYSMENU|DS_MODALFRAME|DS_SETFONT
        0x00, 0x00, 0x00, 0x00,  // extended style 0
        0x01, 0x00,              // one item
        0x05, 0x00, 0x06, 0x00,  // x 5, y 6
        0x64, 0x00, 0x32, 0x00,  // cx 100, cy 50
        0x00, 0x00,              // no menu
        0x00, 0x00,              // the default dialog class
        0x4F, 0x00, 0x4B, 0x00, 0x00, 0x00,  // title "OK"
        0x09, 0x00,                          // 9 points
        0x42, 0x00, 0x00, 0x00,              // face "B" (ends at offset 34)
        0x00, 0x00,                          // padding to offset 36
        0x01, 0x00, 0x01, 0x50,  // item style WS_CHILD|WS_VISIBLE|WS_TABSTOP|BS_DEFPUSHBUTTON
        0x00, 0x00, 0x00, 0x00,  // item extended style 0
        0x02, 0x00, 0x03, 0x00,  // x 2, y 3
        0x10, 0x00, 0x0E, 0x00,  // cx 16, cy 14
        0xFF, 0xFF,              // id -1 (16 bits)
        0xFF, 0xFF, 0x80, 0x00,  // class: atom 0x0080, Button
        0xFF, 0xFF, 0x80, 0x00,  // title: resource ordinal 128
        0x00, 0x00,              // no creation data
    };
    DialogTemplate t;
    std::string error;
    ASSERT_TRUE(ParseDialogTemplate(bytes, sizeof bytes, &t, &error)) << error;
    EXPECT_FALSE(t.extended);
    EXPECT_EQ(t.style, 0x80C800C0u);
    EXPECT_EQ(t.x, 5);
    EXPECT_EQ(t.cy, 50);
    EXPECT_EQ(t.title, u"OK");
    EXPECT_EQ(t.font.point_size, 9);
    EXPECT_EQ(t.font.face, u"B");
    ASSERT_EQ(t.items.size(), 1u);
    const DialogItem& item = t.items[0];
    EXPECT_EQ(item.style, 0x50010001u);
    EXPECT_EQ(item.x, 2);
    EXPECT_EQ(item.cy, 14);
    EXPECT_EQ(item.id, -1);
    EXPECT_EQ(ClassName(item.window_class), u"Button");
    EXPECT_TRUE(item.title.is_ordinal);
    EXPECT_EQ(item.title.ordinal, 128);

    // Every shorter prefix is refused, none is read past its end.
    for (std::size_t n = 0; n < sizeof bytes; ++n) {
        std::vector<std::uint8_t> prefix(bytes, bytes + n);
        EXPECT_FALSE(ParseDialogTemplate(prefix.data(), prefix.size(), &t, &error)) << n;
    }
}

TEST(ResDialogParserTest, ReadsAnExtendedTemplate) {
    const std::uint8_t bytes[] = {
        0x01, 0x00, 0xFF, 0xFF,  // version 1, signature 0xFFFF: extended
        0x07, 0x00, 0x00, 0x00,  // help id 7
        0x00, 0x00, 0x04, 0x00,  // extended style WS_EX_APPWINDOW
        0x40, 0x00, 0xC8, 0x80,  // style WS_POPUP|WS_CAPTION|WS_SYSMENU|DS_SETFONT
        0x01, 0x00,              // one item
        0x00, 0x00, 0x00, 0x00,  // x 0, y 0
        0x1E, 0x00, 0x14, 0x00,  // cx 30, cy 20
        0x00, 0x00, 0x00, 0x00,  // no menu, the default class
        0x00, 0x00,              // empty title
        0x09, 0x00, 0xBC, 0x02,  // 9 points, weight 700
        0x01, 0x86,              // italic, charset 0x86
        0x42, 0x00, 0x00, 0x00,  // face "B" (ends at offset 42)
        0x00, 0x00,              // padding to offset 44
        0x00, 0x00, 0x00, 0x00,  // item help id 0
        0x00, 0x00, 0x02, 0x00,  // item extended style WS_EX_STATICEDGE
        0x00, 0x00, 0x00, 0x50,  // item style WS_CHILD|WS_VISIBLE
        0x01, 0x00, 0x02, 0x00,  // x 1, y 2
        0x03, 0x00, 0x04, 0x00,  // cx 3, cy 4
        0xEC, 0x03, 0x00, 0x00,  // id 1004 (32 bits)
        0x6D, 0x00, 0x00, 0x00,  // class "m"
        0x58, 0x00, 0x00, 0x00,  // title "X"
        0x02, 0x00, 0xAA, 0xBB,  // two bytes of creation data
    };
    DialogTemplate t;
    std::string error;
    ASSERT_TRUE(ParseDialogTemplate(bytes, sizeof bytes, &t, &error)) << error;
    EXPECT_TRUE(t.extended);
    EXPECT_EQ(t.help_id, 7u);
    EXPECT_EQ(t.ex_style, 0x00040000u);
    EXPECT_EQ(t.style, 0x80C80040u);
    EXPECT_EQ(t.cx, 30);
    EXPECT_EQ(t.title, u"");
    EXPECT_EQ(t.font.weight, 700);
    EXPECT_EQ(t.font.italic, 1);
    EXPECT_EQ(t.font.charset, 0x86);
    EXPECT_EQ(t.font.face, u"B");
    ASSERT_EQ(t.items.size(), 1u);
    const DialogItem& item = t.items[0];
    EXPECT_EQ(item.ex_style, 0x00020000u);
    EXPECT_EQ(item.style, 0x50000000u);
    EXPECT_EQ(item.cx, 3);
    EXPECT_EQ(item.id, 1004);
    EXPECT_EQ(ClassName(item.window_class), u"m");
    EXPECT_EQ(item.title.text, u"X");
    EXPECT_EQ(item.creation_data, (std::vector<std::uint8_t>{0xAA, 0xBB}));

    for (std::size_t n = 0; n < sizeof bytes; ++n) {
        std::vector<std::uint8_t> prefix(bytes, bytes + n);
        EXPECT_FALSE(ParseDialogTemplate(prefix.data(), prefix.size(), &t, &error)) << n;
    }
}

// ---- Icon and bitmaps -----------------------------------------------------

struct IconHandleDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconHandleDeleter>;
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using GdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiObjectDeleter>;

// Bit (x, y) of an AND mask stored bottom-up; 1 is transparent.
bool MaskBit(const std::uint8_t* mask, int size, int x, int y) {
    const std::uint8_t* row = mask + Stride(size, 1) * static_cast<std::size_t>(size - 1 - y);
    return (row[x / 8] & (0x80 >> (x % 8))) != 0;
}

TEST_F(ResourcesTest, IconGroupHoldsSevenSquareImages) {
    struct Image {
        int size;
        int bits;
    };
    const Image images[] = {{16, 32}, {24, 32}, {32, 24}, {48, 32}, {64, 32}, {72, 32}, {128, 32}};

    ResBytes group = Resource(kRtGroupIcon, IDR_MAINFRAME);
    ASSERT_TRUE(group.found());
    const std::size_t n = sizeof images / sizeof images[0];
    ASSERT_EQ(group.size, 6 + 14 * n);
    EXPECT_EQ(Le16(group.data), 0);      // reserved
    EXPECT_EQ(Le16(group.data + 2), 1);  // icons, not cursors
    ASSERT_EQ(Le16(group.data + 4), n);

    WORD id_of_32 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* e = group.data + 6 + 14 * i;
        const int size = images[i].size;
        const int bits = images[i].bits;
        SCOPED_TRACE("image " + std::to_string(size) + " px");
        EXPECT_EQ(e[0], size);         // width
        EXPECT_EQ(e[1], size);         // height
        EXPECT_EQ(e[2], 0);            // no palette
        EXPECT_EQ(Le16(e + 4), 1);     // planes
        EXPECT_EQ(Le16(e + 6), bits);  // bits per pixel
        const std::uint32_t bytes_in_group = Le32(e + 8);
        const WORD id = Le16(e + 12);
        if (size == 32) {
            id_of_32 = id;
        }

        ResBytes image = Resource(kRtIcon, id);
        ASSERT_TRUE(image.found());
        EXPECT_EQ(image.size, bytes_in_group);
        const std::size_t color_bytes = Stride(size, bits) * size;
        const std::size_t mask_bytes = Stride(size, 1) * size;
        ASSERT_EQ(image.size, sizeof(BITMAPINFOHEADER) + color_bytes + mask_bytes);
        BITMAPINFOHEADER h;
        std::memcpy(&h, image.data, sizeof h);
        EXPECT_EQ(h.biSize, sizeof h);
        EXPECT_EQ(h.biWidth, size);
        EXPECT_EQ(h.biHeight, 2 * size);  // colour rows and mask rows
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, bits);
        EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(h.biClrUsed, 0u);

        // The mark is a rounded plate: its corner is transparent, its middle
        // opaque, in the mask and (32 bits) in the alpha channel.
        const std::uint8_t* pixels = image.data + sizeof h;
        const std::uint8_t* mask = pixels + color_bytes;
        EXPECT_TRUE(MaskBit(mask, size, 0, 0));
        EXPECT_FALSE(MaskBit(mask, size, size / 2, size / 2));
        if (bits == 32) {
            const std::uint8_t* top_left = pixels + Stride(size, 32) * (size - 1);
            const std::uint8_t* middle = pixels + Stride(size, 32) * (size / 2) + 4 * (size / 2);
            EXPECT_EQ(top_left[3], 0);
            EXPECT_EQ(middle[3], 255);
        }

        // The system builds an icon of the right size from the image.
        IconHandle icon(CreateIconFromResourceEx(const_cast<BYTE*>(image.data),
                                                 static_cast<DWORD>(image.size), TRUE, 0x00030000,
                                                 size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon.get(), &info));
        GdiObject color(info.hbmColor);
        GdiObject and_mask(info.hbmMask);
        BITMAP bm{};
        ASSERT_TRUE(GetObjectW(info.hbmColor, sizeof bm, &bm));
        EXPECT_EQ(bm.bmWidth, size);
        EXPECT_EQ(bm.bmHeight, size);
    }

    // Asked for the standard 32-px icon, the system picks the 32-px image.
    EXPECT_EQ(
        LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group.data), TRUE, 32, 32, LR_DEFAULTCOLOR),
        id_of_32);
}

TEST_F(ResourcesTest, BitmapsHaveTheirSizesAndDepths) {
    struct ExpectedBitmap {
        WORD id;
        LONG width, height;
        WORD bits;
        DWORD colors;
    };
    const ExpectedBitmap bitmaps[] = {{IDB_LINE, 460, 2, 4, 16}, {IDB_BANNER, 480, 80, 24, 0}};
    for (const ExpectedBitmap& want : bitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(want.id));
        ResBytes bmp = Resource(kRtBitmap, want.id);
        ASSERT_TRUE(bmp.found());
        ASSERT_GE(bmp.size, sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER h;
        std::memcpy(&h, bmp.data, sizeof h);
        EXPECT_EQ(h.biSize, sizeof h);
        EXPECT_EQ(h.biWidth, want.width);
        EXPECT_EQ(h.biHeight, want.height);  // positive: rows stored bottom-up
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, want.bits);
        EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(h.biClrUsed, want.colors);
        EXPECT_EQ(bmp.size,
                  sizeof h + 4 * want.colors + Stride(want.width, want.bits) * want.height);
    }
}

// A (grey, white) pair of rows: the etched look needs the dark row on top.
TEST_F(ResourcesTest, SeparatorLineIsADarkRowOverALightOne) {
    ResBytes bmp = Resource(kRtBitmap, IDB_LINE);
    ASSERT_TRUE(bmp.found());
    ASSERT_EQ(bmp.size, sizeof(BITMAPINFOHEADER) + 4 * 16 + 2 * Stride(460, 4));
    const std::uint8_t* palette = bmp.data + sizeof(BITMAPINFOHEADER);
    const std::uint8_t* rows = palette + 4 * 16;
    auto brightness = [&](int index) {
        const std::uint8_t* quad = palette + 4 * index;  // blue, green, red, 0
        return quad[0] + quad[1] + quad[2];
    };
    // Every pixel of a row has the row's colour.
    auto row_colour = [&](const std::uint8_t* row) {
        int first = row[0] >> 4;
        for (int x = 0; x < 460; ++x) {
            int index = x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
            if (index != first) {
                return -1;
            }
        }
        return first;
    };
    const int bottom = row_colour(rows);
    const int top = row_colour(rows + Stride(460, 4));
    ASSERT_GE(bottom, 0) << "the bottom row has more than one colour";
    ASSERT_GE(top, 0) << "the top row has more than one colour";
    EXPECT_LT(brightness(top), brightness(bottom));
    EXPECT_EQ(brightness(bottom), 3 * 255) << "the lower row is white";
}

// ---- String table ----------------------------------------------------------

TEST_F(ResourcesTest, StringTableHoldsOnlyTheAboutItem) {
    // Strings live in blocks of sixteen; string 101 is entry 5 of block 7, and
    // the listing test shows that no other block exists.
    ResBytes block = Resource(kRtString, IDS_ABOUTBOX / 16 + 1);
    ASSERT_TRUE(block.found());
    std::size_t pos = 0;
    for (int index = 0; index < 16; ++index) {
        SCOPED_TRACE("string " + std::to_string((IDS_ABOUTBOX / 16) * 16 + index));
        ASSERT_LE(pos + 2, block.size);
        const std::size_t length = Le16(block.data + pos);
        pos += 2;
        ASSERT_LE(pos + 2 * length, block.size);
        std::u16string text;
        for (std::size_t i = 0; i < length; ++i) {
            text.push_back(static_cast<char16_t>(Le16(block.data + pos + 2 * i)));
        }
        pos += 2 * length;
        if (index == IDS_ABOUTBOX % 16) {
            EXPECT_EQ(text, u"关于 Install(&A)...") << Show(text);
        } else {
            EXPECT_TRUE(text.empty()) << Show(text);
        }
    }
    EXPECT_EQ(pos, block.size) << "bytes after the sixteenth string";
}

// ---- Version block ---------------------------------------------------------

class VersionInfo {
  public:
    explicit VersionInfo(const std::wstring& path) {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (size == 0) {
            return;
        }
        data_.resize(size);
        if (!GetFileVersionInfoW(path.c_str(), 0, size, data_.data())) {
            data_.clear();
        }
    }
    bool ok() const { return !data_.empty(); }

    // The value under the sub-block path, or false when there is none.
    bool Query(const std::wstring& sub_block, const void** value, UINT* length) {
        void* p = nullptr;
        if (!VerQueryValueW(data_.data(), sub_block.c_str(), &p, length)) {
            return false;
        }
        *value = p;
        return true;
    }

  private:
    std::vector<std::uint8_t> data_;
};

TEST_F(ResourcesTest, VersionBlockDescribesTheProgram) {
    VersionInfo version(path());
    ASSERT_TRUE(version.ok()) << "no version information, error " << GetLastError();

    const void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(version.Query(L"\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, value, sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u);  // 1.0
    EXPECT_EQ(fixed.dwFileVersionLS, 0x00000001u);  // .0.1
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed.dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed.dwFileFlags & fixed.dwFileFlagsMask, 0u) << "not a debug or private build";
    EXPECT_EQ(fixed.dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed.dwFileSubtype, 0u);

    ASSERT_TRUE(version.Query(L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u) << "exactly one translation";
    const auto* translation = static_cast<const std::uint8_t*>(value);
    EXPECT_EQ(Le16(translation), 0x0804);
    EXPECT_EQ(Le16(translation + 2), 1200);

    const std::pair<const wchar_t*, const char16_t*> strings[] = {
        {L"Comments", u""},
        {L"CompanyName", u""},
        {L"FileDescription", u"Install"},
        {L"FileVersion", u"1, 0, 0, 1"},
        {L"InternalName", u"Install"},
        {L"LegalCopyright", kCopyrightLine},
        {L"LegalTrademarks", u""},
        {L"OriginalFilename", u"Install.EXE"},
        {L"PrivateBuild", u""},
        {L"ProductName", u"Install "},
        {L"ProductVersion", u"1, 0, 0, 1"},
        {L"SpecialBuild", u""},
    };
    for (const auto& [key, want] : strings) {
        SCOPED_TRACE(std::string("key ") + std::string(key, key + wcslen(key)));
        ASSERT_TRUE(
            version.Query(std::wstring(L"\\StringFileInfo\\080404b0\\") + key, &value, &length));
        const auto* text = static_cast<const wchar_t*>(value);
        const std::u16string got = U16(text, wcsnlen(text, length));
        EXPECT_EQ(got, want) << Show(got);
        // The stored length counts the terminating NUL: nothing hides behind it.
        EXPECT_EQ(length, got.size() + 1);
    }
}

// ---- Manifest --------------------------------------------------------------

TEST_F(ResourcesTest, ManifestAsksForAdministratorRights) {
    ResBytes manifest = Resource(kRtManifest, 1);
    ASSERT_TRUE(manifest.found());
    const std::string xml(reinterpret_cast<const char*>(manifest.data), manifest.size);

    const std::size_t element = xml.find("<requestedExecutionLevel ");
    ASSERT_NE(element, std::string::npos);
    const std::string attributes = xml.substr(element, xml.find('>', element) - element);
    EXPECT_NE(attributes.find("level=\"requireAdministrator\""), std::string::npos) << attributes;
    EXPECT_NE(xml.find(">false</dpiAware>"), std::string::npos);
    // The classic controls: no dependency on the version-6 common controls.
    EXPECT_EQ(xml.find("Microsoft.Windows.Common-Controls"), std::string::npos);

    // The loader accepts it: an activation context builds from the resource.
    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path().c_str();
    context.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE handle = CreateActCtxW(&context);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    if (handle != INVALID_HANDLE_VALUE) {
        ReleaseActCtx(handle);
    }
}

}  // namespace
}  // namespace qz::test
