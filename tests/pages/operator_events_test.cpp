// Operator changes on the Control and Track Control pages: each goes to its
// setter with the right value; the page undoes it only when the setter
// answers OPOS_E_CLOSED (101), and lists fall back to the remembered value.
// Also the set-up of TracksToRead after Open.
#include "page_harness.h"

#include "msr/msr_dispids.h"
#include "pages/tab_page_control.h"
#include "pages/tab_page_track_control.h"

#include <string>
#include <vector>

namespace {

using pagetest::CountReportLines;
using pagetest::MainRun;
using pagetest::RunMainWindow;

constexpr std::int32_t kClosed = 101;
constexpr std::int32_t kIllegal = 106;

// The last put the control received (dispid 0 when none).
testsupport::RecordedCall LastPut(const testsupport::StandInScript& msr)
{
    const std::vector<testsupport::RecordedCall> calls = msr.CallsExceptGets();
    return calls.empty() ? testsupport::RecordedCall{} : calls.back();
}

// An operator check box, its tab, the property its setter writes and the
// setter's report name.
struct CheckRow {
    const char* setter;
    int tab;
    int checkId;
    std::int32_t dispid;
};

const CheckRow kCheckRows[] = {
    {"SetAutoDisable", CMsrTestDlg::kControl, 1010, msrdisp::AutoDisable},
    {"SetDeviceEnabled", CMsrTestDlg::kControl, 1013, msrdisp::DeviceEnabled},
    {"SetFreezeEvents", CMsrTestDlg::kControl, 1014, msrdisp::FreezeEvents},
    {"SetDataEventEnabled", CMsrTestDlg::kControl, 1012, msrdisp::DataEventEnabled},
    {"SetDecodeData", CMsrTestDlg::kTrackControl, 1019, msrdisp::DecodeData},
    {"SetParseDecodeData", CMsrTestDlg::kTrackControl, 1020, msrdisp::ParseDecodeData},
    {"SetTransmitSentinels", CMsrTestDlg::kTrackControl, 1021, msrdisp::TransmitSentinels},
};

// One click on a box that starts in startChecked, with the put answered by
// putResult; the put may or may not change the property. Expected: the
// value written and the check state left.
struct ClickCase {
    const char* what;
    int startChecked;
    std::int32_t putResult;
    bool putStores;
    bool written;
    int endChecked;
};

TEST(PageOperator, CheckBoxClicksGoToTheirSettersAndUndoOnlyOnClosed)
{
    const ClickCase cases[] = {
        {"tick accepted", 0, 0, true, true, 1},
        {"untick accepted", 1, 0, true, false, 0},
        {"tick refused, closed: undone", 0, kClosed, true, true, 0},
        {"untick refused, closed: undone", 1, kClosed, true, false, 1},
        // Another failure: no undo; the setter's refresh shows the control.
        {"tick refused, control holds the new value", 0, kIllegal, true, true, 1},
        {"tick refused, control keeps the old value", 0, kIllegal, false, true, 0},
        {"untick refused, control keeps the old value", 1, kIllegal, false, false, 1},
    };
    for (const ClickCase& c : cases) {
        RunMainWindow([&c](MainRun& run) {
            for (const CheckRow& row : kCheckRows) {
                SCOPED_TRACE(std::string(row.setter) + ": " + c.what);
                ui::Dialog& page = *run.dlg.Page(row.tab);
                ui::act::SelectTab(run.dlg, pagetest::kTabControl, row.tab);
                run.msr.SetPutStoresValue(true);
                run.msr.SetBool(row.dispid, static_cast<std::int16_t>(c.startChecked ? -1 : 0));
                run.dlg.RefreshAllPages();
                ASSERT_EQ(page.IsDlgButtonChecked(row.checkId), c.startChecked);
                run.msr.SetPutResult(row.dispid, c.putResult);
                run.msr.SetPutStoresValue(c.putStores);
                run.msr.ClearCalls();
                const int linesBefore = CountReportLines(run.Report(), row.setter);

                ui::act::Click(page, row.checkId);

                const testsupport::RecordedCall put = LastPut(run.msr);
                EXPECT_EQ(put.dispid, row.dispid);
                EXPECT_EQ(put.kind, com::InvokeKind::PropertyPut);
                ASSERT_EQ(put.args.size(), 1u);
                EXPECT_EQ(put.args[0].boolean(), c.written);
                EXPECT_EQ(run.msr.CallsExceptGets().size(), 1u) << "one put per click";
                EXPECT_EQ(page.IsDlgButtonChecked(row.checkId), c.endChecked);
                // The setter's one entry, naming the control's code.
                const std::string report = run.Report();
                EXPECT_EQ(CountReportLines(report, row.setter), linesBefore + 1);
                const std::string entry = report.substr(report.rfind(std::string("\t") + row.setter + ":\t"));
                if (c.putResult == 0) {
                    EXPECT_NE(entry.find("Succeeded!"), std::string::npos) << entry;
                } else {
                    EXPECT_NE(entry.find("Failed!"), std::string::npos) << entry;
                    const char* code = c.putResult == kClosed ? "OPOS_E_CLOSED" : "OPOS_E_ILLEGAL";
                    EXPECT_NE(entry.find(code), std::string::npos) << entry;
                }
                run.msr.SetPutResult(row.dispid, 0);
            }
        });
    }
}

// A list on a page: its tab, ID, the property its setter writes, and the
// setter's report name.
struct ListCase {
    const char* what;
    int tab;
    int listId;
    std::int32_t dispid;
    // Prepares the remembered value (by a refresh or a set-up), may be empty.
    std::function<void(MainRun&)> before;
    int chosen;                 // index the operator picks
    std::int32_t written;       // value written to the property
    std::int32_t putResult;
    int endSelection;           // selection left
};

TEST(PageOperator, ListChoicesWriteTheirValueAndFallBackToTheRememberedOneOnClosed)
{
    const auto refreshWith = [](std::int32_t dispid, std::int32_t value) {
        return [dispid, value](MainRun& run) {
            run.msr.SetI4(dispid, value);
            run.dlg.RefreshAllPages();
        };
    };
    const auto setupWith = [](std::int32_t tracks) {
        return [tracks](MainRun& run) {
            run.msr.SetI4(msrdisp::TracksToRead, tracks);
            run.dlg.PageTrackControl()->SetupTracksToRead();
        };
    };
    const int control = CMsrTestDlg::kControl;
    const int track = CMsrTestDlg::kTrackControl;
    const ListCase cases[] = {
        // PowerNotify (the operator cannot reach the disabled list; the test
        // enables it to drive its handler).
        {"PowerNotify closed before any refresh", control, 1031, msrdisp::PowerNotify, {}, 1, 1, kClosed, -1},
        {"PowerNotify closed after ENABLED shown", control, 1031, msrdisp::PowerNotify,
         refreshWith(msrdisp::PowerNotify, 1), 0, 0, kClosed, 1},
        {"PowerNotify closed after 2 shown", control, 1031, msrdisp::PowerNotify,
         refreshWith(msrdisp::PowerNotify, 2), 0, 0, kClosed, -1},
        {"PowerNotify accepted", control, 1031, msrdisp::PowerNotify, {}, 1, 1, 0, 1},
        // TracksToRead: index to mask.
        {"TracksToRead closed before Open", track, 1022, msrdisp::TracksToRead, {}, 1, 2, kClosed, -1},
        {"TracksToRead closed after set-up to 3", track, 1022, msrdisp::TracksToRead, setupWith(7), 3, 8, kClosed,
         4},
        {"TracksToRead accepted", track, 1022, msrdisp::TracksToRead, {}, 14, 15, 0, 14},
        {"TracksToRead refused otherwise keeps the choice", track, 1022, msrdisp::TracksToRead, setupWith(7), 9, 12,
         kIllegal, 9},
        // ErrorReportingType remembers -1 at first, BinaryConversion 0.
        {"ErrorReportingType closed before any refresh", track, 1024, msrdisp::ErrorReportingType, {}, 1, 1, kClosed,
         -1},
        {"ErrorReportingType closed after TRACK shown", track, 1024, msrdisp::ErrorReportingType,
         refreshWith(msrdisp::ErrorReportingType, 1), 0, 0, kClosed, 1},
        {"BinaryConversion closed before any refresh", track, 1195, msrdisp::BinaryConversion, {}, 2, 2, kClosed, 0},
        {"BinaryConversion closed after NIBBLE shown", track, 1195, msrdisp::BinaryConversion,
         refreshWith(msrdisp::BinaryConversion, 1), 2, 2, kClosed, 1},
    };
    for (const ListCase& c : cases) {
        RunMainWindow([&c](MainRun& run) {
            SCOPED_TRACE(c.what);
            ui::Dialog& page = *run.dlg.Page(c.tab);
            ui::act::SelectTab(run.dlg, pagetest::kTabControl, c.tab);
            page.EnableItem(c.listId, true);
            if (c.before) {
                c.before(run);
            }
            run.msr.SetPutResult(c.dispid, c.putResult);
            run.msr.ClearCalls();
            ui::act::SelectComboItem(page, c.listId, c.chosen);
            const testsupport::RecordedCall put = LastPut(run.msr);
            EXPECT_EQ(put.dispid, c.dispid);
            ASSERT_EQ(put.args.size(), 1u);
            EXPECT_EQ(put.args[0].i4(), c.written);
            EXPECT_EQ(run.msr.CallsExceptGets().size(), 1u);
            EXPECT_EQ(page.GetCurSel(c.listId), c.endSelection);
        });
    }
}

TEST(PageOperator, AcceptedChoiceIsRememberedAfterTheSettersRefresh)
{
    // Each list: an accepted choice while the control keeps its old value
    // (so the setter's refresh remembers that one; the handler's own store
    // must come afterwards), then a refusal with 101, which must fall back to
    // the accepted choice.
    const struct {
        const char* name;
        int tab;
        int listId;
        std::int32_t dispid;
        int accepted;
        std::int32_t remembered;  // what the page must remember afterwards
        int refused;
    } rows[] = {
        {"PowerNotify", CMsrTestDlg::kControl, 1031, msrdisp::PowerNotify, 1, 1, 0},
        {"ErrorReportingType", CMsrTestDlg::kTrackControl, 1024, msrdisp::ErrorReportingType, 1, 1, 0},
        {"BinaryConversion", CMsrTestDlg::kTrackControl, 1195, msrdisp::BinaryConversion, 2, 2, 0},
        {"TracksToRead", CMsrTestDlg::kTrackControl, 1022, msrdisp::TracksToRead, 10, 7, 0},
    };
    RunMainWindow([&rows](MainRun& run) {
        CTabPageControl& control = *run.dlg.PageControl();
        CTabPageTrackControl& track = *run.dlg.PageTrackControl();
        run.msr.SetPutStoresValue(false);
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            ui::Dialog& page = *run.dlg.Page(row.tab);
            ui::act::SelectTab(run.dlg, pagetest::kTabControl, row.tab);
            page.EnableItem(row.listId, true);
            run.msr.SetPutResult(row.dispid, 0);
            ui::act::SelectComboItem(page, row.listId, row.accepted);
            std::int32_t remembered = 0;
            switch (row.listId) {
            case 1031: remembered = control.LastPowerNotify(); break;
            case 1024: remembered = track.LastErrorReportingType(); break;
            case 1195: remembered = track.LastBinaryConversion(); break;
            default: remembered = track.LastTracksToRead(); break;
            }
            EXPECT_EQ(remembered, row.remembered);
            run.msr.SetPutResult(row.dispid, kClosed);
            ui::act::SelectComboItem(page, row.listId, row.refused);
            EXPECT_EQ(page.GetCurSel(row.listId), row.accepted);
        }
    });
}

