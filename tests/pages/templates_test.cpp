// Templates 129 to 133 of the tab pages: sizes, styles, every control with
// its ID, kind, text and initial state, list items in order, and a layout in
// which nothing overlaps.
#include "layout_check.h"

#include "res/page_templates.h"

namespace {

using layoutcheck::Expected;
using K = ui::ControlKind;
constexpr int S = ui::IDC_STATIC;

struct PageRow {
    const ui::DialogTemplate& (*tpl)();
    int id;
    int cx;
    int cy;
};

TEST(PageTemplates, ChildPagesOfTheirSizes)
{
    const PageRow rows[] = {
        {res::PageTemplate129, 129, 240, 164}, {res::PageTemplate130, 130, 240, 159},
        {res::PageTemplate131, 131, 240, 145}, {res::PageTemplate132, 132, 240, 145},
        {res::PageTemplate133, 133, 240, 145},
    };
    for (const PageRow& row : rows) {
        const ui::DialogTemplate& t = row.tpl();
        EXPECT_EQ(t.id, row.id);
        EXPECT_EQ(t.cx, row.cx) << row.id;
        EXPECT_EQ(t.cy, row.cy) << row.id;
        EXPECT_EQ(t.caption, "") << row.id;
        EXPECT_EQ(t.fontName, "MS Sans Serif") << row.id;
        EXPECT_EQ(t.pointSize, 10) << row.id;
        EXPECT_EQ(t.style, ui::DS_Child) << row.id;
        layoutcheck::CheckGeometry(t);
        // Every edit box is read-only with a border and a tab stop.
        for (const auto& c : t.controls) {
            if (c.kind == K::Edit) {
                EXPECT_EQ(c.style & (ui::CS_ReadOnly | ui::CS_Border | ui::CS_TabStop | ui::CS_AutoHScroll),
                          ui::CS_ReadOnly | ui::CS_Border | ui::CS_TabStop | ui::CS_AutoHScroll)
                    << row.id << " edit " << c.id;
                EXPECT_EQ(c.text, "") << row.id << " edit " << c.id;
            }
        }
    }
}

TEST(PageTemplates, ControlPage)
{
    const ui::DialogTemplate& t = res::PageTemplate129();
    layoutcheck::CheckControls(
        t, {
               {1011, K::CheckBox, "", true},      {S, K::Static, "Claimed"},
               {1010, K::CheckBox, "AutoDisable"}, {1013, K::CheckBox, "DeviceEnabled"},
               {1014, K::CheckBox, "FreezeEvents"}, {1012, K::CheckBox, "DataEventEnabled"},
               {1031, K::ComboBox, "", true},      {S, K::Static, "PowerNotify:"},
               {1035, K::Edit, ""},                {S, K::Static, "CapPowerReporting:"},
               {1034, K::Edit, ""},                {S, K::Static, "PowerState:"},
               {1033, K::Edit, ""},                {S, K::Static, "State:"},
               {1036, K::Edit, ""},                {S, K::Static, "DataCount:"},
               {1037, K::Edit, ""},                {S, K::Static, "CheckHealthText:"},
           });
    EXPECT_EQ(t.Find(1011)->style & ui::CS_Auto, 0u) << "Claimed is not automatic";
    for (int id : {1010, 1013, 1014, 1012}) {
        EXPECT_NE(t.Find(id)->style & ui::CS_Auto, 0u) << id;
    }
    EXPECT_EQ(t.Find(1031)->items, (std::vector<std::string>{"DISABLED", "ENABLED"}));
    EXPECT_EQ(t.Find(1031)->style & ui::CS_Sorted, 0u);
    EXPECT_GT(t.Find(1037)->rect.cx, t.Find(1036)->rect.cx) << "CheckHealthText is the wider box";
}

TEST(PageTemplates, TrackControlPage)
{
    const ui::DialogTemplate& t = res::PageTemplate130();
    layoutcheck::CheckControls(t, {
                                      {1015, K::CheckBox, "", true},
                                      {S, K::Static, "CapISO"},
                                      {1016, K::CheckBox, "", true},
                                      {S, K::Static, "CapJISOne"},
                                      {1017, K::CheckBox, "", true},
                                      {S, K::Static, "CapJISTwo"},
                                      {1018, K::CheckBox, "", true},
                                      {S, K::Static, "CapTransmitSentinels"},
                                      {1019, K::CheckBox, ""},
                                      {S, K::Static, "DecodeData"},
                                      {1020, K::CheckBox, "ParseDecodeData"},
                                      {1021, K::CheckBox, "TransmitSentinels"},
                                      {1022, K::ComboBox, ""},
                                      {S, K::Static, "TracksToRead:"},
                                      {1024, K::ComboBox, ""},
                                      {S, K::Static, "ErrorReportingType:"},
                                      {1195, K::ComboBox, ""},
                                      {S, K::Static, "BinaryConversion:"},
                                  });
    EXPECT_EQ(t.Find(1022)->items,
              (std::vector<std::string>{"MSR_TR_1", "MSR_TR_2", "MSR_TR_3", "MSR_TR_4", "MSR_TR_1_2", "MSR_TR_1_3",
                                        "MSR_TR_1_4", "MSR_TR_2_3", "MSR_TR_2_4", "MSR_TR_3_4", "MSR_TR_1_2_3",
                                        "MSR_TR_1_2_4", "MSR_TR_1_3_4", "MSR_TR_2_3_4", "MSR_TR_1_2_3_4"}));
    EXPECT_EQ(t.Find(1024)->items, (std::vector<std::string>{"MSR_ERT_CARD", "MSR_ERT_TRACK"}));
    EXPECT_EQ(t.Find(1195)->items, (std::vector<std::string>{"OPOS_BC_NONE", "OPOS_BC_NIBBLE", "OPOS_BC_DECIMAL"}));
    for (int id : {1022, 1024, 1195}) {
        EXPECT_EQ(t.Find(id)->style & ui::CS_Sorted, 0u) << id;
    }
}

TEST(PageTemplates, DisplayPages)
{
    layoutcheck::CheckControls(res::PageTemplate131(),
                               {
                                   {1028, K::Edit, ""}, {S, K::Static, "Track1Data:"},
                                   {1026, K::Edit, ""}, {S, K::Static, "Track1DiscretionaryData:"},
                                   {1010, K::Edit, ""}, {S, K::Static, "Track2Data:"},
                                   {1027, K::Edit, ""}, {S, K::Static, "Track2DiscretionaryData:"},
                                   {1011, K::Edit, ""}, {S, K::Static, "Track3Data:"},
                                   {1012, K::Edit, ""}, {S, K::Static, "Track4Data:"},
                               });
    EXPECT_LT(res::PageTemplate131().Find(1026)->rect.cx, res::PageTemplate131().Find(1028)->rect.cx);
    layoutcheck::CheckControls(res::PageTemplate132(),
                               {
                                   {1029, K::Edit, ""}, {S, K::Static, "AccountNumber:"},
                                   {1010, K::Edit, ""}, {S, K::Static, "ExpirationDate:"},
                                   {1011, K::Edit, ""}, {S, K::Static, "FirstName:"},
                                   {1012, K::Edit, ""}, {S, K::Static, "MiddleInitial:"},
                                   {1013, K::Edit, ""}, {S, K::Static, "Surname:"},
                                   {1014, K::Edit, ""}, {S, K::Static, "Title:"},
                                   {1015, K::Edit, ""}, {S, K::Static, "Suffix:"},
                                   {1016, K::Edit, ""}, {S, K::Static, "ServiceCode:"},
                               });
    layoutcheck::CheckControls(res::PageTemplate133(),
                               {
                                   {1038, K::Edit, ""}, {S, K::Static, "DeviceControlDescription:"},
                                   {1010, K::Edit, ""}, {S, K::Static, "DeviceControlVersion:"},
                                   {1011, K::Edit, ""}, {S, K::Static, "DeviceServiceDescription:"},
                                   {1012, K::Edit, ""}, {S, K::Static, "DeviceServiceVersion:"},
                                   {1013, K::Edit, ""}, {S, K::Static, "PhysicalDeviceDescription:"},
                                   {1014, K::Edit, ""}, {S, K::Static, "PhysicalDeviceName:"},
                               });
}

}  // namespace
