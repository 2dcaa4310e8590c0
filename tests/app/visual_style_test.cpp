// The visual style: which controls it takes, how it follows windows created later, how it
// lets them go, and what it paints.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "label.h"
#include "layout.h"
#include "main_window.h"
#include "main_window_fixture.h"
#include "visual_style.h"
#include "win_test.h"

void PrintTo(StyledKind kind, std::ostream* out) {
    static const char* const names[] = {"PushButton", "CheckBox", "RadioButton", "GroupBox",
                                        "EditBox",    "ComboBox", "DropDownList", "SpinButtons"};
    *out << names[static_cast<int>(kind)];
}

using namespace wintest;

namespace {

constexpr char kHostClassName[] = "VisualStyleTestHost";

// The test program does not link comctl32: loading it and asking for its classes is enough.
bool LoadCommonControls() {
    static const bool loaded = [] {
        using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        auto init = reinterpret_cast<Init>(
            reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("comctl32.dll"), "InitCommonControlsEx")));
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_INTERNET_CLASSES | ICC_UPDOWN_CLASS};
        return init && init(&classes);
    }();
    return loaded;
}

LONG_PTR ProcedureOf(HWND window) { return GetWindowLongPtrA(window, GWLP_WNDPROC); }
LONG_PTR ClassProcedureOf(HWND window) { return static_cast<LONG_PTR>(GetClassLongPtrA(window, GCLP_WNDPROC)); }

HWND MakeChild(HWND parent, const char* className, DWORD style, int height = 24, DWORD exStyle = 0) {
    static int nextId = 1000;
    return CreateWindowExA(exStyle, className, "Aa", WS_CHILD | WS_VISIBLE | style, 4, 4, 120, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)), GetModuleHandleA(nullptr),
                           nullptr);
}

COMBOBOXINFO ComboInfo(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    return info;
}
HWND ListOfCombo(HWND combo) { return ComboInfo(combo).hwndList; }
HWND EditOfCombo(HWND combo) { return ComboInfo(combo).hwndItem; }
HWND FirstEdit(HWND parent) { return FindWindowExA(parent, nullptr, "Edit", nullptr); }

// ---- pictures of windows ----

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // top-down rows of 0x00RRGGBB

    COLORREF At(int x, int y) const {
        std::uint32_t pixel = pixels[static_cast<size_t>(y) * width + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // The part inside area, given in the picture's coordinates.
    Picture Part(const RECT& area) const {
        Picture part{area.right - area.left, area.bottom - area.top, {}};
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) part.pixels.push_back(pixels[static_cast<size_t>(y) * width + x]);
        return part;
    }
    friend bool operator==(const Picture&, const Picture&) = default;
};

