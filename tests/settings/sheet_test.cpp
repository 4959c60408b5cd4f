// The reader settings sheet as the main window's DirectIO handler opens it:
// its tabs, the General Settings page's radio buttons and "Default  ", that
// nothing is kept between two runs, and the layout-only pages whose controls
// nobody reads. "DirectIO..." is disabled in the main window, so the handler
// is called from within the window's modal run as its command would be.
#include "pages/page_harness.h"

#include "platform/ui/application.h"
#include "platform/ui/property_sheet.h"
#include "settings/dio_property_sheet.h"
#include "settings/pp_general_set.h"
#include "settings/pp_layout_pages.h"

#include <QPushButton>
#include <QTabWidget>

#include <map>
#include <string>
#include <vector>

namespace {

using pagetest::MainRun;
using pagetest::RunMainWindow;

// The 21 radio buttons of the General Settings page.
const int kGeneralRadios[] = {1069, 1070, 1050, 1053, 1054, 1055, 1051, 1052, 1071, 1074, 1072,
                              1073, 1056, 1057, 1058, 1060, 1061, 1062, 1063, 1064, 1065};

std::map<int, int> GeneralMarks(const ui::Dialog& page)
{
    std::map<int, int> marks;
    for (int id : kGeneralRadios) {
        marks[id] = page.IsDlgButtonChecked(id);
    }
    return marks;
}

CPPGeneralSet* GeneralPage(ui::ModalView& view)
{
    return view.AsSheet() != nullptr ? dynamic_cast<CPPGeneralSet*>(view.AsSheet()->Page(0)) : nullptr;
}

// A button of the sheet itself (not of a page) by its text.
QPushButton* SheetButton(ui::ModalView& view, const QString& text)
{
    auto* tabs = view.Widget()->findChild<QTabWidget*>();
    for (QPushButton* b : view.Widget()->findChildren<QPushButton*>()) {
        if (b->text().remove('&') == text && (tabs == nullptr || !tabs->isAncestorOf(b))) {
            return b;
        }
    }
    return nullptr;
}

// Runs the DirectIO handler inside the main window with the given answers
// for the sheets it opens, one per call.
void RunDirectIO(std::vector<std::function<void(ui::ModalView&)>> sheets)
{
    RunMainWindow([&sheets](MainRun& run) {
        const std::string report = run.Report();
        for (auto& sheet : sheets) {
            run.script.Then([&sheet](ui::ModalView& view) {
                ASSERT_EQ(view.Kind(), ui::ModalKind::PropertySheet);
                sheet(view);
            });
            run.dlg.OnDirectIO();
        }
        EXPECT_EQ(run.Report(), report) << "the sheet writes no report line";
        EXPECT_TRUE(run.msr.CallsExceptGets().empty()) << "the sheet sends nothing to the control";
    });
}

TEST(ReaderSettingsSheet, TabsAndGeneralSettingsOnOpening)
{
    RunDirectIO({[](ui::ModalView& view) {
        EXPECT_EQ(view.Caption(), "Send specfic commands to MiniMSR");
        ui::PropertySheet* sheet = view.AsSheet();
        ASSERT_NE(sheet, nullptr);
        ASSERT_EQ(sheet->PageCount(), 6);
        const char* const tabs[] = {"General Settings", "Pre/Postamble", "RS232",
                                    "Track Settings",   "Output Format", "MSR Data Edit"};
        auto* tabWidget = view.Widget()->findChild<QTabWidget*>();
        ASSERT_NE(tabWidget, nullptr);
        ASSERT_EQ(tabWidget->count(), 6);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(tabWidget->tabText(i).toStdString(), tabs[i]) << "tab " << i;
        }
        EXPECT_EQ(sheet->ActivePageIndex(), 0);

        CPPGeneralSet* generalPage = GeneralPage(view);
        ASSERT_NE(generalPage, nullptr);
        CPPGeneralSet& general = *generalPage;
        const std::map<int, int> expected = {
            {1069, 1}, {1070, 0}, {1050, 0}, {1053, 0}, {1054, 0}, {1055, 0}, {1051, 0},
            {1052, 1}, {1071, 0}, {1074, 1}, {1072, 0}, {1073, 0}, {1056, 0}, {1057, 0},
            {1058, 1}, {1060, 0}, {1061, 1}, {1062, 0}, {1063, 0}, {1064, 0}, {1065, 0},
        };
        EXPECT_EQ(GeneralMarks(general), expected);
        for (int id : {1050, 1053, 1054, 1055, 1051, 1052, 1060, 1061, 1062, 1063, 1064, 1065}) {
            EXPECT_FALSE(general.IsItemEnabled(id)) << id;
        }
        for (int id : {1069, 1070, 1071, 1074, 1072, 1073, 1056, 1057, 1058, 1067}) {
            EXPECT_TRUE(general.IsItemEnabled(id)) << id;
        }
        EXPECT_FALSE(general.IsItemEnabled(1068));
        EXPECT_FALSE(general.IsItemEnabled(ui::ID_HELP));
        EXPECT_EQ(general.Settings().msrReading, '1');
        EXPECT_EQ(general.Settings().beep, '2');

        // Apply cannot be pressed.
        bool foundApply = false;
        for (QPushButton* b : view.Widget()->findChildren<QPushButton*>()) {
            if (b->text().remove('&') == "Apply") {
                foundApply = true;
                EXPECT_FALSE(b->isEnabled());
            }
        }
        EXPECT_TRUE(foundApply);
        view.ClickButton("OK");
    }});
}

