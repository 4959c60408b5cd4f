// Dialog templates 138 to 143 of the reader settings sheet. Group boxes are
// placed so that they enclose the buttons listed after them, and nothing else
// overlaps. On the General Settings page the radio buttons of one box form
// one exclusive group; on the five other pages every radio button starts a
// group of its own, so checking one never clears another.
#include "res/settings_templates.h"

#include <string>
#include <utility>

namespace res {
namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::DialogTemplate;
using ui::Rect;

constexpr std::uint32_t kGroupBox = ui::CS_Group;
constexpr std::uint32_t kButton = ui::CS_Group | ui::CS_TabStop;
constexpr std::uint32_t kLoneRadio = ui::CS_Auto | ui::CS_Group | ui::CS_TabStop;
constexpr std::uint32_t kAutoCheck = ui::CS_Auto | ui::CS_Group | ui::CS_TabStop;
constexpr std::uint32_t kEdit = ui::CS_Border | ui::CS_TabStop | ui::CS_AutoHScroll | ui::CS_Group;
constexpr std::uint32_t kDropList = ui::CS_VScroll | ui::CS_TabStop | ui::CS_Group;

ControlTemplate Make(int id, ControlKind kind, std::string text, Rect r, std::uint32_t style)
{
    ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.text = std::move(text);
    c.rect = r;
    c.style = style;
    return c;
}

ControlTemplate Group(int id, std::string text, Rect r)
{
    return Make(id, ControlKind::GroupBox, std::move(text), r, kGroupBox);
}

ControlTemplate Label(std::string text, Rect r)
{
    return Make(ui::IDC_STATIC, ControlKind::Static, std::move(text), r, ui::CS_None);
}

ControlTemplate Button(int id, std::string text, Rect r, std::uint32_t extra = ui::CS_None)
{
    return Make(id, ControlKind::PushButton, std::move(text), r, kButton | extra);
}
ControlTemplate Radio(int id, std::string text, Rect r, std::uint32_t style = kLoneRadio)
{
    return Make(id, ControlKind::RadioButton, std::move(text), r, style);
}

DialogTemplate SheetPage(int id, const char* caption, int cx, int cy, std::uint32_t style = ui::DS_Child)
{
    DialogTemplate t;
    t.id = id;
    t.caption = caption;
    t.fontName = "MS Sans Serif";
    t.pointSize = 8;
    t.cx = cx;
    t.cy = cy;
    t.style = style;
    return t;
}

struct RadioRow {
    int id;
    const char* text;
};

// A run of radio buttons stacked in a group box, 13 units apart; y is the
// line under the box's title, the first button sits 2 units below it. On the
// General Settings page the first starts the group and the rest join it.
void AddStacked(DialogTemplate& t, std::initializer_list<RadioRow> rows, int x, int y, int cx, bool exclusive)
{
    y += 2;
    bool first = true;
    for (const RadioRow& r : rows) {
        std::uint32_t style = kLoneRadio;
        if (exclusive && !first) {
            style = ui::CS_Auto;
        }
        t.controls.push_back(Radio(r.id, r.text, {x, y, cx, 10}, style));
        first = false;
        y += 13;
    }
}

DialogTemplate BuildGeneralSet()
{
    DialogTemplate t = SheetPage(IDD_PP_GENERAL_SET, "General Settings", 324, 183);
    auto& c = t.controls;
    c.push_back(Group(ui::IDC_STATIC, "MSR Reading", {7, 7, 130, 40}));
    AddStacked(t, {{1069, "MSR Reading Enabled"}, {1070, "MSR Reading Disabled"}}, 15, 18, 114, true);
    c.push_back(Group(ui::IDC_STATIC, "Terminal Type", {7, 52, 130, 92}));
    AddStacked(t,
               {{1050, "IBM PC/AT"},
                {1053, "IBM PS/2, models 25,30"},
                {1054, "IBM PS/2, models 50,60,80"},
                {1055, "IBM PS/2, models 70"},
                {1051, "Macintosh with ADB"},
                {1052, "RS232 Interface"}},
               15, 63, 114, true);
    c.push_back(Group(ui::IDC_STATIC, "Deocding Method", {143, 7, 174, 66}));
    AddStacked(t,
               {{1071, "Raw Data, Not Decoded"},
                {1074, "Decoding In Two Swiping Direction"},
                {1072, "Magnetic Head Move Along Encoding Way"},
                {1073, "Magnetic Head Move Against Encoding Way"}},
               151, 18, 160, true);
    c.push_back(Group(ui::IDC_STATIC, "Beep", {143, 78, 80, 53}));
    AddStacked(t, {{1056, "OFF"}, {1057, "LOW"}, {1058, "HIGH"}}, 151, 89, 64, true);
    // Inter-Character Delay: two columns of three.
    c.push_back(Group(1059, "Inter-Character Delay", {229, 78, 88, 53}));
    c.push_back(Radio(1060, "2 ms", {235, 91, 38, 10}));
    c.push_back(Radio(1061, "5 ms", {235, 104, 38, 10}, ui::CS_Auto));
    c.push_back(Radio(1062, "10 ms", {235, 117, 38, 10}, ui::CS_Auto));
    c.push_back(Radio(1063, "20 ms", {276, 91, 38, 10}, ui::CS_Auto));
    c.push_back(Radio(1064, "50 ms", {276, 104, 38, 10}, ui::CS_Auto));
    c.push_back(Radio(1065, "100 ms", {276, 117, 38, 10}, ui::CS_Auto));
    c.push_back(Button(1067, "Default  ", {7, 152, 60, 14}));
    c.push_back(Button(ui::ID_HELP, "Help", {73, 152, 50, 14}, ui::CS_Disabled));
    c.push_back(Button(1068, "Keyboard Reference", {129, 152, 80, 14}, ui::CS_Disabled));
    return t;
}

DialogTemplate BuildTerminator()
{
    DialogTemplate t = SheetPage(IDD_PP_TERMINATOR, "Pre/Postamble", 326, 204);
    auto& c = t.controls;
    c.push_back(Group(1078, "Terminator", {7, 7, 150, 70}));
    AddStacked(t, {{1079, "Enter(CR/LF)"}, {1080, "CR"}, {1081, "LF"}, {1082, "None"}}, 15, 19, 134, false);
    c.push_back(Make(1083, ControlKind::Static, "Preamble:", {7, 88, 45, 8}, ui::CS_None));
    c.push_back(Make(1084, ControlKind::Edit, "", {55, 86, 102, 12}, kEdit));
    c.push_back(Make(1085, ControlKind::Static, "Postamble:", {167, 88, 45, 8}, ui::CS_None));
    c.push_back(Make(1086, ControlKind::Edit, "", {215, 86, 104, 12}, kEdit));
    c.push_back(Label("Non-Printable Char Input:", {7, 106, 150, 8}));
    c.push_back(Make(1087, ControlKind::ComboBox, "", {7, 116, 150, 12}, kDropList));
    c.push_back(Label("Non-Printable Char Input:", {167, 106, 152, 8}));
    c.push_back(Make(1088, ControlKind::ComboBox, "", {167, 116, 152, 12}, kDropList));
    c.push_back(Button(1068, "Keyboard Reference", {7, 182, 80, 14}));
    c.push_back(Button(1089, "Default", {93, 182, 50, 14}));
    c.push_back(Button(ui::ID_HELP, "Help", {269, 182, 50, 14}));
    return t;
}

DialogTemplate BuildRS232Param()
{
    DialogTemplate t = SheetPage(IDD_PP_RS232_PARAM, "RS232", 326, 177);
    auto& c = t.controls;
    c.push_back(Group(1093, "Baud Rate", {7, 7, 70, 66}));
    AddStacked(t, {{1110, "2400"}, {1111, "4800"}, {1112, "9600"}, {1113, "19200"}}, 15, 19, 55, false);
    c.push_back(Group(1094, "Parity", {83, 7, 70, 79}));
    AddStacked(t, {{1095, "Odd"}, {1096, "Even"}, {1097, "Mark"}, {1098, "Space"}, {1099, "None"}}, 91, 19, 55,
               false);
    c.push_back(Group(1100, "Data Bits", {159, 7, 75, 40}));
    AddStacked(t, {{1101, "7 Bits"}, {1102, "8 Bits"}}, 167, 19, 60, false);
    c.push_back(Group(1103, "Handshaking", {240, 7, 79, 40}));
    AddStacked(t, {{1104, "X-On/X-Off"}, {1105, "RTS/CTS"}}, 248, 19, 64, false);
    c.push_back(Group(ui::IDC_STATIC, "Stop Bits", {159, 52, 75, 40}));
    AddStacked(t, {{1106, "1 Bit"}, {1107, "2 Bit"}}, 167, 64, 60, false);
    c.push_back(Label("X-On(Decimal):", {240, 56, 58, 8}));
    c.push_back(Make(1108, ControlKind::Edit, "", {300, 54, 19, 12}, kEdit));
    c.push_back(Label("X-Off(Decimal):", {240, 74, 58, 8}));
    c.push_back(Make(1109, ControlKind::Edit, "", {300, 72, 19, 12}, kEdit));
    c.push_back(Button(1092, "Default  ", {7, 156, 60, 14}));
    c.push_back(Button(ui::ID_HELP, "Help", {269, 156, 50, 14}));
    return t;
}

DialogTemplate BuildTrackSet()
{
    DialogTemplate t = SheetPage(IDD_PP_TRACK_SET, "Track Settings", 320, 182, ui::DS_Child | ui::DS_Disabled);
    auto& c = t.controls;
    c.push_back(Group(ui::IDC_STATIC, "Track Select", {7, 7, 306, 62}));
    // Three rows inside the box.
    const int cols[] = {15, 110, 205};
    const RadioRow rows[3][3] = {
        {{1115, "Track1 Only"}, {1116, "Track2 Only"}, {1117, "Track3 Only"}},
        {{1118, "Track1 And Track2"}, {1119, "Track2 And Track3"}, {1120, "Track1 And Track3"}},
        {{1121, "All Three Tracks"}, {1122, "Any Track"}, {0, nullptr}},
    };
    int y = 21;
    for (const auto& row : rows) {
        for (int i = 0; i < 3; ++i) {
            if (row[i].text != nullptr) {
                c.push_back(Radio(row[i].id, row[i].text, {cols[i], y, 90, 10}));
            }
        }
        y += 15;
    }
    c.push_back(Make(1128, ControlKind::CheckBox, "Send Start/End Sentinel", {7, 78, 150, 10}, kAutoCheck));
    c.push_back(
        Make(1129, ControlKind::CheckBox, "Only Send Account Number For Track 2", {7, 92, 180, 10}, kAutoCheck));
    c.push_back(Label("Select TrackSeparator:", {7, 110, 85, 8}));
    c.push_back(Make(1123, ControlKind::Edit, "", {95, 108, 40, 12}, kEdit));
    c.push_back(Label("Non-Printable Char Input:", {145, 110, 100, 8}));
    c.push_back(Make(1124, ControlKind::ComboBox, "", {248, 108, 65, 12}, kDropList));
    c.push_back(Button(1068, "Keyboard Reference", {7, 160, 80, 14}));
    c.push_back(Button(1067, "Default", {93, 160, 50, 14}));
    c.push_back(Button(ui::ID_HELP, "Help", {263, 160, 50, 14}));
    return t;
}

DialogTemplate BuildOutputFmt()
{
    DialogTemplate t = SheetPage(IDD_PP_OUTPUT_FMT, "Output Format", 324, 180, ui::DS_Child | ui::DS_Disabled);
    auto& c = t.controls;
    c.push_back(Group(ui::IDC_STATIC, "Data Format", {7, 7, 110, 53}));
    AddStacked(t, {{1130, "QLR Format"}, {1131, "UVX RS232 Format"}, {1132, "Magnor RS232 Format"}}, 15, 19, 96,
               false);
    c.push_back(Group(ui::IDC_STATIC, "UVX LRC Option", {7, 65, 110, 40}));
    AddStacked(t, {{1133, "Send  LRC"}, {1134, "Do Not Send LRC"}}, 15, 77, 96, false);
    // Magnor options: six untitled boxes, one pair of radios side by side in
    // each.
    c.push_back(Group(ui::IDC_STATIC, "Magnor Options", {123, 7, 194, 159}));
    const RadioRow pairs[6][2] = {
        {{1135, "Unbuffered mode"}, {1136, "Buffered mode"}},
        {{1137, "I/R command"}, {1138, "+/- command"}},
        {{1139, "Send STX"}, {1140, "Not send STX"}},
        {{1141, "Send  ESC"}, {1142, "Not send ESC"}},
        {{1143, "Send CR"}, {1144, "Not send CR"}},
        {{1145, "Send ETX"}, {1146, "Not send ETX"}},
    };
    int y = 18;
    for (const auto& pair : pairs) {
        c.push_back(Group(ui::IDC_STATIC, "", {129, y, 182, 22}));
        c.push_back(Radio(pair[0].id, pair[0].text, {135, y + 8, 85, 10}));
        c.push_back(Radio(pair[1].id, pair[1].text, {223, y + 8, 85, 10}));
        y += 24;
    }
    c.push_back(Button(1067, "Default", {7, 140, 50, 14}));
    c.push_back(Button(ui::ID_HELP, "Help", {63, 140, 50, 14}));
    return t;
}

DialogTemplate BuildMSREdit()
{
    DialogTemplate t = SheetPage(IDD_PP_MSR_EDIT, "MSR Data Edit", 325, 180, ui::DS_Child | ui::DS_Disabled);
    auto& c = t.controls;
    c.push_back(Group(ui::IDC_STATIC, "Data Format", {7, 7, 100, 66}));
    AddStacked(t, {{1150, "Credit Card"}, {1151, "DMV"}, {1152, "AAMVA"}, {1153, "Others"}}, 15, 19, 84, false);
    c.push_back(Group(ui::IDC_STATIC, "Track Setting", {113, 7, 100, 53}));
    c.push_back(Make(1156, ControlKind::CheckBox, "Track1", {121, 21, 84, 10}, kAutoCheck));
    c.push_back(Make(1157, ControlKind::CheckBox, "Track2", {121, 34, 84, 10}, kAutoCheck));
    c.push_back(Make(1158, ControlKind::CheckBox, "Track3", {121, 47, 84, 10}, kAutoCheck | ui::CS_Disabled));
    c.push_back(Group(ui::IDC_STATIC, "Output Method", {219, 7, 99, 40}));
    AddStacked(t, {{1167, "Matched"}, {1168, "Unmatched"}}, 227, 19, 84, false);
    c.push_back(Group(ui::IDC_STATIC, "Data Edit", {219, 52, 99, 40}));
    AddStacked(t, {{1154, "Enable"}, {1155, "Disable"}}, 227, 64, 84, false);
    c.push_back(Label("Formula:", {7, 80, 100, 8}));
    c.push_back(Make(1149, ControlKind::ListBox, "", {7, 90, 206, 66},
                     ui::CS_Notify | ui::CS_VScroll | ui::CS_Border | ui::CS_TabStop | ui::CS_Group));
    c.push_back(Button(1165, "Keyboard Reference", {219, 98, 99, 14}));
    c.push_back(Button(ui::ID_HELP, "Help", {7, 160, 50, 14}));
    c.push_back(Button(1166, "New Field", {219, 116, 48, 14}));
    c.push_back(Button(1159, "Add", {270, 116, 48, 14}));
    c.push_back(Button(1160, "Edit", {219, 134, 48, 14}));
    c.push_back(Button(1161, "Delete", {270, 134, 48, 14}));
    c.push_back(Button(1162, "Clear", {219, 152, 48, 14}));
    c.push_back(Button(1163, "Test", {270, 152, 48, 14}, ui::CS_Disabled));
    return t;
}

}  // namespace

const DialogTemplate& SettingsTemplate138()
{
    static const DialogTemplate t = BuildGeneralSet();
    return t;
}

const DialogTemplate& SettingsTemplate139()
{
    static const DialogTemplate t = BuildTerminator();
    return t;
}

const DialogTemplate& SettingsTemplate140()
{
    static const DialogTemplate t = BuildRS232Param();
    return t;
}

const DialogTemplate& SettingsTemplate141()
{
    static const DialogTemplate t = BuildTrackSet();
    return t;
}

const DialogTemplate& SettingsTemplate142()
{
    static const DialogTemplate t = BuildOutputFmt();
    return t;
}

const DialogTemplate& SettingsTemplate143()
{
    static const DialogTemplate t = BuildMSREdit();
    return t;
}

}  // namespace res
