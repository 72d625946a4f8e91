// The main window as drawn under common controls 6, which the program's manifest asks for
// and which this test program carries too: the rows keep their colours and their icons.
#include "WindowDriver.h"
#include "MappingListHelpers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace window_driver;
using testing_keys::code;

namespace {

const COLORREF green = RGB(0, 128, 0), blue = RGB(0, 0, 255), red = RGB(255, 0, 0);

// The identity of the assembly that the process's activation context takes the list-view
// class from ("" when the class is not redirected, that is, common controls 5).
std::string ListViewAssembly()
{
    ACTCTX_SECTION_KEYED_DATA data = {};
    data.cbSize = sizeof data;
    if (!FindActCtxSectionStringA(FIND_ACTCTX_SECTION_KEY_RETURN_HACTCTX, nullptr,
                                  ACTIVATION_CONTEXT_SECTION_WINDOW_CLASS_REDIRECTION, "SysListView32", &data))
        return "";
    std::vector<char> buffer(4096);
    SIZE_T size = 0;
    DWORD index = data.ulAssemblyRosterIndex;
    std::string identity = "<unknown>";
    if (QueryActCtxW(0, data.hActCtx, &index, AssemblyDetailedInformationInActivationContext, buffer.data(),
                     buffer.size(), &size)) {
        auto* info = reinterpret_cast<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
        std::wstring wide(info->lpAssemblyEncodedAssemblyIdentity);
        identity.assign(wide.begin(), wide.end());
    }
    ReleaseActCtx(data.hActCtx);
    return identity;
}

// The client area of a window as it paints itself, custom draw included.
class Picture {
public:
    Picture(HWND window, COLORREF background) : width_(0), height_(0)
    {
        RECT client;
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        Capture(width_, height_, background, [&](HDC dc) {
            SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
        });
    }
    Picture(int width, int height, COLORREF background, const std::function<void(HDC)>& draw)
        : width_(width), height_(height)
    {
        Capture(width, height, background, draw);
    }
    COLORREF At(int x, int y) const { return pixels_[y * width_ + x]; }
    int CountIn(const RECT& area, COLORREF colour) const
    {
        int count = 0;
        for (int y = area.top; y < area.bottom && y < height_; ++y)
            for (int x = area.left; x < area.right && x < width_; ++x)
                count += At(x, y) == colour;
        return count;
    }
    // Whether `part` appears somewhere inside `area`, pixel for pixel.
    bool Shows(const Picture& part, const RECT& area) const
    {
        for (int top = area.top; top + part.height_ <= area.bottom && top + part.height_ <= height_; ++top)
            for (int left = area.left; left + part.width_ <= area.right && left + part.width_ <= width_; ++left)
                if (Matches(part, left, top))
                    return true;
        return false;
    }

private:
    bool Matches(const Picture& part, int left, int top) const
    {
        for (int y = 0; y < part.height_; ++y)
            for (int x = 0; x < part.width_; ++x)
                if (At(left + x, top + y) != part.At(x, y))
                    return false;
        return true;
    }
    void Capture(int width, int height, COLORREF background, const std::function<void(HDC)>& draw)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        draw(dc);
        GdiFlush();
        const DWORD* source = static_cast<const DWORD*>(bits);
        pixels_.resize(static_cast<size_t>(width) * height);
        for (size_t i = 0; i < pixels_.size(); ++i)  // 0x00RRGGBB to COLORREF
            pixels_[i] = RGB(source[i] >> 16 & 0xFF, source[i] >> 8 & 0xFF, source[i] & 0xFF);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    int width_, height_;
    std::vector<COLORREF> pixels_;
};

RECT ItemRect(HWND list, int row, int part, int column = 0)
{
    RECT rect = {};
    rect.left = part;
    rect.top = column;
    SendMessageA(list, column ? LVM_GETSUBITEMRECT : LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

struct VisualStyles : WindowTest {
    void SetUp() override
    {
        WindowTest::SetUp();
        if (!IsNT)
            GTEST_SKIP() << "mappings are read from the NT store here";
        StoreMappingsOfEveryKind();
    }
};

TEST_F(VisualStyles, TheListsComeFromCommonControls6)
{
    std::string assembly = ListViewAssembly();
    EXPECT_NE(std::string::npos, assembly.find("Microsoft.Windows.Common-Controls")) << assembly;
    EXPECT_NE(std::string::npos, assembly.find("version=\"6.0.")) << assembly;
}

TEST_F(VisualStyles, MappedRowsKeepTheirColoursAndIcons)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        HWND list = GetDlgItem(w, IDC_MAPPED_LIST);
        ASSERT_EQ(4, RowCount(list));
        SetRowState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);  // selection colours would hide the text colour
        COLORREF background = static_cast<COLORREF>(SendMessageA(list, LVM_GETBKCOLOR, 0, 0));
        Picture picture(list, background);
        HIMAGELIST icons = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        ASSERT_NE(nullptr, icons);

        const struct {
            COLORREF colour;
            int kind;
        } rows[] = {{green, Plain}, {blue, SwapFirst}, {blue, SwapSecond}, {red, Disabled}};
        for (int row = 0; row < 4; ++row) {
            SCOPED_TRACE(row);
            for (int column : {0, 1}) {
                RECT text = ItemRect(list, row, LVIR_LABEL, column);
                EXPECT_GT(picture.CountIn(text, rows[row].colour), 10) << "column " << column;
                for (COLORREF other : {green, blue, red}) {
                    if (other != rows[row].colour) {
                        EXPECT_EQ(0, picture.CountIn(text, other)) << "column " << column;
                    }
                }
            }
            Picture icon(16, 16, background, [&](HDC dc) { ImageList_Draw(icons, rows[row].kind, dc, 0, 0, ILD_NORMAL); });
            EXPECT_TRUE(picture.Shows(icon, ItemRect(list, row, LVIR_ICON)));
        }
    });
}

TEST_F(VisualStyles, KeysKeepTheirColours)
{
    MainWindow window(application.settings, application.sharedBlock);
    RunWindow(window, [&](HWND w) {
        const struct {
            int listId;
            const char* key;
            COLORREF colour;  // CLR_DEFAULT: the list's own text colour
        } keys[] = {
            {IDC_FROM_LIST, "Escape", blue}, {IDC_FROM_LIST, "Caps Lock", green},
            {IDC_FROM_LIST, "Left Ctrl", CLR_DEFAULT}, {IDC_TO_LIST, "<Disabled>", red},
            {IDC_TO_LIST, "Left Ctrl", green}, {IDC_TO_LIST, "Caps Lock", CLR_DEFAULT},
        };
        for (const auto& key : keys) {
            SCOPED_TRACE(key.key);
            HWND list = GetDlgItem(w, key.listId);
            int row = RowOfKey(list, key.key);
            ASSERT_NE(-1, row);
            SetRowState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
            SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
            COLORREF background = static_cast<COLORREF>(SendMessageA(list, LVM_GETBKCOLOR, 0, 0));
            Picture picture(list, background);
            RECT text = ItemRect(list, row, LVIR_LABEL);
            COLORREF expected = key.colour == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : key.colour;
            EXPECT_GT(picture.CountIn(text, expected), 10);
            for (COLORREF other : {green, blue, red}) {
                if (other != expected) {
                    EXPECT_EQ(0, picture.CountIn(text, other));
                }
            }
        }
    });
}

}  // namespace
