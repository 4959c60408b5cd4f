// Dialog templates 129 to 133 of the tab pages. Every page is a hidden child
// dialog (the main window places and shows it); labels come before the
// control they name so that Tab order and accessible names follow them.
#include "res/page_templates.h"

#include <string>
#include <utility>

namespace res {
namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::DialogTemplate;
using ui::Rect;

constexpr std::uint32_t kReadOnlyEdit =
    ui::CS_ReadOnly | ui::CS_Border | ui::CS_TabStop | ui::CS_AutoHScroll;
constexpr std::uint32_t kAutoCheck = ui::CS_Auto | ui::CS_TabStop;
constexpr std::uint32_t kDropList = ui::CS_VScroll | ui::CS_TabStop;

ControlTemplate Label(std::string text, Rect r)
{
    ControlTemplate c;
    c.id = ui::IDC_STATIC;
    c.kind = ControlKind::Static;
    c.text = std::move(text);
    c.rect = r;
    return c;
}

ControlTemplate Control(int id, ControlKind kind, std::string text, Rect r, std::uint32_t style,
                        std::vector<std::string> items = {})
{
    ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.text = std::move(text);
    c.rect = r;
    c.style = style;
    c.items = std::move(items);
    return c;
}

DialogTemplate PageBase(int id, int cx, int cy)
{
    DialogTemplate t;
    t.id = id;
    t.fontName = "MS Sans Serif";
    t.pointSize = 10;
    t.cx = cx;
    t.cy = cy;
    t.style = ui::DS_Child;
    return t;
}

// One row of a display page: a label at the left and a read-only edit box
// right of it, ending at the page's right margin.
void AddField(DialogTemplate& t, const char* label, int labelWidth, int id, int y)
{
    const int editX = 7 + labelWidth + 3;
    t.controls.push_back(Label(label, {7, y + 2, labelWidth, 8}));
    t.controls.push_back(Control(id, ControlKind::Edit, "", {editX, y, t.cx - 7 - editX, 12}, kReadOnlyEdit));
}

DialogTemplate BuildControl()
{
    DialogTemplate t = PageBase(IDD_PAGE_CONTROL, 240, 164);
    auto& c = t.controls;
    // Left column: the Claimed indicator and the four operator check boxes.
    c.push_back(Label("Claimed", {7, 8, 40, 8}));
    c.push_back(Control(1011, ControlKind::CheckBox, "", {50, 7, 10, 10}, ui::CS_Disabled | ui::CS_TabStop));
    c.push_back(Control(1010, ControlKind::CheckBox, "AutoDisable", {7, 21, 95, 10}, kAutoCheck));
    c.push_back(Control(1013, ControlKind::CheckBox, "DeviceEnabled", {7, 34, 95, 10}, kAutoCheck));
    c.push_back(Control(1014, ControlKind::CheckBox, "FreezeEvents", {7, 47, 95, 10}, kAutoCheck));
    c.push_back(Control(1012, ControlKind::CheckBox, "DataEventEnabled", {7, 60, 95, 10}, kAutoCheck));
    // Right column: PowerNotify.
    c.push_back(Label("PowerNotify:", {112, 8, 56, 8}));
    c.push_back(Control(1031, ControlKind::ComboBox, "", {170, 6, 63, 12}, kDropList | ui::CS_Disabled,
                        {"DISABLED", "ENABLED"}));
    // Bottom: the named and numeric fields.
    const int labelW = 82;
    const int editX = 7 + labelW + 3;
    const struct {
        const char* label;
        int id;
        int width;
    } fields[] = {
        {"CapPowerReporting:", 1035, 90},
        {"PowerState:", 1034, 90},
        {"State:", 1033, 90},
        {"DataCount:", 1036, 90},
        {"CheckHealthText:", 1037, 240 - 7 - editX},  // the wider box
    };
    int y = 78;
    for (const auto& f : fields) {
        c.push_back(Label(f.label, {7, y + 2, labelW, 8}));
        c.push_back(Control(f.id, ControlKind::Edit, "", {editX, y, f.width, 12}, kReadOnlyEdit));
        y += 16;
    }
    return t;
}

DialogTemplate BuildTrackControl()
{
    DialogTemplate t = PageBase(IDD_PAGE_TRACK_CONTROL, 240, 159);
    auto& c = t.controls;
    // Left column: capability flags (read-only) and DecodeData, each an
    // untitled box right of its label; then two titled check boxes.
    const struct {
        const char* label;
        int id;
        std::uint32_t style;
    } flags[] = {
        {"CapISO", 1015, kAutoCheck | ui::CS_Disabled},
        {"CapJISOne", 1016, kAutoCheck | ui::CS_Disabled},
        {"CapJISTwo", 1017, kAutoCheck | ui::CS_Disabled},
        {"CapTransmitSentinels", 1018, kAutoCheck | ui::CS_Disabled},
        {"DecodeData", 1019, kAutoCheck},
    };
    int y = 7;
    for (const auto& f : flags) {
        c.push_back(Label(f.label, {7, y + 1, 90, 8}));
        c.push_back(Control(f.id, ControlKind::CheckBox, "", {100, y, 10, 10}, f.style));
        y += 14;
    }
    c.push_back(Control(1020, ControlKind::CheckBox, "ParseDecodeData", {7, y, 103, 10}, kAutoCheck));
    y += 14;
    c.push_back(Control(1021, ControlKind::CheckBox, "TransmitSentinels", {7, y, 103, 10}, kAutoCheck));
    // Right column: the three lists, each under its label.
    c.push_back(Label("TracksToRead:", {122, 7, 111, 8}));
    c.push_back(Control(1022, ControlKind::ComboBox, "", {122, 17, 111, 12}, kDropList,
                        {"MSR_TR_1", "MSR_TR_2", "MSR_TR_3", "MSR_TR_4", "MSR_TR_1_2", "MSR_TR_1_3",
                         "MSR_TR_1_4", "MSR_TR_2_3", "MSR_TR_2_4", "MSR_TR_3_4", "MSR_TR_1_2_3",
                         "MSR_TR_1_2_4", "MSR_TR_1_3_4", "MSR_TR_2_3_4", "MSR_TR_1_2_3_4"}));
    c.push_back(Label("ErrorReportingType:", {122, 37, 111, 8}));
    c.push_back(Control(1024, ControlKind::ComboBox, "", {122, 47, 111, 12}, kDropList,
                        {"MSR_ERT_CARD", "MSR_ERT_TRACK"}));
    c.push_back(Label("BinaryConversion:", {122, 67, 111, 8}));
    c.push_back(Control(1195, ControlKind::ComboBox, "", {122, 77, 111, 12}, kDropList,
                        {"OPOS_BC_NONE", "OPOS_BC_NIBBLE", "OPOS_BC_DECIMAL"}));
    return t;
}

DialogTemplate BuildTrackData()
{
    DialogTemplate t = PageBase(IDD_PAGE_TRACK_DATA, 240, 145);
    // The discretionary-data boxes are shorter: they start right of their
    // longer labels.
    AddField(t, "Track1Data:", 50, 1028, 7);
    AddField(t, "Track1DiscretionaryData:", 106, 1026, 27);
    AddField(t, "Track2Data:", 50, 1010, 47);
    AddField(t, "Track2DiscretionaryData:", 106, 1027, 67);
    AddField(t, "Track3Data:", 50, 1011, 87);
    AddField(t, "Track4Data:", 50, 1012, 107);
    return t;
}

DialogTemplate BuildParsedData()
{
    DialogTemplate t = PageBase(IDD_PAGE_PARSED_DATA, 240, 145);
    const struct {
        const char* label;
        int id;
    } fields[] = {
        {"AccountNumber:", 1029}, {"ExpirationDate:", 1010}, {"FirstName:", 1011},
        {"MiddleInitial:", 1012}, {"Surname:", 1013},        {"Title:", 1014},
        {"Suffix:", 1015},        {"ServiceCode:", 1016},
    };
    int y = 5;
    for (const auto& f : fields) {
        AddField(t, f.label, 66, f.id, y);
        y += 17;
    }
    return t;
}

DialogTemplate BuildDescription()
{
    DialogTemplate t = PageBase(IDD_PAGE_DESCRIPTION, 240, 145);
    const struct {
        const char* label;
        int id;
    } fields[] = {
        {"DeviceControlDescription:", 1038}, {"DeviceControlVersion:", 1010},
        {"DeviceServiceDescription:", 1011}, {"DeviceServiceVersion:", 1012},
        {"PhysicalDeviceDescription:", 1013}, {"PhysicalDeviceName:", 1014},
    };
    int y = 7;
    for (const auto& f : fields) {
        AddField(t, f.label, 112, f.id, y);
        y += 20;
    }
    return t;
}

}  // namespace

const DialogTemplate& PageTemplate129()
{
    static const DialogTemplate t = BuildControl();
    return t;
}

const DialogTemplate& PageTemplate130()
{
    static const DialogTemplate t = BuildTrackControl();
    return t;
}

const DialogTemplate& PageTemplate131()
{
    static const DialogTemplate t = BuildTrackData();
    return t;
}

const DialogTemplate& PageTemplate132()
{
    static const DialogTemplate t = BuildParsedData();
    return t;
}

const DialogTemplate& PageTemplate133()
{
    static const DialogTemplate t = BuildDescription();
    return t;
}

}  // namespace res
