// The display-only pages (Description, Track Data, Parsed Data): every field
// comes from its own property on every refresh, versions as signed decimals,
// texts up to a NUL, empty values clearing old ones; Enter and Escape inside
// a page leave the page and the main window alone.
#include "page_harness.h"

#include "msr/msr_dispids.h"
#include "pages/tab_page_control.h"
#include "pages/tab_page_description.h"
#include "pages/tab_page_parsed_data.h"
#include "pages/tab_page_track_control.h"
#include "pages/tab_page_track_data.h"
#include "platform/ui/application.h"

#include <string>
#include <vector>

namespace {

using pagetest::MainRun;
using pagetest::RunMainWindow;

// A string field: the property it shows and the edit box that shows it.
struct TextField {
    const char* name;
    std::int32_t dispid;
    int editId;
};

const std::vector<TextField> kTrackDataFields = {
    {"Track1Data", msrdisp::Track1Data, 1028},
    {"Track1DiscretionaryData", msrdisp::Track1DiscretionaryData, 1026},
    {"Track2Data", msrdisp::Track2Data, 1010},
    {"Track2DiscretionaryData", msrdisp::Track2DiscretionaryData, 1027},
    {"Track3Data", msrdisp::Track3Data, 1011},
    {"Track4Data", msrdisp::Track4Data, 1012},
};

const std::vector<TextField> kParsedDataFields = {
    {"AccountNumber", msrdisp::AccountNumber, 1029}, {"ExpirationDate", msrdisp::ExpirationDate, 1010},
    {"FirstName", msrdisp::FirstName, 1011},         {"MiddleInitial", msrdisp::MiddleInitial, 1012},
    {"Surname", msrdisp::Surname, 1013},             {"Title", msrdisp::Title, 1014},
    {"Suffix", msrdisp::Suffix, 1015},               {"ServiceCode", msrdisp::ServiceCode, 1016},
};

const std::vector<TextField> kDescriptionTextFields = {
    {"DeviceControlDescription", msrdisp::DeviceControlDescription, 1038},
    {"DeviceServiceDescription", msrdisp::DeviceServiceDescription, 1011},
    {"PhysicalDeviceDescription", msrdisp::PhysicalDeviceDescription, 1013},
    {"PhysicalDeviceName", msrdisp::PhysicalDeviceName, 1014},
};

// Gives every field a distinct value, refreshes, checks that each box shows
// its own property; then empties them and checks that the old texts went.
void CheckTextFields(MainRun& run, ui::Dialog& page, const std::vector<TextField>& fields,
                     const std::function<void()>& refresh)
{
    for (const TextField& f : fields) {
        run.msr.SetString(f.dispid, std::string("value of ") + f.name);
    }
    refresh();
    for (const TextField& f : fields) {
        EXPECT_EQ(page.GetDlgItemText(f.editId), std::string("value of ") + f.name) << f.name;
    }
    for (const TextField& f : fields) {
        run.msr.SetString(f.dispid, "");
    }
    refresh();
    for (const TextField& f : fields) {
        EXPECT_EQ(page.GetDlgItemText(f.editId), "") << f.name << " kept the old text";
    }
    // A NUL inside the value ends the text shown.
    for (const TextField& f : fields) {
        run.msr.SetOleString(f.dispid, com::OleString(u"AB\0CD", 5));
    }
    refresh();
    for (const TextField& f : fields) {
        EXPECT_EQ(page.GetDlgItemText(f.editId), "AB") << f.name;
    }
}

TEST(DisplayPages, TrackDataFieldsFollowTheirProperties)
{
    RunMainWindow([](MainRun& run) {
        CTabPageTrackData* page = run.dlg.PageTrackData();
        ASSERT_NE(page, nullptr);
        CheckTextFields(run, *page, kTrackDataFields, [page] { page->ShowTrackData(); });
    });
}

TEST(DisplayPages, ParsedDataFieldsFollowTheirProperties)
{
    RunMainWindow([](MainRun& run) {
        CTabPageParsedData* page = run.dlg.PageParsedData();
        ASSERT_NE(page, nullptr);
        CheckTextFields(run, *page, kParsedDataFields, [page] { page->ShowParsedData(); });
    });
}

TEST(DisplayPages, DescriptionTextFieldsFollowTheirProperties)
{
    RunMainWindow([](MainRun& run) {
        CTabPageDescription* page = run.dlg.PageDescription();
        ASSERT_NE(page, nullptr);
        CheckTextFields(run, *page, kDescriptionTextFields, [page] {
            page->ShowControlInfo();
            page->ShowServiceInfo();
        });
    });
}

TEST(DisplayPages, ShowControlInfoFillsOnlyTheControlFields)
{
    RunMainWindow([](MainRun& run) {
        CTabPageDescription* page = run.dlg.PageDescription();
        ASSERT_NE(page, nullptr);
        run.msr.SetString(msrdisp::DeviceControlDescription, "control");
        run.msr.SetString(msrdisp::DeviceServiceDescription, "service");
        run.msr.SetI4(msrdisp::DeviceControlVersion, 1012001);
        run.msr.SetI4(msrdisp::DeviceServiceVersion, 1012002);
        page->ShowControlInfo();
        EXPECT_EQ(page->GetDlgItemText(1038), "control");
        EXPECT_EQ(page->GetDlgItemText(1010), "1012001");
        EXPECT_EQ(page->GetDlgItemText(1011), "");
        EXPECT_EQ(page->GetDlgItemText(1012), "");
    });
}

// Versions are the plain signed integer the control reports.
struct VersionRow {
    std::int32_t value;
    const char* shown;
};

TEST(DisplayPages, VersionsAreSignedDecimals)
{
    const VersionRow rows[] = {
        {0, "0"}, {-1, "-1"}, {1012001, "1012001"}, {2147483647, "2147483647"}, {INT32_MIN, "-2147483648"},
    };
    RunMainWindow([&rows](MainRun& run) {
        CTabPageDescription* page = run.dlg.PageDescription();
        ASSERT_NE(page, nullptr);
        for (const VersionRow& row : rows) {
            run.msr.SetI4(msrdisp::DeviceControlVersion, row.value);
            run.msr.SetI4(msrdisp::DeviceServiceVersion, row.value);
            page->ShowControlInfo();
            page->ShowServiceInfo();
            EXPECT_EQ(page->GetDlgItemText(1010), row.shown) << "control version " << row.value;
            EXPECT_EQ(page->GetDlgItemText(1012), row.shown) << "service version " << row.value;
        }
    });
}

TEST(DisplayPages, EnterAndEscapeInsideAPageDoNothing)
{
    RunMainWindow([](MainRun& run) {
        run.dlg.RefreshAllPages();
        // Enter reaching the main window would clear the report.
        run.dlg.WriteReport("Test", "marker");
        const std::string reportBefore = run.Report();
        for (int tab = 0; tab < CMsrTestDlg::kPageCount; ++tab) {
            ui::act::SelectTab(run.dlg, pagetest::kTabControl, tab);
            ui::Dialog* page = run.dlg.Page(tab);
            ASSERT_NE(page, nullptr) << "tab " << tab;
            ASSERT_EQ(run.dlg.CurrentPage(), page) << "tab " << tab;
            ui::act::PressEnter(*page);
            ui::act::PressEscape(*page);
            ui::PumpEvents(20);
            EXPECT_TRUE(page->IsWindow()) << "tab " << tab;
            EXPECT_TRUE(page->IsWindowVisible()) << "tab " << tab;
            EXPECT_TRUE(run.dlg.IsWindowVisible()) << "tab " << tab;
        }
        EXPECT_EQ(run.Report(), reportBefore);
        EXPECT_TRUE(run.msr.CallsExceptGets().empty());
    });
}

}  // namespace