TEST(ReaderSettingsSheet, RadioClicksAndDefaultOnTheGeneralPage)
{
    RunDirectIO({[](ui::ModalView& view) {
        CPPGeneralSet* generalPage = GeneralPage(view);
        ASSERT_NE(generalPage, nullptr);
        CPPGeneralSet& general = *generalPage;
        const std::map<int, int> opening = GeneralMarks(general);

        // "Default  " with every code at its default changes no mark.
        view.Click(1067);
        EXPECT_EQ(GeneralMarks(general), opening);

        // Clicking the checked radio stores the same code; nothing moves.
        view.Click(1058);
        EXPECT_EQ(general.Settings().beep, '2');
        EXPECT_EQ(GeneralMarks(general), opening);

        // "LOW", then "Default  ": back to "HIGH".
        view.Click(1057);
        EXPECT_EQ(general.Settings().beep, '1');
        EXPECT_EQ(general.IsDlgButtonChecked(1057), 1);
        EXPECT_EQ(general.IsDlgButtonChecked(1058), 0);
        view.Click(1070);
        view.Click(1073);
        EXPECT_EQ(general.Settings().msrReading, '0');
        EXPECT_EQ(general.Settings().decodingMethod, '3');
        EXPECT_EQ(general.IsDlgButtonChecked(1069), 0) << "one group per box";
        EXPECT_EQ(general.IsDlgButtonChecked(1052), 1) << "other boxes untouched";
        view.Click(1067);
        EXPECT_EQ(GeneralMarks(general), opening);
        EXPECT_EQ(general.Settings().beep, '2');
        EXPECT_EQ(general.Settings().msrReading, '1');
        EXPECT_EQ(general.Settings().decodingMethod, '1');
        EXPECT_EQ(general.Settings().terminalType, '5');
        EXPECT_EQ(general.Settings().interCharDelay, '1');
        view.ClickButton("Cancel");
    }});
}

TEST(ReaderSettingsSheet, NothingIsKeptBetweenTwoRuns)
{
    RunDirectIO({
        [](ui::ModalView& view) {
            view.Click(1070);
            ASSERT_NE(GeneralPage(view), nullptr);
            EXPECT_EQ(GeneralPage(view)->Settings().msrReading, '0');
            view.SelectTab(1);
            view.AsSheet()->Page(1)->SetDlgItemText(1084, "typed preamble");
            view.ClickButton("OK");
        },
        [](ui::ModalView& view) {
            CPPGeneralSet* general = GeneralPage(view);
            ASSERT_NE(general, nullptr);
            EXPECT_EQ(general->IsDlgButtonChecked(1069), 1);
            EXPECT_EQ(general->IsDlgButtonChecked(1070), 0);
            EXPECT_EQ(general->Settings().msrReading, '1');
            EXPECT_EQ(view.AsSheet()->Page(1)->GetDlgItemText(1084), "");
            view.PressEscape();
        },
    });
}

TEST(ReaderSettingsSheet, LayoutPagesRadiosAreGroupsOfTheirOwn)
{
    RunDirectIO({[](ui::ModalView& view) {
        view.SelectTab(2);  // "RS232"
        ui::Dialog& rs232 = *view.AsSheet()->Page(2);
        view.Click(1095);  // "Odd"
        view.Click(1096);  // "Even"
        EXPECT_EQ(rs232.IsDlgButtonChecked(1095), 1);
        EXPECT_EQ(rs232.IsDlgButtonChecked(1096), 1);
        view.SelectTab(1);  // "Pre/Postamble"
        ui::Dialog& terminator = *view.AsSheet()->Page(1);
        view.Click(1080);
        view.Click(1081);
        EXPECT_EQ(terminator.IsDlgButtonChecked(1080), 1);
        EXPECT_EQ(terminator.IsDlgButtonChecked(1081), 1);
        view.ClickButton("OK");
    }});
}