// Renders into a 32-bit top-down DIB; draw gets the memory DC.
template <typename Draw>
Picture Render(int width, int height, Draw draw) {
    Picture picture{width, height, {}};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        draw(memory, screen);
        GdiFlush();
        auto* first = static_cast<std::uint32_t*>(bits);
        picture.pixels.assign(first, first + static_cast<size_t>(width) * height);
        for (std::uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;  // icons leave alpha behind
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

// What WM_PRINT draws of the window, frame included.
Picture Print(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    return Render(area.right - area.left, area.bottom - area.top, [window](HDC memory, HDC) {
        SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(memory), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    });
}

// What the screen shows of the window once it has painted everything.
Picture FromScreen(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // Wine paints into a window surface and hands it to the X server while the thread waits.
    for (int waited = 0; waited < 200; waited += 20) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpMessages();
    }
    RECT area;
    GetWindowRect(window, &area);
    return Render(area.right - area.left, area.bottom - area.top, [&area](HDC memory, HDC screen) {
        BitBlt(memory, 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left, area.top, SRCCOPY);
    });
}

// The control's place in a picture of its top-level window.
RECT PlaceIn(HWND control, HWND topLevel) {
    RECT controlArea, topArea;
    GetWindowRect(control, &controlArea);
    GetWindowRect(topLevel, &topArea);
    OffsetRect(&controlArea, -topArea.left, -topArea.top);
    return controlArea;
}

bool SaveBitmap(const Picture& picture, const std::string& path) {
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = -picture.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    DWORD imageSize = static_cast<DWORD>(picture.pixels.size() * sizeof(std::uint32_t));
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + imageSize;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(&header, sizeof header, 1, file) == 1 && std::fwrite(&info, sizeof info, 1, file) == 1 &&
                   std::fwrite(picture.pixels.data(), imageSize, 1, file) == 1;
    return std::fclose(file) == 0 && written;
}

// ---- fixture: a hidden top-level window to hold the controls ----

class VisualStyleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadCommonControls());
        HINSTANCE instance = GetModuleHandleA(nullptr);
        ASSERT_TRUE(RegisterLabelClass(instance));
        WNDCLASSEXA hostClass{};
        if (!GetClassInfoExA(instance, kHostClassName, &hostClass)) {
            hostClass.cbSize = sizeof hostClass;
            hostClass.lpfnWndProc = DefWindowProcA;
            hostClass.hInstance = instance;
            hostClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            hostClass.lpszClassName = kHostClassName;
            ASSERT_NE(RegisterClassExA(&hostClass), 0);
        }
        host_ = CreateWindowExA(0, kHostClassName, "host", WS_OVERLAPPED | WS_CLIPCHILDREN, 20, 20, 400, 300,
                                nullptr, nullptr, instance, nullptr);
        ASSERT_NE(host_, nullptr);
        ASSERT_EQ(SetVisualStyle(1), 1);
    }
    void TearDown() override {
        if (IsWindow(host_)) DestroyWindow(host_);
        SetVisualStyle(1);  // the program's own setting, which other tests expect
        PumpMessages();
    }

    HWND host_ = nullptr;
};

// ---- which controls are styled ----

struct RuleRow {
    const char* what;
    const char* className;
    DWORD style;
    HWND (*pick)(HWND created);  // the window to look at inside the created one; null: itself
    std::optional<StyledKind> expected;
};

const RuleRow kRules[] = {
    {"push button", "Button", BS_PUSHBUTTON, nullptr, StyledKind::PushButton},
    {"default push button", "Button", BS_DEFPUSHBUTTON, nullptr, StyledKind::PushButton},
    {"owner-drawn button", "Button", BS_OWNERDRAW, nullptr, std::nullopt},
    {"bitmap push button", "Button", BS_PUSHBUTTON | BS_BITMAP, nullptr, std::nullopt},
    {"check box", "Button", BS_CHECKBOX, nullptr, StyledKind::CheckBox},
    {"automatic check box", "Button", BS_AUTOCHECKBOX, nullptr, StyledKind::CheckBox},
    {"three-state box", "Button", BS_AUTO3STATE, nullptr, StyledKind::CheckBox},
    {"push-like check box", "Button", BS_AUTOCHECKBOX | BS_PUSHLIKE, nullptr, StyledKind::PushButton},
    {"radio button", "Button", BS_AUTORADIOBUTTON, nullptr, StyledKind::RadioButton},
    {"push-like radio button", "Button", BS_RADIOBUTTON | BS_PUSHLIKE, nullptr, StyledKind::PushButton},
    {"group box", "Button", BS_GROUPBOX, nullptr, StyledKind::GroupBox},
    {"edit box", "Edit", ES_AUTOHSCROLL | WS_BORDER, nullptr, StyledKind::EditBox},
    {"edit box of an IP address control", WC_IPADDRESSA, 0, FirstEdit, std::nullopt},
    {"drop-down combo box", "ComboBox", CBS_DROPDOWN, nullptr, StyledKind::ComboBox},
    {"drop-down list combo box", "ComboBox", CBS_DROPDOWNLIST, nullptr, StyledKind::ComboBox},
    {"simple combo box", "ComboBox", CBS_SIMPLE, nullptr, std::nullopt},
    {"edit box of a drop-down combo box", "ComboBox", CBS_DROPDOWN, EditOfCombo, StyledKind::EditBox},
    {"list of a drop-down combo box", "ComboBox", CBS_DROPDOWN, ListOfCombo, StyledKind::DropDownList},
    {"spin buttons", UPDOWN_CLASSA, 0, nullptr, StyledKind::SpinButtons},
    {"static text", "Static", SS_LEFT, nullptr, std::nullopt},
    {"list box", "ListBox", 0, nullptr, std::nullopt},
    {"the program's label", kLabelClassName, 0, nullptr, std::nullopt},
};

