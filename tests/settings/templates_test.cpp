// Templates 138 to 143 of the reader settings sheet: captions (the tab
// texts), sizes, fonts, styles, every control with its exact text and initial
// state, the group boxes holding their buttons, radio groups (one per box on
// General Settings, one per button elsewhere), and no overlaps.
#include "pages/layout_check.h"

#include "res/settings_templates.h"

#include <algorithm>
#include <vector>

namespace {

using layoutcheck::CheckBoxHolds;
using layoutcheck::Expected;
using K = ui::ControlKind;
constexpr int S = ui::IDC_STATIC;

struct SheetPageRow {
    const ui::DialogTemplate& (*tpl)();
    int id;
    const char* caption;
    int cx;
    int cy;
    bool disabled;
};

TEST(SettingsTemplates, CaptionsSizesAndStyles)
{
    const SheetPageRow rows[] = {
        {res::SettingsTemplate138, 138, "General Settings", 324, 183, false},
        {res::SettingsTemplate139, 139, "Pre/Postamble", 326, 204, false},
        {res::SettingsTemplate140, 140, "RS232", 326, 177, false},
        {res::SettingsTemplate141, 141, "Track Settings", 320, 182, true},
        {res::SettingsTemplate142, 142, "Output Format", 324, 180, true},
        {res::SettingsTemplate143, 143, "MSR Data Edit", 325, 180, true},
    };
    for (const SheetPageRow& row : rows) {
        const ui::DialogTemplate& t = row.tpl();
        EXPECT_EQ(t.id, row.id);
        EXPECT_EQ(t.caption, row.caption);
        EXPECT_EQ(t.cx, row.cx) << row.id;
        EXPECT_EQ(t.cy, row.cy) << row.id;
        EXPECT_EQ(t.fontName, "MS Sans Serif") << row.id;
        EXPECT_EQ(t.pointSize, 8) << row.id;
        EXPECT_EQ((t.style & ui::DS_Disabled) != 0, row.disabled) << row.id;
        layoutcheck::CheckGeometry(t);
        for (const auto& c : t.controls) {
            if (c.kind == K::ComboBox || c.kind == K::ListBox) {
                EXPECT_TRUE(c.items.empty()) << row.id << " list " << c.id;
            }
            if (c.kind == K::Edit) {
                EXPECT_EQ(c.text, "") << row.id << " edit " << c.id;
            }
            if (c.kind == K::RadioButton || c.kind == K::CheckBox) {
                EXPECT_NE(c.style & ui::CS_Auto, 0u) << row.id << " " << c.id << " is automatic";
            }
            // Only the Help button carries the framework's Help command.
            if (c.kind == K::PushButton && c.text == "Help") {
                EXPECT_EQ(c.id, ui::ID_HELP) << row.id;
            }
        }
    }
}

TEST(SettingsTemplates, GeneralSettings)
{
    const ui::DialogTemplate& t = res::SettingsTemplate138();
    layoutcheck::CheckControls(t, {
                                      {1069, K::RadioButton, "MSR Reading Enabled"},
                                      {1070, K::RadioButton, "MSR Reading Disabled"},
                                      {1050, K::RadioButton, "IBM PC/AT"},
                                      {1053, K::RadioButton, "IBM PS/2, models 25,30"},
                                      {1054, K::RadioButton, "IBM PS/2, models 50,60,80"},
                                      {1055, K::RadioButton, "IBM PS/2, models 70"},
                                      {1051, K::RadioButton, "Macintosh with ADB"},
                                      {1052, K::RadioButton, "RS232 Interface"},
                                      {1071, K::RadioButton, "Raw Data, Not Decoded"},
                                      {1074, K::RadioButton, "Decoding In Two Swiping Direction"},
                                      {1072, K::RadioButton, "Magnetic Head Move Along Encoding Way"},
                                      {1073, K::RadioButton, "Magnetic Head Move Against Encoding Way"},
                                      {1056, K::RadioButton, "OFF"},
                                      {1057, K::RadioButton, "LOW"},
                                      {1058, K::RadioButton, "HIGH"},
                                      {1060, K::RadioButton, "2 ms"},
                                      {1061, K::RadioButton, "5 ms"},
                                      {1062, K::RadioButton, "10 ms"},
                                      {1063, K::RadioButton, "20 ms"},
                                      {1064, K::RadioButton, "50 ms"},
                                      {1065, K::RadioButton, "100 ms"},
                                      {1059, K::GroupBox, "Inter-Character Delay"},
                                      {S, K::GroupBox, "MSR Reading"},
                                      {S, K::GroupBox, "Terminal Type"},
                                      {S, K::GroupBox, "Deocding Method"},
                                      {S, K::GroupBox, "Beep"},
                                      {1067, K::PushButton, "Default  "},
                                      {ui::ID_HELP, K::PushButton, "Help", true},
                                      {1068, K::PushButton, "Keyboard Reference", true},
                                  });
    const struct {
        const char* box;
        std::vector<int> radios;
    } groups[] = {
        {"MSR Reading", {1069, 1070}},
        {"Terminal Type", {1050, 1053, 1054, 1055, 1051, 1052}},
        {"Deocding Method", {1071, 1074, 1072, 1073}},
        {"Beep", {1056, 1057, 1058}},
        {"Inter-Character Delay", {1060, 1061, 1062, 1063, 1064, 1065}},
    };
    // Each box's radios form one group run: the first starts it, the others
    // follow it directly in template order.
    for (const auto& g : groups) {
        CheckBoxHolds(t, g.box, g.radios);
        std::vector<int> run;
        bool inRun = false;
        for (const auto& c : t.controls) {
            if (c.kind == K::RadioButton && c.id == g.radios.front()) {
                EXPECT_NE(c.style & ui::CS_Group, 0u) << g.box;
                inRun = true;
            } else if (inRun && ((c.style & ui::CS_Group) != 0 || c.kind != K::RadioButton)) {
                inRun = false;
            }
            if (inRun) {
                run.push_back(c.id);
            }
        }
        std::vector<int> expected = g.radios;
        std::sort(expected.begin(), expected.end());
        std::sort(run.begin(), run.end());
        EXPECT_EQ(run, expected) << g.box;
    }
}

TEST(SettingsTemplates, LayoutPagesControls)
{
    const ui::DialogTemplate& t139 = res::SettingsTemplate139();
    layoutcheck::CheckControls(t139, {
                                         {1078, K::GroupBox, "Terminator"},
                                         {1079, K::RadioButton, "Enter(CR/LF)"},
                                         {1080, K::RadioButton, "CR"},
                                         {1081, K::RadioButton, "LF"},
                                         {1082, K::RadioButton, "None"},
                                         {1083, K::Static, "Preamble:"},
                                         {1084, K::Edit, ""},
                                         {1085, K::Static, "Postamble:"},
                                         {1086, K::Edit, ""},
                                         {S, K::Static, "Non-Printable Char Input:"},
                                         {1087, K::ComboBox, ""},
                                         {1088, K::ComboBox, ""},
                                         {1068, K::PushButton, "Keyboard Reference"},
                                         {1089, K::PushButton, "Default"},
                                         {ui::ID_HELP, K::PushButton, "Help"},
                                     });
    CheckBoxHolds(t139, "Terminator", {1079, 1080, 1081, 1082});

    const ui::DialogTemplate& t140 = res::SettingsTemplate140();
    layoutcheck::CheckControls(t140, {
                                         {1093, K::GroupBox, "Baud Rate"},
                                         {1110, K::RadioButton, "2400"},
                                         {1111, K::RadioButton, "4800"},
                                         {1112, K::RadioButton, "9600"},
                                         {1113, K::RadioButton, "19200"},
                                         {1094, K::GroupBox, "Parity"},
                                         {1095, K::RadioButton, "Odd"},
                                         {1096, K::RadioButton, "Even"},
                                         {1097, K::RadioButton, "Mark"},
                                         {1098, K::RadioButton, "Space"},
                                         {1099, K::RadioButton, "None"},
                                         {1100, K::GroupBox, "Data Bits"},
                                         {1101, K::RadioButton, "7 Bits"},
                                         {1102, K::RadioButton, "8 Bits"},
                                         {1103, K::GroupBox, "Handshaking"},
                                         {1104, K::RadioButton, "X-On/X-Off"},
                                         {1105, K::RadioButton, "RTS/CTS"},
                                         {S, K::GroupBox, "Stop Bits"},
                                         {1106, K::RadioButton, "1 Bit"},
                                         {1107, K::RadioButton, "2 Bit"},
                                         {S, K::Static, "X-On(Decimal):"},
                                         {1108, K::Edit, ""},
                                         {S, K::Static, "X-Off(Decimal):"},
                                         {1109, K::Edit, ""},
                                         {1092, K::PushButton, "Default  "},
                                         {ui::ID_HELP, K::PushButton, "Help"},
                                     });
    CheckBoxHolds(t140, "Baud Rate", {1110, 1111, 1112, 1113});
    CheckBoxHolds(t140, "Parity", {1095, 1096, 1097, 1098, 1099});
    CheckBoxHolds(t140, "Data Bits", {1101, 1102});
    CheckBoxHolds(t140, "Handshaking", {1104, 1105});
    CheckBoxHolds(t140, "Stop Bits", {1106, 1107});
    EXPECT_LT(t140.Find(1108)->rect.cx, t139.Find(1084)->rect.cx) << "X-On is a narrow box";

    const ui::DialogTemplate& t141 = res::SettingsTemplate141();
    layoutcheck::CheckControls(t141, {
                                         {S, K::GroupBox, "Track Select"},
                                         {1115, K::RadioButton, "Track1 Only"},
                                         {1116, K::RadioButton, "Track2 Only"},
                                         {1117, K::RadioButton, "Track3 Only"},
                                         {1118, K::RadioButton, "Track1 And Track2"},
                                         {1119, K::RadioButton, "Track2 And Track3"},
                                         {1120, K::RadioButton, "Track1 And Track3"},
                                         {1121, K::RadioButton, "All Three Tracks"},
                                         {1122, K::RadioButton, "Any Track"},
                                         {1128, K::CheckBox, "Send Start/End Sentinel"},
                                         {1129, K::CheckBox, "Only Send Account Number For Track 2"},
                                         {S, K::Static, "Select TrackSeparator:"},
                                         {1123, K::Edit, ""},
                                         {S, K::Static, "Non-Printable Char Input:"},
                                         {1124, K::ComboBox, ""},
                                         {1068, K::PushButton, "Keyboard Reference"},
                                         {1067, K::PushButton, "Default"},
                                         {ui::ID_HELP, K::PushButton, "Help"},
                                     });
    CheckBoxHolds(t141, "Track Select", {1115, 1116, 1117, 1118, 1119, 1120, 1121, 1122});
    EXPECT_EQ(t141.Find(1115)->rect.y, t141.Find(1117)->rect.y) << "first row";
    EXPECT_EQ(t141.Find(1118)->rect.y, t141.Find(1120)->rect.y) << "second row";
    EXPECT_LT(t141.Find(1115)->rect.y, t141.Find(1118)->rect.y);
    EXPECT_LT(t141.Find(1118)->rect.y, t141.Find(1121)->rect.y);

    const ui::DialogTemplate& t142 = res::SettingsTemplate142();
    layoutcheck::CheckControls(t142, {
                                         {S, K::GroupBox, "Data Format"},
                                         {1130, K::RadioButton, "QLR Format"},
                                         {1131, K::RadioButton, "UVX RS232 Format"},
                                         {1132, K::RadioButton, "Magnor RS232 Format"},
                                         {S, K::GroupBox, "UVX LRC Option"},
                                         {1133, K::RadioButton, "Send  LRC"},
                                         {1134, K::RadioButton, "Do Not Send LRC"},
                                         {S, K::GroupBox, "Magnor Options"},
                                         {1135, K::RadioButton, "Unbuffered mode"},
                                         {1136, K::RadioButton, "Buffered mode"},
                                         {1137, K::RadioButton, "I/R command"},
                                         {1138, K::RadioButton, "+/- command"},
                                         {1139, K::RadioButton, "Send STX"},
                                         {1140, K::RadioButton, "Not send STX"},
                                         {1141, K::RadioButton, "Send  ESC"},
                                         {1142, K::RadioButton, "Not send ESC"},
                                         {1143, K::RadioButton, "Send CR"},
                                         {1144, K::RadioButton, "Not send CR"},
                                         {1145, K::RadioButton, "Send ETX"},
                                         {1146, K::RadioButton, "Not send ETX"},
                                         {1067, K::PushButton, "Default"},
                                         {ui::ID_HELP, K::PushButton, "Help"},
                                     });
    CheckBoxHolds(t142, "Data Format", {1130, 1131, 1132});
    CheckBoxHolds(t142, "UVX LRC Option", {1133, 1134});
    CheckBoxHolds(t142, "Magnor Options", {1135, 1136, 1137, 1138, 1139, 1140, 1141, 1142, 1143, 1144, 1145, 1146});
    // Six untitled boxes, each framing exactly one pair.
    int untitled = 0;
    for (const auto& box : t142.controls) {
        if (box.kind != K::GroupBox || !box.text.empty()) {
            continue;
        }
        ++untitled;
        int held = 0;
        for (const auto& c : t142.controls) {
            held += (c.kind == K::RadioButton && layoutcheck::Inside(c.rect, box.rect)) ? 1 : 0;
        }
        EXPECT_EQ(held, 2) << "untitled box " << untitled;
    }
    EXPECT_EQ(untitled, 6);

    const ui::DialogTemplate& t143 = res::SettingsTemplate143();
    layoutcheck::CheckControls(t143, {
                                         {S, K::GroupBox, "Data Format"},
                                         {1150, K::RadioButton, "Credit Card"},
                                         {1151, K::RadioButton, "DMV"},
                                         {1152, K::RadioButton, "AAMVA"},
                                         {1153, K::RadioButton, "Others"},
                                         {S, K::GroupBox, "Track Setting"},
                                         {1156, K::CheckBox, "Track1"},
                                         {1157, K::CheckBox, "Track2"},
                                         {1158, K::CheckBox, "Track3", true},
                                         {S, K::GroupBox, "Output Method"},
                                         {1167, K::RadioButton, "Matched"},
                                         {1168, K::RadioButton, "Unmatched"},
                                         {S, K::GroupBox, "Data Edit"},
                                         {1154, K::RadioButton, "Enable"},
                                         {1155, K::RadioButton, "Disable"},
                                         {S, K::Static, "Formula:"},
                                         {1149, K::ListBox, ""},
                                         {1165, K::PushButton, "Keyboard Reference"},
                                         {ui::ID_HELP, K::PushButton, "Help"},
                                         {1166, K::PushButton, "New Field"},
                                         {1159, K::PushButton, "Add"},
                                         {1160, K::PushButton, "Edit"},
                                         {1161, K::PushButton, "Delete"},
                                         {1162, K::PushButton, "Clear"},
                                         {1163, K::PushButton, "Test", true},
                                     });
    CheckBoxHolds(t143, "Data Format", {1150, 1151, 1152, 1153});
    CheckBoxHolds(t143, "Track Setting", {1156, 1157, 1158});
    CheckBoxHolds(t143, "Output Method", {1167, 1168});
    CheckBoxHolds(t143, "Data Edit", {1154, 1155});
    const ui::ControlTemplate* formula = t143.Find(1149);
    EXPECT_NE(formula->style & ui::CS_Notify, 0u);
    EXPECT_EQ(formula->style & ui::CS_Sorted, 0u);
}

TEST(SettingsTemplates, LayoutPagesRadiosEachStartAGroup)
{
    using Getter = const ui::DialogTemplate& (*)();
    const Getter templates[] = {res::SettingsTemplate139, res::SettingsTemplate140, res::SettingsTemplate141,
                                res::SettingsTemplate142, res::SettingsTemplate143};
    for (Getter get : templates) {
        const ui::DialogTemplate& t = get();
        for (const auto& c : t.controls) {
            if (c.kind == K::RadioButton) {
                EXPECT_NE(c.style & ui::CS_Group, 0u) << t.id << " radio " << c.id;
            }
        }
    }
}

}  // namespace
