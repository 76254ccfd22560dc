// The launcher's resources as the running program finds them: the dialog template item by item
// (tests/support/dialog_template.h; window_test checks the window made from it), the icon group
// with its nine images, and the manifest.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>

#include "support/dialog_template.h"

namespace {

struct Blob {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

Blob findResource(WORD id, LPCSTR type) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(self, type, MAKEINTRESOURCEA(id),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(self, found);
    Blob blob;
    blob.data = static_cast<const uint8_t*>(LockResource(loaded));
    blob.size = blob.data != nullptr ? SizeofResource(self, found) : 0;
    return blob;
}

// Reads little-endian fields with a bounds check on every read; past the end it reads zeros
// and remembers the overrun, so a short resource fails the test instead of reading beyond it.
class Reader {
  public:
    explicit Reader(Blob blob) : blob_(blob) {}

    uint8_t byte() { return static_cast<uint8_t>(take(1)); }
    uint16_t word() { return static_cast<uint16_t>(take(2)); }
    uint32_t dword() { return static_cast<uint32_t>(take(4)); }
    int16_t coord() { return static_cast<int16_t>(word()); }

    // Dialog items start on a DWORD boundary from the start of the template.
    void alignDword() { pos_ = (pos_ + 3) & ~static_cast<size_t>(3); }

    // A zero-terminated UTF-16 text, narrowed; the texts here are all ASCII.
    std::string text() {
        std::string out;
        for (uint16_t c = word(); c != 0 && overrun_ == false; c = word()) {
            out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        }
        return out;
    }

    // A name-or-ordinal field: 0xFFFF and an ordinal, or a text (empty: neither).
    struct NameOrOrdinal {
        uint16_t ordinal = 0;
        std::string name;
    };
    NameOrOrdinal nameOrOrdinal() {
        NameOrOrdinal field;
        if (peekWord() == 0xFFFF) {
            word();
            field.ordinal = word();
        } else {
            field.name = text();
        }
        return field;
    }

    bool ok() const { return !overrun_; }
    size_t position() const { return pos_; }

  private:
    uint16_t peekWord() const {
        return pos_ + 2 <= blob_.size
                   ? static_cast<uint16_t>(blob_.data[pos_] | blob_.data[pos_ + 1] << 8)
                   : 0;
    }
    uint32_t take(size_t count) {
        if (pos_ + count > blob_.size) {
            overrun_ = true;
            pos_ = blob_.size;
            return 0;
        }
        uint32_t value = 0;
        for (size_t i = 0; i < count; ++i) {
            value |= static_cast<uint32_t>(blob_.data[pos_ + i]) << (8 * i);
        }
        pos_ += count;
        return value;
    }