// A push button of a layout page that must change nothing.
struct DeadButton {
    int tab;
    int id;
    const char* text;
};

TEST(ReaderSettingsSheet, LayoutPagesButtonsDoNothing)
{
    const DeadButton buttons[] = {
        {1, 1089, "Default"}, {1, 1068, "Keyboard Reference"}, {2, 1092, "Default  "},
        {3, 1067, "Default"}, {3, 1068, "Keyboard Reference"}, {4, 1067, "Default"},
        {5, 1166, "New Field"}, {5, 1159, "Add"},              {5, 1160, "Edit"},
        {5, 1161, "Delete"},  {5, 1162, "Clear"},              {5, 1165, "Keyboard Reference"},
    };
    int helpCalls = 0;
    ui::SetHelpHandler([&helpCalls] { ++helpCalls; });
    RunDirectIO({[&buttons, &helpCalls](ui::ModalView& view) {
        ui::PropertySheet& sheet = *view.AsSheet();
        // Visit every page once so that each has its window.
        for (int tab = 1; tab < 6; ++tab) {
            view.SelectTab(tab);
        }
        // Put some state on the enabled pages so that a reset would show.
        view.SelectTab(1);
        view.Click(1079);
        sheet.Page(1)->SetDlgItemText(1084, "pre");
        view.SelectTab(2);
        view.Click(1112);
        const auto snapshot = [&sheet] {
            std::vector<std::string> s;
            for (int p = 1; p < 6; ++p) {
                for (const ui::ControlTemplate& c : sheet.Page(p)->Template().controls) {
                    if (c.id == ui::IDC_STATIC) {
                        continue;
                    }
                    s.push_back(std::to_string(p) + "/" + std::to_string(c.id) + ":" +
                                std::to_string(sheet.Page(p)->IsDlgButtonChecked(c.id)) + ":" +
                                sheet.Page(p)->GetDlgItemText(c.id));
                }
            }
            return s;
        };
        const auto before = snapshot();
        for (const DeadButton& b : buttons) {
            view.SelectTab(b.tab);
            EXPECT_EQ(sheet.Page(b.tab)->GetDlgItemText(b.id), b.text) << b.id;
            view.Click(b.id);
            EXPECT_EQ(snapshot(), before) << "tab " << b.tab << " button " << b.text;
        }
        EXPECT_EQ(helpCalls, 0);
        // The lists are empty and stay so.
        EXPECT_EQ(sheet.Page(1)->GetCount(1087), 0);
        EXPECT_EQ(sheet.Page(1)->GetCount(1088), 0);
        EXPECT_EQ(sheet.Page(3)->GetCount(1124), 0);
        EXPECT_EQ(sheet.Page(5)->GetCount(1149), 0);
        // The sheet's own Help does nothing; a page's Help reaches the
        // application's help route.
        QPushButton* sheetHelp = SheetButton(view, "Help");
        ASSERT_NE(sheetHelp, nullptr);
        sheetHelp->click();
        EXPECT_EQ(helpCalls, 0);
        view.SelectTab(2);
        view.Click(ui::ID_HELP);
        EXPECT_EQ(helpCalls, 1);
        EXPECT_EQ(view.AsSheet()->ActivePageIndex(), 2) << "the sheet is still open";
        view.ClickButton("OK");
    }});
    ui::SetHelpHandler({});
}

// The sheet alone: OK and Cancel end the run with their IDs.
struct EndRow {
    const char* how;
    std::function<void(ui::ModalView&)> act;
    int result;
};

TEST(ReaderSettingsSheet, OkAndCancelEndTheRunWithTheirIds)
{
    const EndRow rows[] = {
        {"OK", [](ui::ModalView& v) { v.ClickButton("OK"); }, ui::IDOK},
        {"Cancel", [](ui::ModalView& v) { v.ClickButton("Cancel"); }, ui::IDCANCEL},
        {"Escape", [](ui::ModalView& v) { v.PressEscape(); }, ui::IDCANCEL},
        {"Help, then OK", [](ui::ModalView& v) {
             if (QPushButton* help = SheetButton(v, "Help")) {
                 help->click();
             }
             v.ClickButton("OK");
         }, ui::IDOK},
    };
    for (const EndRow& row : rows) {
        CDIOPropertySheet sheet("Send specfic commands to MiniMSR", nullptr, 0);
        CPPTerminator page;
        sheet.AddPage(&page);
        SCOPED_TRACE(row.how);
        testsupport::OperatorScript script({row.act});
        EXPECT_EQ(sheet.DoModal(), row.result);
        script.Finish();
    }
}

}  // namespace
