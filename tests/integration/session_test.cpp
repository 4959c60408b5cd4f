// Whole sessions of the console over the real control and the simulated
// reader, driven as an operator: a card read and shown, a bad swipe answered
// in the Error Response dialog, Close and the saved report; FreezeEvents
// holding the data event back; and the refresh timer picking up a change
// that fires no event.
#include "integration_session.h"

#include "platform/ui/application.h"

#include <chrono>

namespace integration {
namespace {

constexpr int kEventWaitMs = 3000;

TEST_F(IntegrationTest, WholeSessionReadsCardAnswersBadSwipeClosesAndSavesReport)
{
    const opos::TestCard& card = Card(0);
    const std::filesystem::path saved = dir_ / "out" / "session.txt";
    std::string savedReport;

    const Step answerError = [&](ui::ModalView& v) {
        EXPECT_EQ(v.TemplateId(), 135);
        // The first entry of the error is written before the operator is asked.
        EXPECT_TRUE(ReportHas("OnMsrErrorEvent", "\r\n\t\tResultCode = \r\n\tTrac1 OPOS_SUCCESS")) << Report();
        v.Click(1042);  // Clear
        v.Click(ui::IDOK);
    };
    const Step saveFile = [&](ui::ModalView& v) {
        EXPECT_EQ(v.Kind(), ui::ModalKind::FileDialog);
        v.AcceptFileName(saved.string());
    };

    Run(
        [&](CMsrTestDlg& d) {
            OpenClaimEnable();

            // A good card: the data pages show it as soon as the event has
            // been handled, long before the next refresh tick.
            const auto swiped = reader->Swipe(card);
            ASSERT_TRUE(swiped.read) << swiped.error;
            ASSERT_TRUE(WaitUntil([&] { return ReportHas("OnMsrDataEvent", "DataEvent is received."); },
                                  kEventWaitMs))
                << Report();
            ui::Dialog* trackData = d.Page(CMsrTestDlg::kTrackData);
            ui::Dialog* parsed = d.Page(CMsrTestDlg::kParsedData);
            EXPECT_EQ(trackData->GetDlgItemText(kTrack1Data), card.tracks[0]);
            EXPECT_EQ(trackData->GetDlgItemText(kTrack2Data), card.tracks[1]);
            EXPECT_EQ(parsed->GetDlgItemText(kAccountNumber), "4111111111111111");
            EXPECT_EQ(parsed->GetDlgItemText(kSurname), "PUBLIC");
            EXPECT_EQ(parsed->GetDlgItemText(kFirstName), "JOHN");
            EXPECT_EQ(parsed->GetDlgItemText(kExpirationDate), "2912");
            EXPECT_EQ(parsed->GetDlgItemText(kServiceCode), "101");
            EXPECT_EQ(CountEntries("OnMsrDataEvent", "DataEvent is received."), 1);

            // Errors per track, then a parity fault on track 2.
            ChooseErrorReportingType(1);
            ASSERT_TRUE(ReportHas("SetErrorReportingType", "Succeeded!")) << Report();
            const auto bad = reader->BadSwipe(card, opos::BadSwipeKind::Parity, 2);
            ASSERT_TRUE(bad.read) << bad.error;
            ASSERT_TRUE(WaitUntil([&] { return ReportHas("OnMsrErrorEvent", "\r\n\t\tErrorLocus"); }, kEventWaitMs))
                << Report();
            const std::string errorEntries =
                "T\tOnMsrErrorEvent:\t\r\n\t\tResultCode = \r\n\tTrac1 OPOS_SUCCESS\r\n\tTrac2 OPOS_EMSR_PARITY"
                "\r\n\tTrac3 OPOS_SUCCESS\r\n\tTrac4 OPOS_SUCCESS\r\n"
                "T\tOnMsrErrorEvent:\t\r\n\t\tErrorLocus = 2\r\n\t\tErrorResponse = OPOS_ER_CLEAR\r\n";
            EXPECT_NE(Report().find(errorEntries), std::string::npos) << Report();
            // The track read well comes with the error; the bad one is empty.
            EXPECT_EQ(trackData->GetDlgItemText(kTrack1Data), card.tracks[0]);
            EXPECT_EQ(trackData->GetDlgItemText(kTrack2Data), "");
            EXPECT_EQ(CountEntries("OnMsrDataEvent", ""), 1);

            // Close: disable, release, close, in this order at the end.
            Press(1006);
            const std::string closeEntries =
                "T\tClose:\t...\r\nT\tClose:\tSet DeviceEnabled to FALSE;\r\nT\tClose:\tRelease...\r\n"
                "T\tRelease:\tSucceeded!\r\nT\tClose:\tSucceeded!\r\n";
            const std::string report = Report();
            ASSERT_GE(report.size(), closeEntries.size());
            EXPECT_EQ(report.substr(report.size() - closeEntries.size()), closeEntries) << report;
            EXPECT_FALSE(reader->IsOpen());
            EXPECT_EQ(d.m_bOpened, 0);
            EXPECT_EQ(d.m_bClaimed, 0);

            // The saved file holds the report box's exact bytes.
            Press(1049);
            savedReport = d.GetDlgItemText(kReport);
        },
        {answerError, saveFile});

    ASSERT_TRUE(std::filesystem::exists(saved));
    EXPECT_FALSE(savedReport.empty());
    EXPECT_EQ(ReadBytes(saved), savedReport);
}

TEST_F(IntegrationTest, FreezeEventsHoldsTheDataEventUntilCleared)
{
    const opos::TestCard& card = Card(2);
    Run([&](CMsrTestDlg& d) {
        OpenClaimEnable();
        TickControlPage(kCheckFreezeEvents);
        ASSERT_TRUE(ReportHas("SetFreezeEvents", "Succeeded!")) << Report();
        ui::Dialog* control = d.Page(CMsrTestDlg::kControl);
        ASSERT_EQ(control->IsDlgButtonChecked(kCheckFreezeEvents), 1);

        ASSERT_TRUE(reader->Swipe(card).read);
        // The data waits in the control: the refresh tick shows the count,
        // and no event comes however long the operator waits.
        EXPECT_TRUE(WaitUntil([&] { return control->GetDlgItemText(kDataCount) == "1"; }, 2500))
            << "DataCount shows \"" << control->GetDlgItemText(kDataCount) << "\"";
        ui::PumpEvents(200);
        EXPECT_EQ(CountEntries("OnMsrDataEvent", ""), 0) << Report();
        EXPECT_EQ(d.Page(CMsrTestDlg::kTrackData)->GetDlgItemText(kTrack1Data), "");

        TickControlPage(kCheckFreezeEvents);  // untick
        ASSERT_EQ(control->IsDlgButtonChecked(kCheckFreezeEvents), 0);
        ASSERT_TRUE(WaitUntil([&] { return ReportHas("OnMsrDataEvent", "DataEvent is received."); }, kEventWaitMs))
            << Report();
        EXPECT_EQ(CountEntries("OnMsrDataEvent", ""), 1);
        EXPECT_EQ(d.Page(CMsrTestDlg::kTrackData)->GetDlgItemText(kTrack1Data), card.tracks[0]);
        EXPECT_EQ(d.Page(CMsrTestDlg::kTrackData)->GetDlgItemText(kTrack2Data), card.tracks[1]);
        EXPECT_EQ(d.Page(CMsrTestDlg::kParsedData)->GetDlgItemText(kAccountNumber), "378282246310005");
        EXPECT_EQ(d.Page(CMsrTestDlg::kParsedData)->GetDlgItemText(kSurname), "DOE");
        EXPECT_EQ(control->GetDlgItemText(kDataCount), "0");
        Press(1006);
    });
}

TEST_F(IntegrationTest, RefreshTimerShowsChangesThatFireNoEvent)
{
    Run([&](CMsrTestDlg& d) {
        OpenClaimEnable();
        ui::Dialog* control = d.Page(CMsrTestDlg::kControl);
        // Open enabled data events; the operator turns them off.
        ASSERT_EQ(control->IsDlgButtonChecked(kCheckDataEventEnabled), 1);
        TickControlPage(kCheckDataEventEnabled);
        ASSERT_TRUE(ReportHas("SetDataEventEnabled", "Succeeded!")) << Report();
        ASSERT_EQ(control->IsDlgButtonChecked(kCheckDataEventEnabled), 0);
        ASSERT_EQ(control->GetDlgItemText(kDataCount), "0");

        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(reader->Swipe(Card(0)).read);
        const bool shown = WaitUntil([&] { return control->GetDlgItemText(kDataCount) == "1"; }, 1200);
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        EXPECT_TRUE(shown) << "DataCount still shows \"" << control->GetDlgItemText(kDataCount) << "\" after " << ms
                           << " ms";
        EXPECT_EQ(CountEntries("OnMsrDataEvent", ""), 0) << Report();
        Press(1006);
    });
}

}  // namespace
}  // namespace integration