HWND MakeRow(HWND host, const RuleRow& row) {
    HWND created = MakeChild(host, row.className, row.style, lstrcmpiA(row.className, "ComboBox") == 0 ? 120 : 24);
    return row.pick && created ? row.pick(created) : created;
}

// Each row twice: a control that exists when the style is switched on (found by walking the
// thread's windows) and one created afterwards (caught by the hook). A styled control has a
// new window procedure; the reference is the procedure the same kind of control has while the
// style is off (an IP address control subclasses its own edit boxes).
TEST_F(VisualStyleTest, TakesExactlyTheControlsOfTheStyledKinds) {
    SetVisualStyle(0);
    std::vector<HWND> existing;
    std::vector<LONG_PTR> ownProcedure;
    for (const RuleRow& row : kRules) {
        existing.push_back(MakeRow(host_, row));
        ownProcedure.push_back(ProcedureOf(existing.back()));
    }
    ASSERT_EQ(SetVisualStyle(1), 1);
    for (size_t i = 0; i < std::size(kRules); ++i) {
        const RuleRow& row = kRules[i];
        SCOPED_TRACE(row.what);
        HWND created = MakeRow(host_, row);
        for (auto [path, window] : {std::pair{"existing", existing[i]}, std::pair{"created later", created}}) {
            SCOPED_TRACE(path);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(StyledKindOf(window), row.expected);
            EXPECT_EQ(ProcedureOf(window) != ownProcedure[i], row.expected.has_value());
        }
    }
}

TEST_F(VisualStyleTest, StylesTheOkButtonOfAMessageBoxShownLater) {
    ModalWatcher watcher;
    size_t styledBefore = StyledControlCount();
    std::optional<StyledKind> okButton, text;
    bool okButtonProcedureReplaced = false;
    watcher.onMessageBox = [&](const SeenMessageBox& box) {
        HWND dialog = FindWindowA("#32770", box.caption.c_str());
        HWND ok = GetDlgItem(dialog, IDOK);
        okButton = StyledKindOf(ok);
        okButtonProcedureReplaced = ProcedureOf(ok) != ClassProcedureOf(ok);
        text = StyledKindOf(GetDlgItem(dialog, 0xFFFF));
    };
    MessageBoxA(nullptr, "样式", "VisualStyleTest", MB_OK | MB_TASKMODAL);
    PumpMessages();
    ASSERT_EQ(watcher.boxes.size(), 1u);
    EXPECT_EQ(okButton, StyledKind::PushButton);
    EXPECT_TRUE(okButtonProcedureReplaced);
    EXPECT_EQ(text, std::nullopt);
    EXPECT_EQ(StyledControlCount(), styledBefore) << "the box's button left the list with the box";
}

struct DialogControls {
    int pushButtons = 0, styledPushButtons = 0;
    int edits = 0, styledEdits = 0;
    int combos = 0, styledCombos = 0;
};

