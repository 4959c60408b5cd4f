// Dialog templates as data: a dialog's caption, font, size in dialog units,
// style, and its ordered list of controls. Template order is Tab order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

inline constexpr int IDC_STATIC = -1;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDHELP = 9;
inline constexpr int ID_HELP = 57670;  // the framework's Help command
inline constexpr int ID_APPLY_NOW = 12321;

enum class ControlKind {
    PushButton,
    CheckBox,
    RadioButton,
    Edit,
    Static,
    GroupBox,
    Icon,
    ComboBox,  // drop-down list
    ListBox,
    TabControl,
    Hosted,  // an automation control created by CLSID
};

// Control style flags.
enum ControlStyle : std::uint32_t {
    CS_None = 0,
    CS_Disabled = 1u << 0,
    CS_Hidden = 1u << 1,
    CS_DefaultButton = 1u << 2,
    CS_Auto = 1u << 3,        // automatic check box / radio button
    CS_Group = 1u << 4,       // starts a group (radio buttons)
    CS_ReadOnly = 1u << 5,
    CS_Sorted = 1u << 6,
    CS_MultiLine = 1u << 7,
    CS_VScroll = 1u << 8,
    CS_HScroll = 1u << 9,
    CS_AutoVScroll = 1u << 10,
    CS_AutoHScroll = 1u << 11,
    CS_Border = 1u << 12,
    CS_TabStop = 1u << 13,
    CS_NoPrefix = 1u << 14,   // static text shown without mnemonic processing
    CS_Notify = 1u << 15,
    CS_Sunken = 1u << 16,
};

// A rectangle in dialog units (or in pixels where a function says so).
struct Rect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    bool operator==(const Rect&) const = default;
};

struct ControlTemplate {
    int id = IDC_STATIC;
    ControlKind kind = ControlKind::Static;
    std::string text;
    Rect rect;
    std::uint32_t style = CS_None;
    std::vector<std::string> items;  // list items supplied by the template
    std::string clsid;               // Hosted only
    int iconId = 0;                  // Icon only
    // The name given to assistive technology. Empty: the control's own text,
    // or for a control without text the text of the nearest static label
    // before it in template order (its trailing colon dropped).
    std::string accessibleName;
};

enum DialogStyle : std::uint32_t {
    DS_None = 0,
    DS_Child = 1u << 0,        // a page inside another window; no caption
    DS_SysMenu = 1u << 1,
    DS_MinimizeBox = 1u << 2,
    DS_ModalFrame = 1u << 3,
    DS_Disabled = 1u << 4,
    DS_AppWindow = 1u << 5,    // listed in the task bar
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    std::string fontName = "MS Sans Serif";
    int pointSize = 10;
    int cx = 0;  // dialog units
    int cy = 0;
    std::uint32_t style = DS_None;
    std::vector<ControlTemplate> controls;

    const ControlTemplate* Find(int controlId) const;
};

}  // namespace ui
