#include "visual_style.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "unique_win32.h"

namespace {

// ---- colours ----

struct SchemeColours {
    COLORREF frame;                      // outline of edits, combos, lists, push buttons; group box lines
    COLORREF accent;                     // outline of check and radio boxes, arrows
    COLORREF faceTop, faceBottom;        // raised face, lit from above
    COLORREF pressedTop, pressedBottom;  // pushed face, shaded from above
    COLORREF hot;                        // rim of the control under the mouse
    COLORREF focus;                      // rim of the focused or default push button
    COLORREF mark;                       // check mark and radio dot
};

// Schemes 1 blue, 2 olive green, 3 silver.
constexpr SchemeColours kSchemes[] = {
    {RGB(123, 158, 189), RGB(0, 60, 116), RGB(255, 255, 255), RGB(221, 231, 244), RGB(193, 211, 235),
     RGB(230, 238, 248), RGB(248, 179, 48), RGB(105, 130, 238), RGB(33, 161, 33)},
    {RGB(164, 185, 127), RGB(55, 98, 6), RGB(255, 255, 255), RGB(231, 236, 216), RGB(206, 219, 176),
     RGB(237, 241, 226), RGB(232, 145, 40), RGB(143, 173, 84), RGB(33, 161, 33)},
    {RGB(198, 197, 215), RGB(99, 98, 130), RGB(255, 255, 255), RGB(230, 230, 238), RGB(207, 206, 222),
     RGB(237, 237, 243), RGB(255, 190, 70), RGB(146, 145, 184), RGB(74, 73, 107)},
};

// A disabled control looks the same in every scheme.
constexpr COLORREF kDisabledBorder = RGB(201, 199, 186);
constexpr COLORREF kDisabledFace = RGB(245, 244, 234);
constexpr COLORREF kDisabledText = RGB(161, 161, 146);

constexpr int kCheckBoxSize = 13;
constexpr int kCheckTextGap = 4;

// ---- state (one user-interface thread: no lock) ----

struct StyledControl {
    HWND window;
    StyledKind kind;
    WNDPROC previous;
};

int currentScheme = 1;
std::vector<StyledControl> styledControls;
// Controls taken out of the style while someone else's subclass sat above ours: restoring our
// predecessor would cut theirs out of the chain, so our procedure stays and only forwards.
std::vector<std::pair<HWND, WNDPROC>> forwardedControls;
// Not owned by a UniqueHook: the program never switches the style off, and the hook is meant
// to live exactly as long as the thread.
HHOOK styleHook = nullptr;

// The control under the mouse and the spin button held down; part 1 or 2 is a spin control's
// first or second arrow, 0 the whole control.
struct MouseState {
    HWND hot = nullptr;
    int hotPart = 0;
    HWND pressed = nullptr;
    int pressedPart = 0;
} mouse;

const SchemeColours& Colours() { return kSchemes[std::clamp(currentScheme, 1, 3) - 1]; }

StyledControl* FindStyled(HWND window) {
    auto found = std::find_if(styledControls.begin(), styledControls.end(),
                              [window](const StyledControl& control) { return control.window == window; });
    return found == styledControls.end() ? nullptr : &*found;
}

// ---- scoped helpers of the painters ----

// A device context handed to us by someone else (WM_PRINT) gets its colours and modes back.
class ScopedDcState {
public:
    explicit ScopedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~ScopedDcState() { RestoreDC(dc_, saved_); }
    ScopedDcState(const ScopedDcState&) = delete;
    ScopedDcState& operator=(const ScopedDcState&) = delete;

private:
    HDC dc_;
    int saved_;
};

// ---- drawing primitives: the stock DC brush and pen, so no fill creates a GDI object ----

void Fill(HDC dc, const RECT& area, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void Frame(HDC dc, const RECT& area, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

COLORREF Mix(COLORREF from, COLORREF to, int step, int steps) {
    auto channel = [&](int shift) {
        int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        return static_cast<COLORREF>(a + (b - a) * step / steps) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

void FillGradient(HDC dc, const RECT& area, COLORREF top, COLORREF bottom) {
    int height = area.bottom - area.top;
    for (int row = 0; row < height; ++row) {
        RECT line{area.left, area.top + row, area.right, area.top + row + 1};
        Fill(dc, line, Mix(top, bottom, row, std::max(height - 1, 1)));
    }
}

// An outline with softly rounded corners; the inside is left as it is.
void Outline(HDC dc, const RECT& area, COLORREF colour, int corner) {
    ScopedSelectObject pen(dc, GetStockObject(DC_PEN));
    ScopedSelectObject brush(dc, GetStockObject(NULL_BRUSH));
    SetDCPenColor(dc, colour);
    RoundRect(dc, area.left, area.top, area.right, area.bottom, corner, corner);
}

enum class Arrow { Up, Down, Left, Right };

// A solid triangle centred in area, built from one-pixel lines so it stays crisp at any size.
void DrawArrow(HDC dc, const RECT& area, Arrow arrow, COLORREF colour) {
    int width = area.right - area.left, height = area.bottom - area.top;
    int size = std::clamp(std::min(width, height) / 3, 2, 4);
    int centreX = area.left + width / 2, centreY = area.top + height / 2;
    for (int i = 0; i < size; ++i) {
        int half = size - 1 - i;  // the wide end first
        RECT line;
        switch (arrow) {
        case Arrow::Down: line = {centreX - half, centreY - size / 2 + i, centreX + half + 1, centreY - size / 2 + i + 1}; break;
        case Arrow::Up: line = {centreX - half, centreY + size / 2 - i, centreX + half + 1, centreY + size / 2 - i + 1}; break;
        case Arrow::Right: line = {centreX - size / 2 + i, centreY - half, centreX - size / 2 + i + 1, centreY + half + 1}; break;
        case Arrow::Left: line = {centreX + size / 2 - i, centreY - half, centreX + size / 2 - i + 1, centreY + half + 1}; break;
        }
        Fill(dc, line, colour);
    }
}

// ---- what the controls tell about themselves ----

std::string WindowText(HWND window) {
    std::string text(GetWindowTextLengthA(window) + 1, '\0');
    text.resize(GetWindowTextA(window, text.data(), static_cast<int>(text.size())));
    return text;
}

HGDIOBJ ControlFont(HWND window) {
    auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
    return font ? font : GetStockObject(SYSTEM_FONT);
}

// Keyboard cues stay hidden until the user works the window with the keyboard.
UINT PrefixFlag(HWND window) {
    return (SendMessageA(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
}

bool ShowsFocus(HWND window) { return !(SendMessageA(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS); }

// The brush the parent wants behind the control, asked for the way the control itself asks;
// the parent may also set the text colour on dc.
HBRUSH ParentBackground(HWND window, HDC dc, UINT colourMessage) {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    HWND parent = GetParent(window);
    auto brush = parent ? reinterpret_cast<HBRUSH>(SendMessageA(parent, colourMessage, reinterpret_cast<WPARAM>(dc),
                                                               reinterpret_cast<LPARAM>(window)))
                        : nullptr;
    // A hollow brush would leave the off-screen buffer unpainted.
    return brush && brush != GetStockObject(NULL_BRUSH) ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

// Draws the window's text in area, aligned as its button style asks (horizontal falls back
// to fallback), and returns the rectangle the text took.
RECT DrawCaption(HDC dc, HWND window, const RECT& area, UINT fallback, COLORREF colour) {
    LONG style = GetWindowLongA(window, GWL_STYLE);
    std::string text = WindowText(window);
    ScopedSelectObject font(dc, ControlFont(window));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    UINT horizontal = (style & BS_CENTER) == BS_CENTER ? DT_CENTER
                      : (style & BS_CENTER) == BS_LEFT ? DT_LEFT
                      : (style & BS_CENTER) == BS_RIGHT ? DT_RIGHT
                                                        : fallback;
    UINT format = horizontal | PrefixFlag(window) | ((style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE);
    RECT bounds = area;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &bounds, format | DT_CALCRECT);
    int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    int left = horizontal == DT_LEFT    ? area.left
               : horizontal == DT_RIGHT ? area.right - width
                                        : (area.left + area.right - width) / 2;
    int top = (style & BS_VCENTER) == BS_TOP      ? area.top
              : (style & BS_VCENTER) == BS_BOTTOM ? area.bottom - height
                                                  : (area.top + area.bottom - height) / 2;
    RECT placed{left, top, left + width, top + height};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &placed, format);
    return placed;
}

// The icon or bitmap of a picture push button, centred and greyed when disabled.
void DrawPicture(HDC dc, HWND window, const RECT& area, bool icon, bool enabled) {
    auto image = reinterpret_cast<HANDLE>(SendMessageA(window, BM_GETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP, 0));
    if (!image) return;
    SIZE size{};
    if (icon) {
        ICONINFO info{};
        if (!GetIconInfo(static_cast<HICON>(image), &info)) return;
        UniqueGdiObject mask(info.hbmMask), colour(info.hbmColor);  // GetIconInfo hands us copies
        BITMAP bitmap{};
        GetObjectA(mask.get(), sizeof bitmap, &bitmap);
        size = {bitmap.bmWidth, colour ? bitmap.bmHeight : bitmap.bmHeight / 2};
    } else {
        BITMAP bitmap{};
        GetObjectA(image, sizeof bitmap, &bitmap);
        size = {bitmap.bmWidth, bitmap.bmHeight};
    }
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image), 0, (area.left + area.right - size.cx) / 2,
               (area.top + area.bottom - size.cy) / 2, size.cx, size.cy,
               (icon ? DST_ICON : DST_BITMAP) | (enabled ? DSS_NORMAL : DSS_DISABLED));
}

// The face of a raised part: flat when disabled, shaded from above when pushed, lit from
// above otherwise.
void FillFace(HDC dc, const RECT& area, bool enabled, bool pressed) {
    const SchemeColours& colours = Colours();
    if (!enabled)
        Fill(dc, area, kDisabledFace);
    else if (pressed)
        FillGradient(dc, area, colours.pressedTop, colours.pressedBottom);
    else
        FillGradient(dc, area, colours.faceTop, colours.faceBottom);
}

// ---- one painter per kind ----

void PaintPushButton(HWND window, HDC dc, const RECT& client) {
    const SchemeColours& colours = Colours();
    LONG style = GetWindowLongA(window, GWL_STYLE);
    auto state = static_cast<UINT>(SendMessageA(window, BM_GETSTATE, 0, 0));
    bool enabled = IsWindowEnabled(window);
    bool pressed = (state & BST_PUSHED) || ((style & BS_PUSHLIKE) && (state & (BST_CHECKED | BST_INDETERMINATE)));

    FillRect(dc, &client, ParentBackground(window, dc, WM_CTLCOLORBTN));
    RECT face = client;
    InflateRect(&face, -1, -1);
    FillFace(dc, face, enabled, pressed);
    Outline(dc, client, enabled ? colours.frame : kDisabledBorder, 5);
    if (enabled && mouse.hot == window) {
        Outline(dc, face, colours.hot, 3);
        RECT inner = face;
        InflateRect(&inner, -1, -1);
        Outline(dc, inner, Mix(colours.hot, colours.faceTop, 1, 2), 3);
    } else if (enabled && ((state & BST_FOCUS) || (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)) {
        Outline(dc, face, colours.focus, 3);
    }

    RECT content = client;
    InflateRect(&content, -4, -3);
    if (style & (BS_ICON | BS_BITMAP))
        DrawPicture(dc, window, content, style & BS_ICON, enabled);
    else
        DrawCaption(dc, window, content, DT_CENTER, enabled ? GetSysColor(COLOR_BTNTEXT) : kDisabledText);
}

void PaintCheckBox(HWND window, HDC dc, const RECT& client, bool radio) {
    const SchemeColours& colours = Colours();
    LONG style = GetWindowLongA(window, GWL_STYLE);
    auto state = static_cast<UINT>(SendMessageA(window, BM_GETSTATE, 0, 0));
    bool enabled = IsWindowEnabled(window);

    FillRect(dc, &client, ParentBackground(window, dc, WM_CTLCOLORSTATIC));
    COLORREF textColour = GetTextColor(dc);  // as the parent chose it
    bool textLeft = style & BS_LEFTTEXT;
    int top = (style & BS_VCENTER) == BS_TOP      ? client.top
              : (style & BS_VCENTER) == BS_BOTTOM ? client.bottom - kCheckBoxSize
                                                  : (client.top + client.bottom - kCheckBoxSize) / 2;
    int left = textLeft ? client.right - kCheckBoxSize : client.left;
    RECT box{left, top, left + kCheckBoxSize, top + kCheckBoxSize};

    bool pressed = state & BST_PUSHED;
    COLORREF faceTop = !enabled ? kDisabledFace : pressed ? colours.pressedTop : colours.faceTop;
    COLORREF faceBottom = !enabled ? kDisabledFace : pressed ? colours.pressedBottom : colours.faceBottom;
    COLORREF edge = enabled ? colours.accent : kDisabledBorder;
    COLORREF mark = enabled ? colours.mark : kDisabledBorder;
    bool hot = enabled && mouse.hot == window;
    if (radio) {
        ScopedSelectObject pen(dc, GetStockObject(DC_PEN));
        ScopedSelectObject brush(dc, GetStockObject(DC_BRUSH));
        SetDCPenColor(dc, edge);
        SetDCBrushColor(dc, Mix(faceTop, faceBottom, 1, 2));
        Ellipse(dc, box.left, box.top, box.right, box.bottom);
        if (hot) {
            ScopedSelectObject hollow(dc, GetStockObject(NULL_BRUSH));
            SetDCPenColor(dc, colours.hot);
            Ellipse(dc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1);
        }
        if (state & BST_CHECKED) {
            SetDCPenColor(dc, mark);
            SetDCBrushColor(dc, mark);
            Ellipse(dc, box.left + 4, box.top + 4, box.right - 4, box.bottom - 4);
        }
    } else {
        RECT inside = box;
        InflateRect(&inside, -1, -1);
        FillGradient(dc, inside, faceTop, faceBottom);
        Frame(dc, box, edge);
        if (hot) Frame(dc, inside, colours.hot);
        if (state & BST_INDETERMINATE) {
            RECT square = box;
            InflateRect(&square, -3, -3);
            Fill(dc, square, Mix(mark, faceTop, 1, 2));
        } else if (state & BST_CHECKED) {
            ScopedSelectObject pen(dc, GetStockObject(DC_PEN));
            SetDCPenColor(dc, mark);
            for (int stroke = 0; stroke < 3; ++stroke) {  // a tick three pixels thick
                MoveToEx(dc, box.left + 3, box.top + 5 + stroke, nullptr);
                LineTo(dc, box.left + 5, box.top + 7 + stroke);
                LineTo(dc, box.left + 10, box.top + 2 + stroke);
            }
        }
    }

    RECT textArea = client;
    if (textLeft)
        textArea.right = box.left - kCheckTextGap;
    else
        textArea.left = box.right + kCheckTextGap;
    RECT drawn = DrawCaption(dc, window, textArea, DT_LEFT, enabled ? textColour : kDisabledText);
    if ((state & BST_FOCUS) && ShowsFocus(window) && drawn.right > drawn.left) {
        InflateRect(&drawn, 1, 1);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &drawn);
    }
}

// Only the lines and the caption: a group box is see-through, what lies inside is its
// siblings' business.
void PaintGroupBox(HWND window, HDC dc, const RECT& client) {
    bool enabled = IsWindowEnabled(window);
    HBRUSH background = ParentBackground(window, dc, WM_CTLCOLORSTATIC);
    COLORREF textColour = GetTextColor(dc);
    std::string text = WindowText(window);
    ScopedSelectObject font(dc, ControlFont(window));
    RECT caption{client.left + 8, client.top, client.right - 8, client.bottom};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &caption,
              DT_SINGLELINE | DT_CALCRECT | PrefixFlag(window));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    int line = client.top + metrics.tmHeight / 2;
    COLORREF colour = enabled ? Colours().frame : kDisabledBorder;
    int gapLeft = text.empty() ? client.left + 8 : caption.left - 2;
    int gapRight = text.empty() ? client.left + 8 : std::min(caption.right + 2, client.right - 1);
    Fill(dc, {client.left, line, gapLeft, line + 1}, colour);
    Fill(dc, {gapRight, line, client.right, line + 1}, colour);
    Fill(dc, {client.left, line, client.left + 1, client.bottom}, colour);
    Fill(dc, {client.right - 1, line, client.right, client.bottom}, colour);
    Fill(dc, {client.left, client.bottom - 1, client.right, client.bottom}, colour);
    if (text.empty()) return;
    FillRect(dc, &caption, background);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled ? textColour : kDisabledText);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &caption, DT_SINGLELINE | PrefixFlag(window));
}

// A small raised button with an arrow: the halves of a spin control, a combo box's drop button.
void PaintArrowButton(HDC dc, const RECT& area, Arrow arrow, bool enabled, bool pressed, bool hot) {
    const SchemeColours& colours = Colours();
    FillFace(dc, area, enabled, pressed);
    Outline(dc, area, !enabled ? kDisabledBorder : hot ? colours.hot : colours.frame, 3);
    DrawArrow(dc, area, arrow, enabled ? colours.accent : kDisabledText);
}

// Part 1 is the up (or left) arrow, part 2 the down (or right) one.
RECT SpinPart(HWND window, int part) {
    RECT client;
    GetClientRect(window, &client);
    RECT half = client;
    if (GetWindowLongA(window, GWL_STYLE) & UDS_HORZ)
        (part == 1 ? half.right : half.left) = client.right / 2;
    else
        (part == 1 ? half.bottom : half.top) = client.bottom / 2;
    return half;
}

void PaintSpinButtons(HWND window, HDC dc, const RECT& client) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    bool horizontal = GetWindowLongA(window, GWL_STYLE) & UDS_HORZ;
    bool enabled = IsWindowEnabled(window);
    for (int part : {1, 2}) {
        PaintArrowButton(dc, SpinPart(window, part),
                         horizontal ? (part == 1 ? Arrow::Left : Arrow::Right) : (part == 1 ? Arrow::Up : Arrow::Down),
                         enabled, mouse.pressed == window && mouse.pressedPart == part,
                         mouse.hot == window && mouse.hotPart == part);
    }
}

// The combo box paints its text and selection itself; its sunken edge and drop button are
// then painted over in the style.
void PaintComboBox(const StyledControl& control, HDC dc, const RECT& client) {
    HWND window = control.window;
    CallWindowProcA(control.previous, window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    bool enabled = IsWindowEnabled(window);
    RECT ring = client;
    Frame(dc, ring, enabled ? Colours().frame : kDisabledBorder);
    InflateRect(&ring, -1, -1);
    Frame(dc, ring, GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(window, &info) || (info.stateButton & STATE_SYSTEM_INVISIBLE)) return;
    PaintArrowButton(dc, info.rcButton, Arrow::Down, enabled, info.stateButton & STATE_SYSTEM_PRESSED,
                     mouse.hot == window);
}

void PaintClient(const StyledControl& control, HDC dc) {
    RECT client;
    GetClientRect(control.window, &client);
    switch (control.kind) {
    case StyledKind::PushButton: PaintPushButton(control.window, dc, client); break;
    case StyledKind::CheckBox: PaintCheckBox(control.window, dc, client, false); break;
    case StyledKind::RadioButton: PaintCheckBox(control.window, dc, client, true); break;
    case StyledKind::GroupBox: PaintGroupBox(control.window, dc, client); break;
    case StyledKind::SpinButtons: PaintSpinButtons(control.window, dc, client); break;
    case StyledKind::ComboBox: PaintComboBox(control, dc, client); break;
    case StyledKind::EditBox:
    case StyledKind::DropDownList: break;  // their text is their own: only the frame is ours
    }
}

// Draws off screen and copies the result in one go, so the control never shows half a look.
void PaintBuffered(const StyledControl& control, HDC target) {
    RECT client;
    GetClientRect(control.window, &client);
    if (IsRectEmpty(&client)) return;
    // The combo box's edit is a child window that paints itself.
    for (HWND child = GetWindow(control.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT area;
        GetWindowRect(child, &area);
        MapWindowPoints(nullptr, control.window, reinterpret_cast<POINT*>(&area), 2);
        ExcludeClipRect(target, area.left, area.top, area.right, area.bottom);
    }
    UniqueMemoryDc memory(CreateCompatibleDC(target));
    UniqueGdiObject bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
    if (!memory || !bitmap) {
        PaintClient(control, target);
        return;
    }
    ScopedSelectObject selected(memory.get(), bitmap.get());
    PaintClient(control, memory.get());
    BitBlt(target, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

void OnPaint(const StyledControl& control, HDC given) {
    if (given) {
        ScopedDcState state(given);
        PaintClient(control, given);
        return;
    }
    ScopedPaint paint(control.window);
    if (control.kind == StyledKind::GroupBox)
        PaintClient(control, paint.dc());  // see-through: nothing to buffer
    else
        PaintBuffered(control, paint.dc());
}

// ---- the frame of edit boxes and drop-down lists ----

// The width of the border around the client area (scroll bars lie on one side only).
int FrameThickness(HWND window) {
    RECT outer, inner;
    GetWindowRect(window, &outer);
    GetClientRect(window, &inner);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&inner), 2);
    LONG thickness = std::min({inner.left - outer.left, inner.top - outer.top, outer.right - inner.right,
                               outer.bottom - inner.bottom});
    return std::max(0, static_cast<int>(thickness));
}

// dc's origin is the window's top-left corner.
void DrawFrame(const StyledControl& control, HDC dc, int thickness) {
    RECT ring;
    GetWindowRect(control.window, &ring);
    OffsetRect(&ring, -ring.left, -ring.top);
    bool enabled = IsWindowEnabled(control.window);
    Frame(dc, ring, enabled ? Colours().frame : kDisabledBorder);
    bool readOnly =
        control.kind == StyledKind::EditBox && (GetWindowLongA(control.window, GWL_STYLE) & ES_READONLY);
    COLORREF inside = GetSysColor(enabled && !readOnly ? COLOR_WINDOW : COLOR_BTNFACE);
    for (int i = 1; i < thickness; ++i) {
        InflateRect(&ring, -1, -1);
        Frame(dc, ring, inside);
    }
}

void PaintNonClient(const StyledControl& control, WPARAM region) {
    HWND window = control.window;
    int thickness = FrameThickness(window);
    if (thickness == 0) {
        CallWindowProcA(control.previous, window, WM_NCPAINT, region, 0);
        return;
    }
    // The control still paints the rest of its non-client area (scroll bars), but not under
    // our frame: drawing the classic edge first would flicker.
    RECT outer;
    GetWindowRect(window, &outer);
    UniqueGdiObject rest(CreateRectRgn(outer.left + thickness, outer.top + thickness, outer.right - thickness,
                                       outer.bottom - thickness));
    if (rest) {
        auto restRegion = static_cast<HRGN>(rest.get());
        if (region > 1) CombineRgn(restRegion, restRegion, reinterpret_cast<HRGN>(region), RGN_AND);
        CallWindowProcA(control.previous, window, WM_NCPAINT, reinterpret_cast<WPARAM>(restRegion), 0);
    }
    ScopedWindowDc dc(window);
    if (dc.get()) DrawFrame(control, dc.get(), thickness);
}

// ---- the styled window procedure ----

LRESULT CallPrevious(const StyledControl& control, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(control.previous, control.window, message, wParam, lParam);
}

// Messages on which the button procedure paints its new state straight onto the screen.
bool ChangesButtonLook(UINT message) {
    switch (message) {
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
        return true;
    }
    return false;
}

// The button would flash its classic look before ours; with redrawing switched off it skips
// its own painting, and we repaint once it is done.
LRESULT CallUnseen(const StyledControl& control, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = control.window;
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE)) return CallPrevious(control, message, wParam, lParam);
    CallPrevious(control, WM_SETREDRAW, FALSE, 0);
    LRESULT result = CallPrevious(control, message, wParam, lParam);
    if (IsWindow(window)) {
        CallPrevious(control, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return result;
}

int PartAt(const StyledControl& control, LPARAM position) {
    if (control.kind != StyledKind::SpinButtons) return 0;
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    RECT first = SpinPart(control.window, 1);
    return PtInRect(&first, point) ? 1 : 2;
}

void SetHot(HWND window, int part) {
    if (mouse.hot == window && mouse.hotPart == part) return;
    if (mouse.hot && mouse.hot != window) InvalidateRect(mouse.hot, nullptr, FALSE);
    mouse.hot = window;
    mouse.hotPart = part;
    if (!window) return;
    TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, window, 0};
    TrackMouseEvent(&leave);
    InvalidateRect(window, nullptr, FALSE);
}

LRESULT HandleFramed(const StyledControl& control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCPAINT:
        PaintNonClient(control, wParam);
        return 0;
    case WM_PRINT: {
        auto dc = reinterpret_cast<HDC>(wParam);
        LRESULT result;
        {
            ScopedDcState state(dc);  // an edit box leaves its text clipping on the DC
            result = CallPrevious(control, message, wParam, lParam);
        }
        bool skip = (lParam & PRF_CHECKVISIBLE) && !IsWindowVisible(control.window);
        int thickness = FrameThickness(control.window);
        if ((lParam & PRF_NONCLIENT) && !skip && thickness > 0) {
            ScopedDcState state(dc);
            DrawFrame(control, dc, thickness);
        }
        return result;
    }
    case WM_ENABLE:
    case EM_SETREADONLY: {
        LRESULT result = CallPrevious(control, message, wParam, lParam);
        RedrawWindow(control.window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
        return result;
    }
    }
    return CallPrevious(control, message, wParam, lParam);
}

LRESULT HandlePainted(const StyledControl& control, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = control.window;
    bool button = control.kind == StyledKind::PushButton || control.kind == StyledKind::CheckBox ||
                  control.kind == StyledKind::RadioButton || control.kind == StyledKind::GroupBox;
    bool tracksMouse = control.kind != StyledKind::GroupBox;
    switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        OnPaint(control, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        if (control.kind != StyledKind::GroupBox) return 1;  // the painter covers every pixel
        break;
    case WM_MOUSEMOVE:
        if (tracksMouse) SetHot(window, PartAt(control, lParam));
        break;
    case WM_MOUSELEAVE:
        if (mouse.hot == window) SetHot(nullptr, 0);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (control.kind == StyledKind::SpinButtons) {
            mouse.pressed = window;
            mouse.pressedPart = PartAt(control, lParam);
            InvalidateRect(window, nullptr, FALSE);
        }
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (mouse.pressed == window) {
            mouse.pressed = nullptr;
            InvalidateRect(window, nullptr, FALSE);
        }
        break;
    case WM_ENABLE:
        if (!button) InvalidateRect(window, nullptr, FALSE);
        break;
    }
    if (button && ChangesButtonLook(message)) return CallUnseen(control, message, wParam, lParam);
    return CallPrevious(control, message, wParam, lParam);
}

void TakeOutOfStyle(HWND window);

// Our procedure still sits in the chain of a control that is no longer styled.
LRESULT Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = std::find_if(forwardedControls.begin(), forwardedControls.end(),
                              [window](const auto& entry) { return entry.first == window; });
    if (found == forwardedControls.end()) return DefWindowProcA(window, message, wParam, lParam);
    WNDPROC previous = found->second;
    if (message == WM_NCDESTROY) forwardedControls.erase(found);
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

LRESULT CALLBACK StyledProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const StyledControl* found = FindStyled(window);
    if (!found) return Forward(window, message, wParam, lParam);
    StyledControl control = *found;  // the list may change while the message is handled
    if (message == WM_DESTROY) {
        // The control tidies up with its own procedure first, then leaves the style.
        LRESULT result = CallPrevious(control, message, wParam, lParam);
        TakeOutOfStyle(window);
        return result;
    }
    bool framed = control.kind == StyledKind::EditBox || control.kind == StyledKind::DropDownList;
    return framed ? HandleFramed(control, message, wParam, lParam) : HandlePainted(control, message, wParam, lParam);
}

// ---- putting controls under the style and taking them out ----

std::optional<StyledKind> KindOf(HWND window) {
    char name[32] = {};
    if (!GetClassNameA(window, name, sizeof name)) return std::nullopt;
    auto is = [&name](const char* className) { return lstrcmpiA(name, className) == 0; };
    LONG style = GetWindowLongA(window, GWL_STYLE);
    if (is("Button")) {
        bool pushLike = style & BS_PUSHLIKE;
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            if (style & BS_BITMAP) return std::nullopt;
            return StyledKind::PushButton;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return pushLike ? StyledKind::PushButton : StyledKind::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return pushLike ? StyledKind::PushButton : StyledKind::RadioButton;
        case BS_GROUPBOX:
            return StyledKind::GroupBox;
        }
        return std::nullopt;  // owner-drawn and user buttons draw themselves
    }
    if (is("Edit")) {
        char parent[32] = {};
        GetClassNameA(GetParent(window), parent, sizeof parent);
        if (lstrcmpiA(parent, "SysIPAddress32") == 0) return std::nullopt;
        return StyledKind::EditBox;
    }
    if (is("ComboBox")) return (style & 3) == CBS_SIMPLE ? std::nullopt : std::optional(StyledKind::ComboBox);
    if (is("ComboLBox")) return StyledKind::DropDownList;
    if (is("msctls_updown32")) return StyledKind::SpinButtons;
    return std::nullopt;
}

void PutUnderStyle(HWND window) {
    if (FindStyled(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return;
    std::optional<StyledKind> kind = KindOf(window);
    if (!kind) return;
    WNDPROC previous;
    auto forwarded = std::find_if(forwardedControls.begin(), forwardedControls.end(),
                                  [window](const auto& entry) { return entry.first == window; });
    if (forwarded != forwardedControls.end()) {
        previous = forwarded->second;  // our procedure never left its chain
        forwardedControls.erase(forwarded);
    } else {
        previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StyledProc)));
        if (!previous) return;  // it cannot be styled and keeps its normal look
    }
    styledControls.push_back({window, *kind, previous});
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

void TakeOutOfStyle(HWND window) {
    StyledControl* found = FindStyled(window);
    if (!found) return;
    StyledControl control = *found;
    styledControls.erase(styledControls.begin() + (found - styledControls.data()));
    if (mouse.hot == window) mouse.hot = nullptr;
    if (mouse.pressed == window) mouse.pressed = nullptr;
    if (GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(StyledProc))
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control.previous));
    else
        forwardedControls.emplace_back(window, control.previous);
    // Not painted at once: a change of scheme passes through "off", and painting the classic
    // look on the way would flash.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

