// Refresh operations of the Control and Track Control pages: booleans from
// any nonzero value, named fields that keep their text for values without a
// name, signed decimals, list selections with their remembered values, and
// that no refresh ever counts as an operator change.
#include "page_harness.h"

#include "msr/msr_dispids.h"
#include "pages/tab_page_control.h"
#include "pages/tab_page_track_control.h"

#include <functional>
#include <string>
#include <vector>

namespace {

using pagetest::MainRun;
using pagetest::RunMainWindow;

using PageOp = std::function<void(MainRun&)>;

ui::Dialog& ControlPage(MainRun& r) { return *r.dlg.PageControl(); }
ui::Dialog& TrackPage(MainRun& r) { return *r.dlg.PageTrackControl(); }

// A check box that shows one boolean property.
struct BoolRow {
    const char* name;
    std::int32_t dispid;
    int checkId;
    ui::Dialog& (*page)(MainRun&);
    PageOp show;
};

const std::vector<BoolRow>& BoolRows()
{
    static const std::vector<BoolRow> rows = {
        {"Claimed", msrdisp::Claimed, 1011, ControlPage, [](MainRun& r) { r.dlg.PageControl()->ShowClaimed(); }},
        {"AutoDisable", msrdisp::AutoDisable, 1010, ControlPage,
         [](MainRun& r) { r.dlg.PageControl()->ShowAutoDisable(); }},
        {"DeviceEnabled", msrdisp::DeviceEnabled, 1013, ControlPage,
         [](MainRun& r) { r.dlg.PageControl()->ShowDeviceEnabled(); }},
        {"FreezeEvents", msrdisp::FreezeEvents, 1014, ControlPage,
         [](MainRun& r) { r.dlg.PageControl()->ShowFreezeEvents(); }},
        {"DataEventEnabled", msrdisp::DataEventEnabled, 1012, ControlPage,
         [](MainRun& r) { r.dlg.PageControl()->ShowDataEventEnabled(); }},
        {"CapISO", msrdisp::CapISO, 1015, TrackPage,
         [](MainRun& r) { r.dlg.PageTrackControl()->ShowTrackCapabilities(); }},
        {"CapJISOne", msrdisp::CapJISOne, 1016, TrackPage,
         [](MainRun& r) { r.dlg.PageTrackControl()->ShowTrackCapabilities(); }},
        {"CapJISTwo", msrdisp::CapJISTwo, 1017, TrackPage,
         [](MainRun& r) { r.dlg.PageTrackControl()->ShowTrackCapabilities(); }},
        {"CapTransmitSentinels", msrdisp::CapTransmitSentinels, 1018, TrackPage,
         [](MainRun& r) { r.dlg.PageTrackControl()->ShowCapTransmitSentinels(); }},
        {"DecodeData", msrdisp::DecodeData, 1019, TrackPage,
         [](MainRun& r) { r.dlg.PageTrackControl()->ShowDecodeData(); }},
        {"ParseDecodeData", msrdisp::ParseDecodeData, 1020, TrackPage,
         [](MainRun& r) { r.dlg.PageTrackControl()->ShowParseDecodeData(); }},
        {"TransmitSentinels", msrdisp::TransmitSentinels, 1021, TrackPage,
         [](MainRun& r) { r.dlg.PageTrackControl()->ShowTransmitSentinels(); }},
    };
    return rows;
}

TEST(PageRefresh, BooleansAreCheckedForAnyNonzeroValue)
{
    // Raw OLE booleans in sequence and the check state each must leave.
    const struct {
        std::int16_t raw;
        int checked;
    } steps[] = {{1, 1}, {0, 0}, {-1, 1}, {0, 0}, {2, 1}, {0x100, 1}, {0, 0}};
    RunMainWindow([&steps](MainRun& run) {
        for (const BoolRow& row : BoolRows()) {
            for (const auto& step : steps) {
                run.msr.SetBool(row.dispid, step.raw);
                row.show(run);
                EXPECT_EQ(row.page(run).IsDlgButtonChecked(row.checkId), step.checked)
                    << row.name << " raw " << step.raw;
            }
        }
    });
}

// A named field: a value, and the text it must leave ("" for a value that
// keeps the previous text, which each row first sets to prevText).
struct NamedRow {
    const char* name;
    std::int32_t dispid;
    int editId;
    std::int32_t prevValue;  // a value with a name, shown first
    const char* prevText;
    std::int32_t value;
    const char* shown;  // nullptr: keeps prevText
};

TEST(PageRefresh, NamedFieldsShowNamesAndKeepTextOutOfRange)
{
    const NamedRow rows[] = {
        {"CapPowerReporting", msrdisp::CapPowerReporting, 1035, 1, "STANDARD", 0, "NONE"},
        {"CapPowerReporting", msrdisp::CapPowerReporting, 1035, 0, "NONE", 2, "ADANCED"},
        {"CapPowerReporting", msrdisp::CapPowerReporting, 1035, 2, "ADANCED", -1, nullptr},
        {"CapPowerReporting", msrdisp::CapPowerReporting, 1035, 2, "ADANCED", 3, nullptr},
        {"PowerState", msrdisp::PowerState, 1034, 2001, "ONLINE", 2000, "UNKNOWN"},
        {"PowerState", msrdisp::PowerState, 1034, 2001, "ONLINE", 2004, "OFF_OFFLINE"},
        {"PowerState", msrdisp::PowerState, 1034, 2002, "OFF", 1999, nullptr},
        {"PowerState", msrdisp::PowerState, 1034, 2003, "OFFLINE", 2005, nullptr},
        {"State", msrdisp::State, 1033, 2, "IDLE", 1, "CLOSED"},
        {"State", msrdisp::State, 1033, 2, "IDLE", 4, "ERROR"},
        {"State", msrdisp::State, 1033, 3, "BUSY", 0, nullptr},
        {"State", msrdisp::State, 1033, 4, "ERROR", 5, nullptr},
    };
    RunMainWindow([&rows](MainRun& run) {
        CTabPageControl& page = *run.dlg.PageControl();
        const auto show = [&page](std::int32_t dispid) {
            if (dispid == msrdisp::CapPowerReporting) {
                page.ShowCapPowerReporting();
            } else if (dispid == msrdisp::PowerState) {
                page.ShowPowerState();
            } else {
                page.ShowState();
            }
        };
        for (const NamedRow& row : rows) {
            run.msr.SetI4(row.dispid, row.prevValue);
            show(row.dispid);
            ASSERT_EQ(page.GetDlgItemText(row.editId), row.prevText) << row.name << " " << row.prevValue;
            run.msr.SetI4(row.dispid, row.value);
            show(row.dispid);
            EXPECT_EQ(page.GetDlgItemText(row.editId), row.shown != nullptr ? row.shown : row.prevText)
                << row.name << " " << row.value;
        }
    });
}

TEST(PageRefresh, NamedFieldsNeverSetStayEmptyOutOfRange)
{
    RunMainWindow(
        [](MainRun& run) {
            CTabPageControl& page = *run.dlg.PageControl();
            // The window's start-up ShowState met State 0.
            EXPECT_EQ(page.GetDlgItemText(1033), "");
            page.ShowCapPowerReporting();
            page.ShowPowerState();
            page.ShowState();
            EXPECT_EQ(page.GetDlgItemText(1035), "");
            EXPECT_EQ(page.GetDlgItemText(1034), "");
            EXPECT_EQ(page.GetDlgItemText(1033), "");
        },
        [](testsupport::StandInScript& msr) {
            msr.SetI4(msrdisp::CapPowerReporting, 3);
            msr.SetI4(msrdisp::PowerState, 1999);
            msr.SetI4(msrdisp::State, 0);
        });
}

TEST(PageRefresh, DataCountAndCheckHealthText)
{
    RunMainWindow([](MainRun& run) {
        CTabPageControl& page = *run.dlg.PageControl();
        const struct {
            std::int32_t value;
            const char* shown;
        } counts[] = {{-1, "-1"}, {0, "0"}, {7, "7"}, {INT32_MIN, "-2147483648"}};
        for (const auto& c : counts) {
            run.msr.SetI4(msrdisp::DataCount, c.value);
            page.ShowDataCount();
            EXPECT_EQ(page.GetDlgItemText(1036), c.shown) << c.value;
        }
        run.msr.SetString(msrdisp::CheckHealthText, "Internal HCheck: Successful");
        page.ShowCheckHealthText();
        EXPECT_EQ(page.GetDlgItemText(1037), "Internal HCheck: Successful");
        run.msr.SetOleString(msrdisp::CheckHealthText, com::OleString(u"OK\0hidden", 9));
        page.ShowCheckHealthText();
        EXPECT_EQ(page.GetDlgItemText(1037), "OK");
        run.msr.SetString(msrdisp::CheckHealthText, "");
        page.ShowCheckHealthText();
        EXPECT_EQ(page.GetDlgItemText(1037), "");
    });
}

// A list whose item index is the property value: the value reported, the
// selection it leaves and the value remembered.
struct ListRow {
    std::int32_t value;
    int selection;
};

TEST(PageRefresh, IndexedListsSelectAndRememberTheValue)
{
    const ListRow powerNotify[] = {{1, 1}, {0, 0}, {2, -1}, {1, 1}, {-1, -1}};
    const ListRow errorReporting[] = {{1, 1}, {0, 0}, {2, -1}, {-5, -1}};
    const ListRow binaryConversion[] = {{2, 2}, {1, 1}, {0, 0}, {3, -1}, {-1, -1}};
    RunMainWindow([&](MainRun& run) {
        CTabPageControl& control = *run.dlg.PageControl();
        CTabPageTrackControl& track = *run.dlg.PageTrackControl();
        for (const ListRow& row : powerNotify) {
            run.msr.SetI4(msrdisp::PowerNotify, row.value);
            control.ShowPowerNotify();
            EXPECT_EQ(control.GetCurSel(1031), row.selection) << "PowerNotify " << row.value;
            EXPECT_EQ(control.LastPowerNotify(), row.value) << "PowerNotify " << row.value;
        }
        for (const ListRow& row : errorReporting) {
            run.msr.SetI4(msrdisp::ErrorReportingType, row.value);
            track.ShowErrorReportingType();
            EXPECT_EQ(track.GetCurSel(1024), row.selection) << "ErrorReportingType " << row.value;
            EXPECT_EQ(track.LastErrorReportingType(), row.value) << "ErrorReportingType " << row.value;
        }
        for (const ListRow& row : binaryConversion) {
            run.msr.SetI4(msrdisp::BinaryConversion, row.value);
            track.ShowBinaryConversion();
            EXPECT_EQ(track.GetCurSel(1195), row.selection) << "BinaryConversion " << row.value;
            EXPECT_EQ(track.LastBinaryConversion(), row.value) << "BinaryConversion " << row.value;
        }
        EXPECT_EQ(control.GetItemString(1031, 1), "ENABLED");
        EXPECT_EQ(track.GetItemString(1024, 1), "MSR_ERT_TRACK");
        EXPECT_EQ(track.GetItemString(1195, 2), "OPOS_BC_DECIMAL");
    });
}

TEST(PageRefresh, RefreshRaisesNoOperatorEventAndLeavesTracksToRead)
{
    RunMainWindow([](MainRun& run) {
        // Every boolean true, every list at a selectable value.
        for (const BoolRow& row : BoolRows()) {
            run.msr.SetBool(row.dispid, -1);
        }
        run.msr.SetI4(msrdisp::PowerNotify, 1);
        run.msr.SetI4(msrdisp::ErrorReportingType, 1);
        run.msr.SetI4(msrdisp::BinaryConversion, 2);
        run.msr.SetI4(msrdisp::TracksToRead, 7);
        run.dlg.PageTrackControl()->SetupTracksToRead();  // shows "MSR_TR_1_2"
        run.msr.ClearCalls();
        const std::string report = run.Report();

        run.msr.SetI4(msrdisp::TracksToRead, 15);
        run.dlg.RefreshAllPages();
        for (const BoolRow& row : BoolRows()) {
            EXPECT_EQ(row.page(run).IsDlgButtonChecked(row.checkId), 1) << row.name;
        }
        EXPECT_EQ(run.dlg.PageControl()->GetCurSel(1031), 1);
        EXPECT_EQ(run.dlg.PageTrackControl()->GetCurSel(1024), 1);
        EXPECT_EQ(run.dlg.PageTrackControl()->GetCurSel(1195), 2);
        // No setter ran: no put, no report line; TracksToRead was not read.
        EXPECT_TRUE(run.msr.CallsExceptGets().empty());
        EXPECT_EQ(run.Report(), report);
        for (const testsupport::RecordedCall& call : run.msr.Calls()) {
            EXPECT_NE(call.dispid, msrdisp::TracksToRead) << "a refresh read TracksToRead";
        }
        EXPECT_EQ(run.dlg.PageTrackControl()->GetCurSel(1022), 4);
    });
}

}  // namespace