BOOL CALLBACK CountDialogControl(HWND window, LPARAM parameter) {
    auto* count = reinterpret_cast<DialogControls*>(parameter);
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    std::optional<StyledKind> kind = StyledKindOf(window);
    if (lstrcmpiA(name, "Button") == 0 && (style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON && !(style & BS_BITMAP)) {
        ++count->pushButtons;
        count->styledPushButtons += kind == StyledKind::PushButton;
    } else if (lstrcmpiA(name, "Edit") == 0) {
        ++count->edits;
        count->styledEdits += kind == StyledKind::EditBox;
    } else if (lstrcmpiA(name, "ComboBox") == 0 && (style & 3) != CBS_SIMPLE) {
        ++count->combos;
        count->styledCombos += kind == StyledKind::ComboBox;
    }
    return TRUE;
}

TEST_F(VisualStyleTest, StylesTheButtonsEditsAndCombosOfTheOpenDialog) {
    ModalWatcher watcher;
    DialogControls seen;
    watcher.onOpenDialog = [&seen](HWND dialog) {
        EnumChildWindows(dialog, CountDialogControl, reinterpret_cast<LPARAM>(&seen));
        return IDCANCEL;
    };
    char file[MAX_PATH] = "";
    OPENFILENAMEA open{};
    open.lStructSize = sizeof open;
    open.lpstrFilter = "*.*\0*.*\0";
    open.nFilterIndex = 1;
    open.lpstrFile = file;
    open.nMaxFile = sizeof file;
    open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    EXPECT_FALSE(GetOpenFileNameA(&open));
    PumpMessages();
    ASSERT_EQ(watcher.openDialogs, 1);
    EXPECT_GE(seen.pushButtons, 2) << "open and cancel";
    EXPECT_EQ(seen.styledPushButtons, seen.pushButtons);
    EXPECT_GE(seen.edits, 1) << "the file name";
    EXPECT_EQ(seen.styledEdits, seen.edits);
    EXPECT_GE(seen.combos, 2) << "file name, type, folder";
    EXPECT_EQ(seen.styledCombos, seen.combos);
}

// The style only paints: clicks, checks, text and visibility work as they would without it.
int clicksSeen = 0;
WNDPROC hostProcedure = nullptr;

LRESULT CALLBACK CountClicks(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++clicksSeen;
    return CallWindowProcA(hostProcedure, window, message, wParam, lParam);
}

struct BehaviourRow {
    const char* what;
    DWORD style;
    LRESULT checkAfterClick;
};

const BehaviourRow kBehaviours[] = {
    {"push button", BS_PUSHBUTTON, BST_UNCHECKED},
    {"check box", BS_AUTOCHECKBOX, BST_CHECKED},
    {"three-state box", BS_AUTO3STATE, BST_CHECKED},
    {"radio button", BS_AUTORADIOBUTTON, BST_CHECKED},
    {"push-like check box", BS_AUTOCHECKBOX | BS_PUSHLIKE, BST_CHECKED},
};

TEST_F(VisualStyleTest, StyledButtonsKeepTheirBehaviour) {
    ShowWindow(host_, SW_SHOWNA);
    hostProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountClicks)));
    for (const BehaviourRow& row : kBehaviours) {
        SCOPED_TRACE(row.what);
        HWND button = MakeChild(host_, "Button", row.style);
        ASSERT_TRUE(StyledKindOf(button).has_value());
        clicksSeen = 0;
        SendMessageA(button, BM_CLICK, 0, 0);
        EXPECT_EQ(clicksSeen, 1);
        EXPECT_EQ(SendMessageA(button, BM_GETCHECK, 0, 0), row.checkAfterClick);
        EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
        SendMessageA(button, BM_SETSTATE, TRUE, 0);
        EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
        SendMessageA(button, BM_SETSTATE, FALSE, 0);
        EXPECT_TRUE(SetWindowTextA(button, "新文字"));
        char text[16] = {};
        GetWindowTextA(button, text, sizeof text);
        EXPECT_STREQ(text, "新文字");
        EnableWindow(button, FALSE);
        EXPECT_FALSE(IsWindowEnabled(button));
        EXPECT_TRUE(IsWindowVisible(button)) << "painting the new state hid the button";
        DestroyWindow(button);
    }
}

// ---- switching off ----

struct SwitchRow {
    bool onBefore;
    int argument;
    int result;
    bool onAfter;
};

const SwitchRow kSwitches[] = {
    {true, 0, TRUE, false},  {false, 0, 0, false},  {true, 4, TRUE, false}, {true, -1, TRUE, false},
    {false, 7, 0, false},    {false, 2, 1, true},   {true, 3, 1, true},     {true, 1, 1, true},
};