// SetupTracksToRead: the mask read, the mask written back and shown (track 3
// cleared), and the item shown (nullptr: none).
struct SetupRow {
    std::int32_t read;
    std::int32_t written;
    const char* shown;
};

TEST(PageOperator, SetupTracksToReadClearsTrack3AndWritesBack)
{
    const SetupRow rows[] = {
        {7, 3, "MSR_TR_1_2"}, {15, 11, "MSR_TR_1_2_4"}, {1, 1, "MSR_TR_1"}, {11, 11, "MSR_TR_1_2_4"},
        {4, 0, nullptr},      {0, 0, nullptr},          {6, 2, "MSR_TR_2"}, {12, 8, "MSR_TR_4"},
        {20, 16, nullptr},    {-1, -5, nullptr},
    };
    RunMainWindow([&rows](MainRun& run) {
        CTabPageTrackControl& track = *run.dlg.PageTrackControl();
        for (const SetupRow& row : rows) {
            SCOPED_TRACE("TracksToRead " + std::to_string(row.read));
            // Start from a visible selection so that "no item" is observable.
            track.SetCurSel(1022, 0);
            run.msr.SetI4(msrdisp::TracksToRead, row.read);
            run.msr.ClearCalls();
            const int lines = CountReportLines(run.Report(), "SetTracksToRead");
            track.SetupTracksToRead();
            const testsupport::RecordedCall put = LastPut(run.msr);
            EXPECT_EQ(put.dispid, msrdisp::TracksToRead);
            ASSERT_EQ(put.args.size(), 1u);
            EXPECT_EQ(put.args[0].i4(), row.written);
            EXPECT_EQ(track.LastTracksToRead(), row.written);
            const int sel = track.GetCurSel(1022);
            if (row.shown == nullptr) {
                EXPECT_EQ(sel, -1);
            } else {
                ASSERT_GE(sel, 0);
                EXPECT_EQ(track.GetItemString(1022, sel), row.shown);
            }
            EXPECT_EQ(CountReportLines(run.Report(), "SetTracksToRead"), lines + 1);
        }
    });
}