    Blob blob_;
    size_t pos_ = 0;
    bool overrun_ = false;
};

// ---- the dialog ----

TEST(DialogTemplate, HeaderIsAPlainTemplateAtTheTopLeft) {
    Blob blob = findResource(IDD_LAUNCHER, RT_DIALOG);
    ASSERT_NE(blob.data, nullptr) << "dialog 101 in English (United States)";
    Reader in(blob);
    uint32_t style = in.dword();
    // An extended template starts with version 1 and the signature 0xFFFF in its first DWORD.
    EXPECT_NE(style, 0xFFFF0001u);
    EXPECT_EQ(style, static_cast<uint32_t>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                           DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(in.dword(), 0u) << "extended style";
    EXPECT_EQ(in.word(), kTemplateRowCount);
    EXPECT_EQ(in.coord(), 0);
    EXPECT_EQ(in.coord(), 0);
    EXPECT_EQ(in.coord(), 253);
    EXPECT_EQ(in.coord(), 253);
    EXPECT_EQ(in.word(), 0) << "menu";
    EXPECT_EQ(in.word(), 0) << "window class";
    EXPECT_EQ(in.text(), "Quellix Frontend");
    EXPECT_EQ(in.word(), 8) << "point size";
    EXPECT_EQ(in.text(), "MS Sans Serif");
    EXPECT_TRUE(in.ok());
}

TEST(DialogTemplate, EveryItemMatchesItsRowInOrder) {
    Blob blob = findResource(IDD_LAUNCHER, RT_DIALOG);
    ASSERT_NE(blob.data, nullptr);
    Reader in(blob);
    in.dword();
    in.dword();
    const uint16_t count = in.word();
    ASSERT_EQ(count, kTemplateRowCount);
    for (int i = 0; i < 4; ++i) {
        in.coord();
    }
    in.nameOrOrdinal();
    in.nameOrOrdinal();
    in.text();
    in.word();
    in.text();

    for (size_t i = 0; i < kTemplateRowCount; ++i) {
        const TemplateRow& want = kTemplateRows[i];
        SCOPED_TRACE("item " + std::to_string(i + 1) + ", id " + std::to_string(want.id));
        in.alignDword();
        const uint32_t style = in.dword();
        const uint32_t exStyle = in.dword();
        const short x = in.coord(), y = in.coord(), cx = in.coord(), cy = in.coord();
        const uint16_t id = in.word();
        const Reader::NameOrOrdinal cls = in.nameOrOrdinal();
        const Reader::NameOrOrdinal caption = in.nameOrOrdinal();
        const uint16_t extra = in.word();
        ASSERT_TRUE(in.ok()) << "template ends early";

        EXPECT_EQ(id, want.id);
        const KindClass wantClass = classOf(want.kind);
        if (wantClass.atom == 0) {
            // Class names are case-blind; windres stores them in capitals.
            EXPECT_TRUE(cls.ordinal == 0 && lstrcmpiA(cls.name.c_str(), wantClass.name) == 0)
                << "class " << cls.ordinal << " '" << cls.name << "'";
        } else {
            EXPECT_EQ(cls.ordinal, wantClass.atom) << "class name '" << cls.name << "'";
        }
        EXPECT_EQ(caption.ordinal, 0);
        EXPECT_EQ(caption.name, want.caption);
        EXPECT_EQ(x, want.x);
        EXPECT_EQ(y, want.y);
        EXPECT_EQ(cx, want.cx);
        EXPECT_EQ(cy, want.cy);
        EXPECT_EQ(style, templateStyle(want.kind)) << std::hex << style;
        EXPECT_EQ(exStyle, 0u);
        EXPECT_EQ(extra, 0) << "creation data";
    }
    EXPECT_LE(blob.size - in.position(), 3u) << "bytes after the last item";
}

// ---- the icon ----

struct IconImage {
    uint8_t size;
    uint16_t bits;
    uint8_t colours; // the directory's colour count: 16 for 4 bpp, else 0
};

const IconImage kImages[] = {
    {48, 32, 0}, {48, 8, 0},  {48, 4, 16}, {32, 32, 0}, {32, 8, 0},
    {32, 4, 16}, {16, 32, 0}, {16, 8, 0},  {16, 4, 16},
};

size_t rowBytes(size_t bits) {
    return (bits + 31) / 32 * 4;
}

// The standard 16-colour palette the 4-bpp images use.
const COLORREF kStandard16[16] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
};

TEST(Icon, GroupListsNineImagesAndEachIsAWellFormedBitmapWithMask) {
    Reader dir(findResource(IDI_LAUNCHER, RT_GROUP_ICON));
    EXPECT_EQ(dir.word(), 0);
    EXPECT_EQ(dir.word(), 1) << "icon, not cursor";
    ASSERT_EQ(dir.word(), 9u);
    for (const IconImage& want : kImages) {
        SCOPED_TRACE(std::to_string(want.size) + " px, " + std::to_string(want.bits) + " bpp");
        EXPECT_EQ(dir.byte(), want.size);
        EXPECT_EQ(dir.byte(), want.size);
        EXPECT_EQ(dir.byte(), want.colours);
        dir.byte();
        EXPECT_EQ(dir.word(), 1) << "planes";
        EXPECT_EQ(dir.word(), want.bits);
        const uint32_t bytes = dir.dword();
        Blob image = findResource(dir.word(), RT_ICON);
        ASSERT_TRUE(dir.ok());
        ASSERT_NE(image.data, nullptr);
        EXPECT_EQ(image.size, bytes);

        Reader bmp(image);
        EXPECT_EQ(bmp.dword(), sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(static_cast<int32_t>(bmp.dword()), want.size);
        EXPECT_EQ(static_cast<int32_t>(bmp.dword()), 2 * want.size) << "XOR and AND together";
        EXPECT_EQ(bmp.word(), 1);
        EXPECT_EQ(bmp.word(), want.bits);
        EXPECT_EQ(bmp.dword(), static_cast<uint32_t>(BI_RGB));
        const size_t palette = want.bits <= 8 ? (size_t{1} << want.bits) * 4 : 0;
        const size_t xorBytes = rowBytes(size_t{want.size} * want.bits) * want.size;
        const size_t maskRow = rowBytes(want.size);
        ASSERT_EQ(image.size, sizeof(BITMAPINFOHEADER) + palette + xorBytes + maskRow * want.size);

        if (want.bits == 4) {
            const uint8_t* quad = image.data + sizeof(BITMAPINFOHEADER);
            for (COLORREF colour : kStandard16) {
                EXPECT_EQ(RGB(quad[2], quad[1], quad[0]), colour);
                quad += 4;
            }
        }

        // The mask must both show and hide: a blank or wholly square icon fails here.
        const uint8_t* mask = image.data + image.size - maskRow * want.size;
        size_t transparent = 0;
        for (size_t row = 0; row < want.size; ++row) {
            for (size_t x = 0; x < want.size; ++x) {
                transparent += (mask[row * maskRow + x / 8] >> (7 - x % 8)) & 1u;
            }
        }
        EXPECT_GT(transparent, 0u);
        EXPECT_LT(transparent, size_t{want.size} * want.size / 2);

        HICON icon =
            CreateIconFromResourceEx(const_cast<PBYTE>(image.data), static_cast<DWORD>(image.size),
                                     TRUE, 0x00030000, want.size, want.size, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr) << "the system reads the image";
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

// ---- the manifest ----

TEST(Manifest, DeclaresTheDescriptionAndTheCommonControlsDependency) {
    Blob blob = findResource(1, MAKEINTRESOURCEA(24));
    ASSERT_NE(blob.data, nullptr);
    const std::string text(reinterpret_cast<const char*>(blob.data), blob.size);
    const char* const present[] = {
        "manifestVersion=\"1.0\"",
        "version=\"1.0.0.0\"",
        "type=\"win32\"",
        "<description>A spiffy front end for the Quellix emulator.</description>",
        "name=\"Microsoft.Windows.Common-Controls\"",
        "version=\"6.0.0.0\"",
        // "X86" in the launcher; the x86_64 test build links a copy naming its own processor.
        "processorArchitecture=\"" LAUNCHER_MANIFEST_ARCH "\"",
        "publicKeyToken=\"6595b64144ccf1df\"",
        "language=\"*\"",
        "<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">",
        "<windowsSettings>",
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
    };
    for (const char* fragment : present) {
        EXPECT_NE(text.find(fragment), std::string::npos) << fragment;
    }
    // A 32-bit program without trustInfo keeps its settings file writable under Program Files.
    EXPECT_EQ(text.find("<trustInfo"), std::string::npos);
    // Aware of the system's scale only: one scale for every screen.
    EXPECT_EQ(text.find("dpiAwareness"), std::string::npos);
    EXPECT_EQ(text.find("PerMonitor"), std::string::npos);
}

// The loader read the manifest at start-up and resolved the dependency: the process's default
// activation context redirects comctl32.dll to the side-by-side Common-Controls assembly. A
// wrong token, version or processor architecture leaves no redirection.
TEST(Manifest, ProcessContextRedirectsCommonControls) {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof(data);
    EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         L"comctl32.dll", &data))
        << GetLastError();
    // And it made the process aware of the display scale (Windows shows it; Wine counts every
    // process aware).
    EXPECT_TRUE(IsProcessDPIAware());
}

} // namespace