TEST_F(VisualStyleTest, SwitchingOffRestoresEveryProcedureAndRemovesTheHook) {
    for (const SwitchRow& row : kSwitches) {
        SCOPED_TRACE(testing::Message() << "style " << (row.onBefore ? "on" : "off") << ", SetVisualStyle("
                                        << row.argument << ")");
        SetVisualStyle(row.onBefore ? 1 : 0);
        HWND button = MakeChild(host_, "Button", BS_PUSHBUTTON);
        HWND edit = MakeChild(host_, "Edit", WS_BORDER);
        HWND combo = MakeChild(host_, "ComboBox", CBS_DROPDOWN, 120);
        std::vector<HWND> probes = {button, edit, combo, EditOfCombo(combo), ListOfCombo(combo)};
        EXPECT_EQ(SetVisualStyle(row.argument), row.result);
        for (HWND probe : probes) {
            EXPECT_EQ(StyledKindOf(probe).has_value(), row.onAfter);
            // The combo box's own edit and list keep their own procedures underneath.
            if (probe == button || probe == edit || probe == combo) {
                EXPECT_EQ(ProcedureOf(probe) != ClassProcedureOf(probe), row.onAfter);
            }
        }
        if (!row.onAfter) {
            EXPECT_EQ(StyledControlCount(), 0u);
        }
        HWND later = MakeChild(host_, "Button", BS_PUSHBUTTON);
        EXPECT_EQ(StyledKindOf(later).has_value(), row.onAfter) << "the hook is there exactly while the style is on";
        for (HWND window : {button, edit, combo, later}) DestroyWindow(window);
    }
}

// Someone else subclasses a styled control; switching the style off must not cut them out.
WNDPROC belowTheLaterSubclass = nullptr;
int laterSubclassMessages = 0;
constexpr UINT kProbeMessage = WM_APP + 17;

LRESULT CALLBACK LaterSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbeMessage) ++laterSubclassMessages;
    return CallWindowProcA(belowTheLaterSubclass, window, message, wParam, lParam);
}

TEST_F(VisualStyleTest, SwitchingOffKeepsASubclassInstalledAfterTheStyle) {
    HWND button = MakeChild(host_, "Button", BS_AUTOCHECKBOX);
    ASSERT_EQ(StyledKindOf(button), StyledKind::CheckBox);
    size_t styled = StyledControlCount();
    belowTheLaterSubclass = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterSubclass)));
    laterSubclassMessages = 0;

    EXPECT_EQ(SetVisualStyle(0), TRUE);
    EXPECT_EQ(ProcedureOf(button), reinterpret_cast<LONG_PTR>(LaterSubclass));
    EXPECT_EQ(StyledKindOf(button), std::nullopt);
    SendMessageA(button, kProbeMessage, 0, 0);
    EXPECT_EQ(laterSubclassMessages, 1);
    SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(button, BM_GETCHECK, 0, 0), BST_CHECKED) << "messages still reach the button";

    EXPECT_EQ(SetVisualStyle(1), 1);
    EXPECT_EQ(StyledKindOf(button), StyledKind::CheckBox);
    EXPECT_EQ(StyledControlCount(), styled);
    SendMessageA(button, kProbeMessage, 0, 0);
    EXPECT_EQ(laterSubclassMessages, 2);
    DestroyWindow(button);
    EXPECT_EQ(StyledControlCount(), styled - 1);
}

// ---- lifetime ----

