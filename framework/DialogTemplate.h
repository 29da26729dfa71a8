#pragma once
// Dialog templates and menus as plain data, in dialog units, the way the program's resources
// describe every window. Turned into Qt widgets by CDialog at run time.

#include <cstdint>
#include <vector>

enum class ControlKind {
    Static,      // text label
    Icon,        // the application icon
    GroupBox,    // a titled frame drawn behind the controls it surrounds
    Edit,        // one-line edit box
    ListBox,
    ListView,    // report-style list: columns named by the text, "title|title|..."
    ComboBox,    // drop-down list
    PushButton,
    CheckBox,    // automatic check box
    RadioButton, // automatic radio button; the radio buttons of one window form one group
    Frame,       // sunken black frame (the picture)
    Placeholder, // hidden rectangle reserved for a file dialog's own controls
};

// Style bits, named after the platform styles they stand for.
namespace Style {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t TabStop = 1u << 0;
inline constexpr std::uint32_t Right = 1u << 1;        // text right-aligned
inline constexpr std::uint32_t Center = 1u << 2;       // text centred
inline constexpr std::uint32_t VCenter = 1u << 3;      // text vertically centred
inline constexpr std::uint32_t ReadOnly = 1u << 4;
inline constexpr std::uint32_t AutoHScroll = 1u << 5;
inline constexpr std::uint32_t Border = 1u << 6;
inline constexpr std::uint32_t VScroll = 1u << 7;
inline constexpr std::uint32_t Notify = 1u << 8;       // list and combo notify their owner
inline constexpr std::uint32_t Default = 1u << 9;      // the default push button
inline constexpr std::uint32_t Hidden = 1u << 10;
inline constexpr std::uint32_t Sort = 1u << 11;        // carried, but every list is filled at explicit positions
inline constexpr std::uint32_t NoIntegralHeight = 1u << 12;
inline constexpr std::uint32_t ExtendedSel = 1u << 13;  // a list where Shift and Ctrl select several entries
// An edit box holding a number: right-aligned, bordered, scrolling sideways, a tab stop.
inline constexpr std::uint32_t NumberBox = Right | AutoHScroll | Border | TabStop;
}  // namespace Style

struct ControlTemplate {
    int id;                   // -1 for static texts nobody refers to
    ControlKind kind;
    int x, y, width, height;  // dialog units
    const char* text;         // UTF-8
    std::uint32_t style;
};

// Window styles of a dialog template.
namespace DialogStyle {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t MinimizeBox = 1u << 0;
inline constexpr std::uint32_t ToolWindow = 1u << 1; // small caption, no taskbar button
inline constexpr std::uint32_t Child = 1u << 2;      // a panel inside another window
}  // namespace DialogStyle

struct DialogTemplate {
    int id;
    const char* title;   // UTF-8
    int width, height;   // dialog units
    const char* fontFace;
    int fontPoints;
    std::uint32_t style;
    int menuId;          // 0 when the dialog has no menu
    std::vector<ControlTemplate> controls;
};

struct MenuItemTemplate {
    const char* text;    // UTF-8; nullptr for a separator
    int command;         // 0 for a separator
    const char* prompt;  // string-table prompt ("description\ntooltip"), may be nullptr
};

struct MenuPopupTemplate {
    const char* text;
    std::vector<MenuItemTemplate> items;
};

struct MenuTemplate {
    int id;
    std::vector<MenuPopupTemplate> popups;
};