TEST(PageOperator, OpenSetsUpTracksToReadBeforeItsOwnLine)
{
    RunMainWindow(
        [](MainRun& run) {
            ui::act::Click(run.dlg, 1000);  // "Open"
            const std::string report = run.Report();
            const std::size_t setup = report.find("\tSetTracksToRead:\t");
            const std::size_t open = report.find("\tOpen:\t");
            ASSERT_NE(setup, std::string::npos);
            ASSERT_NE(open, std::string::npos);
            EXPECT_LT(setup, open);
            CTabPageTrackControl& track = *run.dlg.PageTrackControl();
            EXPECT_EQ(track.GetItemString(1022, track.GetCurSel(1022)), "MSR_TR_1_2");
            EXPECT_EQ(track.LastTracksToRead(), 3);
            // Leave the device closed again without the exit's Close run.
            run.dlg.m_bOpened = 0;
            run.dlg.KillTimer(CMsrTestDlg::kRefreshTimerId);
        },
        [](testsupport::StandInScript& msr) { msr.SetI4(msrdisp::TracksToRead, 7); });
}

TEST(PageOperator, TrackIndexTablesAreInverse)
{
    for (int index = 0; index < 15; ++index) {
        const std::int32_t mask = CTabPageTrackControl::TracksToReadValue(index);
        EXPECT_EQ(CTabPageTrackControl::TracksToReadIndex(mask), index) << "index " << index;
    }
    EXPECT_EQ(CTabPageTrackControl::TracksToReadIndex(0), -1);
    EXPECT_EQ(CTabPageTrackControl::TracksToReadIndex(16), -1);
    EXPECT_EQ(CTabPageTrackControl::TracksToReadIndex(-1), -1);
}

}  // namespace