struct LifetimeRow {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

const LifetimeRow kPaintedKinds[] = {
    {"Button", BS_PUSHBUTTON, 0},
    {"Button", BS_DEFPUSHBUTTON, 0},
    {"Button", BS_AUTOCHECKBOX, 0},
    {"Button", BS_AUTO3STATE, 0},
    {"Button", BS_AUTORADIOBUTTON, 0},
    {"Button", BS_GROUPBOX, 0},
    {"Edit", ES_AUTOHSCROLL, WS_EX_STATICEDGE},
    {"Edit", WS_VSCROLL | ES_MULTILINE, WS_EX_CLIENTEDGE},
    {"ComboBox", CBS_DROPDOWN, 0},
    {"ComboBox", CBS_DROPDOWNLIST, 0},
    {UPDOWN_CLASSA, 0, 0},
};

// Makes a control, lets it paint on screen and off, and destroys it. Returns: whether it was
// styled and painted.
bool PaintOnce(HWND host, const LifetimeRow& row) {
    HWND control =
        MakeChild(host, row.className, row.style, lstrcmpiA(row.className, "ComboBox") == 0 ? 120 : 40, row.exStyle);
    if (!control) return false;
    bool styled = StyledKindOf(control).has_value();
    UpdateWindow(control);
    bool painted = !GetUpdateRect(control, nullptr, FALSE);
    Print(control);
    DestroyWindow(control);
    return styled && painted;
}

TEST_F(VisualStyleTest, DestroyedControlsLeaveTheListAndLeakNoGdiObject) {
    ShowWindow(host_, SW_SHOWNA);
    PumpMessages();
    // The counter must see objects come and go, or a flat count would prove nothing.
    DWORD before = LiveGdiObjects();
    HGDIOBJ probe = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_EQ(LiveGdiObjects(), before + 1);
    DeleteObject(probe);
    ASSERT_EQ(LiveGdiObjects(), before);

    for (const LifetimeRow& row : kPaintedKinds) PaintOnce(host_, row);  // caches fill up first
    size_t styled = StyledControlCount();
    DWORD gdiObjects = LiveGdiObjects();
    int paintedStyled = 0;
    for (int i = 0; i < 1000; ++i) paintedStyled += PaintOnce(host_, kPaintedKinds[i % std::size(kPaintedKinds)]);
    PumpMessages();
    EXPECT_EQ(paintedStyled, 1000);
    EXPECT_EQ(StyledControlCount(), styled);
    EXPECT_EQ(LiveGdiObjects(), gdiObjects);
}

// ---- what it paints ----

struct SchemeRow {
    int scheme;
    COLORREF frame;
};

const SchemeRow kSchemeFrames[] = {
    {1, RGB(123, 158, 189)},
    {2, RGB(164, 185, 127)},
    {3, RGB(198, 197, 215)},
};

// The pixels in the middle of each side of a picture.
std::vector<COLORREF> SideMiddles(const Picture& picture) {
    return {picture.At(picture.width / 2, 0), picture.At(picture.width / 2, picture.height - 1),
            picture.At(0, picture.height / 2), picture.At(picture.width - 1, picture.height / 2)};
}

class VisualStyleMainWindowTest : public MainWindowFixture {
protected:
    void TearDown() override {
        SetVisualStyle(1);  // the other tests expect the program's scheme
        MainWindowFixture::TearDown();
    }
};

TEST_F(VisualStyleMainWindowTest, ButtonsAndEditBoxesAreStyledFromTheStart) {
    for (int index = 0; index < ControlCount; ++index) {
        const ControlSpec& row = kMainWindowLayout[index];
        SCOPED_TRACE(row.name);
        std::optional<StyledKind> expected = row.kind == ControlKind::Button ? std::optional(StyledKind::PushButton)
                                             : row.kind == ControlKind::Edit ? std::optional(StyledKind::EditBox)
                                                                              : std::nullopt;
        if (HWND control = Control(static_cast<ControlIndex>(index))) {
            EXPECT_EQ(StyledKindOf(control), expected);
        }
    }
    EXPECT_EQ(StyledKindOf(window_), std::nullopt);
}

// Each scheme's frame colour on the edit boxes and the buttons, drawn both on screen and by
// WM_PRINT; the labels and the window's own frame look the same with the style off.
TEST_F(VisualStyleMainWindowTest, EachSchemeDrawsItsFrameColourAndLeavesLabelsAndWindowFrameAlone) {
    const ControlIndex labels[] = {标签1, 标签2, 标签3, 标签4};
    SetVisualStyle(0);
    PumpMessages();
    Picture classic = FromScreen(window_);
    Picture classicButton = Print(Control(系统时间));
    RECT client;
    GetClientRect(window_, &client);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT outer;
    GetWindowRect(window_, &outer);
    OffsetRect(&client, -outer.left, -outer.top);

    for (const SchemeRow& row : kSchemeFrames) {
        SCOPED_TRACE(testing::Message() << "scheme " << row.scheme);
        ASSERT_EQ(SetVisualStyle(row.scheme), 1);
        PumpMessages();
        Picture screen = FromScreen(window_);
        for (ControlIndex box : {文件路径, 创建时间, 修改时间, 访问时间}) {
            SCOPED_TRACE(kMainWindowLayout[box].name);
            for (COLORREF pixel : SideMiddles(Print(Control(box)))) EXPECT_EQ(pixel, row.frame) << "printed";
            for (COLORREF pixel : SideMiddles(screen.Part(PlaceIn(Control(box), window_))))
                EXPECT_EQ(pixel, row.frame) << "on screen";
        }
        for (ControlIndex button : {浏览, 取出时间, 设置时间, 系统时间}) {
            SCOPED_TRACE(kMainWindowLayout[button].name);
            for (COLORREF pixel : SideMiddles(screen.Part(PlaceIn(Control(button), window_))))
                EXPECT_EQ(pixel, row.frame) << "on screen";
        }
        Picture button = Print(Control(系统时间));
        for (COLORREF pixel : SideMiddles(button)) EXPECT_EQ(pixel, row.frame) << "printed";
        EXPECT_NE(button, classicButton);

        for (ControlIndex label : labels) {
            SCOPED_TRACE(kMainWindowLayout[label].name);
            RECT place = PlaceIn(Control(label), window_);
            EXPECT_TRUE(screen.Part(place) == classic.Part(place)) << "the label changed";
        }
        // Title bar and border: every pixel outside the client area.
        int changed = 0;
        for (int y = 0; y < screen.height; ++y) {
            for (int x = 0; x < screen.width; ++x) {
                POINT point{x, y};
                if (!PtInRect(&client, point) && screen.At(x, y) != classic.At(x, y)) ++changed;
            }
        }
        EXPECT_EQ(changed, 0) << "pixels of the window frame changed";
    }
}

// ---- screenshots, looked at by eye: run with --gtest_also_run_disabled_tests ----

// Writes visual-style-*.bmp into the folder named by VISUAL_STYLE_SHOTS, else the temporary folder.
std::string ShotPath(const char* name) {
    std::string folder;
    if (const char* chosen = std::getenv("VISUAL_STYLE_SHOTS")) {
        folder = chosen;
    } else {
        char temporary[MAX_PATH];
        folder.assign(temporary, GetTempPathA(MAX_PATH, temporary));
    }
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder + "visual-style-" + name + ".bmp";
}

TEST_F(VisualStyleMainWindowTest, DISABLED_SavesScreenshots) {
    SetWindowTextA(Control(文件路径), "C:\\文档\\报告.txt");
    SetWindowTextA(Control(创建时间), "2013年9月5日14时6分5秒");
    SetWindowTextA(Control(修改时间), "2014年1月20日9时30分0秒");
    SetWindowTextA(Control(访问时间), "2014年2月3日18时45分12秒");
    PumpMessages();
    EXPECT_TRUE(SaveBitmap(FromScreen(window_), ShotPath("main-window")));

    ModalWatcher watcher;
    watcher.onMessageBox = [](const SeenMessageBox& box) {
        EXPECT_TRUE(SaveBitmap(FromScreen(FindWindowA("#32770", box.caption.c_str())), ShotPath("message-box")));
    };
    MessageBoxA(nullptr, "设置文件时间成功", "成功", MB_TASKMODAL);
    EXPECT_EQ(watcher.boxes.size(), 1u);

    watcher.onOpenDialog = [](HWND dialog) {
        EXPECT_TRUE(SaveBitmap(FromScreen(dialog), ShotPath("open-dialog")));
        return IDCANCEL;
    };
    TempFolder folder;
    for (const char* name : {"报告.txt", "照片.jpg", "数据.csv"}) folder.MakeFile(name);
    char file[MAX_PATH] = "";
    OPENFILENAMEA open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = window_;
    open.lpstrInitialDir = folder.path().c_str();
    open.lpstrFilter = "所有文件(*.*)\0*.*\0";
    open.nFilterIndex = 1;
    open.lpstrFile = file;
    open.nMaxFile = sizeof file;
    open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    GetOpenFileNameA(&open);
    EXPECT_EQ(watcher.openDialogs, 1);
}

}  // namespace
