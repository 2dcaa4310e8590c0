// The main window's thirteen controls, in creation order (which is also their z-order, first
// on top). The window is built by walking this table, and the tests walk it to check what
// was built.
#pragma once

#include <windows.h>

#include <span>

enum class ControlKind { Label, Button, Edit, OpenFileDialog };
enum class ControlFont { Normal12, Bold20 };
enum class ControlEvent {
    None, ShowAppMenu, FillWithCurrentTime, ApplyEditedTimes, ShowFileTimes, OpenChosenFile,
};

struct ControlSpec {
    ControlKind kind;
    const char* name;
    int x, y, width, height;  // client coordinates of MainWindow
    const char* text;
    bool tabStop;
    DWORD style;     // the kind's own style bits, beyond WS_CHILD, WS_VISIBLE and WS_TABSTOP
    DWORD exStyle;
    UINT textFormat; // DrawText alignment of a label
    ControlFont font;
    ControlEvent event;
};

// Index of each control in the layout, under its name.
enum ControlIndex : int {
    标签1, 系统时间, 通用对话框1, 设置时间, 取出时间, 标签4, 标签3, 标签2,
    访问时间, 修改时间, 创建时间, 浏览, 文件路径, ControlCount,
};

inline constexpr DWORD kButtonStyle = BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
inline constexpr DWORD kPathEditStyle = ES_LEFT | ES_AUTOHSCROLL;
inline constexpr DWORD kTimeEditStyle = ES_CENTER | ES_AUTOHSCROLL;

inline constexpr ControlSpec kMainWindowLayout[ControlCount] = {
    {ControlKind::Label, "标签1", 353, 3, 33, 23, "V1", false, 0, 0, DT_LEFT, ControlFont::Bold20, ControlEvent::ShowAppMenu},
    {ControlKind::Button, "系统时间", 153, 193, 63, 23, "系统时间", true, kButtonStyle, 0, 0, ControlFont::Normal12, ControlEvent::FillWithCurrentTime},
    {ControlKind::OpenFileDialog, "通用对话框1", 3, 3, 13, 13, "", false, 0, 0, 0, ControlFont::Normal12, ControlEvent::None},
    {ControlKind::Button, "设置时间", 273, 193, 63, 23, "设置时间", true, kButtonStyle, 0, 0, ControlFont::Normal12, ControlEvent::ApplyEditedTimes},
    {ControlKind::Button, "取出时间", 33, 193, 63, 23, "取出时间", true, kButtonStyle, 0, 0, ControlFont::Normal12, ControlEvent::ShowFileTimes},
    {ControlKind::Label, "标签4", 13, 153, 83, 23, "访问时间：", false, 0, 0, DT_CENTER, ControlFont::Normal12, ControlEvent::None},
    {ControlKind::Label, "标签3", 13, 113, 83, 23, "修改时间：", false, 0, 0, DT_CENTER, ControlFont::Normal12, ControlEvent::None},
    {ControlKind::Label, "标签2", 13, 72, 83, 23, "创建时间：", false, 0, 0, DT_CENTER, ControlFont::Normal12, ControlEvent::None},
    {ControlKind::Edit, "访问时间", 113, 153, 233, 23, "", true, kTimeEditStyle, WS_EX_STATICEDGE, 0, ControlFont::Normal12, ControlEvent::None},
    {ControlKind::Edit, "修改时间", 113, 113, 233, 23, "", true, kTimeEditStyle, WS_EX_STATICEDGE, 0, ControlFont::Normal12, ControlEvent::None},
    {ControlKind::Edit, "创建时间", 113, 73, 233, 23, "", true, kTimeEditStyle, WS_EX_STATICEDGE, 0, ControlFont::Normal12, ControlEvent::None},
    {ControlKind::Button, "浏览", 303, 33, 53, 23, "打开", true, kButtonStyle, 0, 0, ControlFont::Normal12, ControlEvent::OpenChosenFile},
    {ControlKind::Edit, "文件路径", 13, 33, 283, 23, "", true, kPathEditStyle, WS_EX_STATICEDGE, 0, ControlFont::Normal12, ControlEvent::None},
};

// The first control that gets a window identifier; none gets IDOK (1) or IDCANCEL (2).
inline constexpr int kFirstControlId = 100;
inline constexpr int ControlId(ControlIndex index) { return kFirstControlId + index; }

// Tab order: the creation order read backwards, tab-stop controls only.
inline constexpr ControlIndex kTabOrder[] = {
    文件路径, 浏览, 创建时间, 修改时间, 访问时间, 取出时间, 设置时间, 系统时间,
};

inline constexpr char kMainWindowTitle[] = "Velkor文件时间修改器（Brisane）";
inline constexpr int kMainWindowWidth = 380;
inline constexpr int kMainWindowHeight = 250;
inline constexpr char kControlFace[] = "宋体";