BOOL CALLBACK StyleDescendant(HWND window, LPARAM) {
    PutUnderStyle(window);
    return TRUE;
}

BOOL CALLBACK StyleTopLevel(HWND window, LPARAM) {
    PutUnderStyle(window);
    EnumChildWindows(window, StyleDescendant, 0);
    return TRUE;
}

// Catches every window of the thread as it is created, message boxes and dialogs included.
LRESULT CALLBACK StyleCreatedWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == WM_CREATE) PutUnderStyle(call->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int SwitchOff() {
    // The list is emptied even without a hook, so a failed hook cannot strand styled controls.
    while (!styledControls.empty()) TakeOutOfStyle(styledControls.back().window);
    if (!styleHook) return 0;
    return UnhookWindowsHookEx(std::exchange(styleHook, nullptr));
}

}  // namespace

int SetVisualStyle(int scheme) {
    currentScheme = scheme;
    if (scheme < 1 || scheme > 3) return SwitchOff();
    SwitchOff();
    EnumThreadWindows(GetCurrentThreadId(), StyleTopLevel, 0);
    styleHook = SetWindowsHookExA(WH_CALLWNDPROC, StyleCreatedWindows, nullptr, GetCurrentThreadId());
    return 1;
}

std::optional<StyledKind> StyledKindOf(HWND window) {
    const StyledControl* found = FindStyled(window);
    return found ? std::optional(found->kind) : std::nullopt;
}

size_t StyledControlCount() { return styledControls.size(); }
