// The control's events as the console handles them: the report texts, the
// page refresh, the Error Response dialog and the response written back,
// the by-reference arguments left alone, and events arriving while a modal
// box is up.
#include "console_session.h"

#include "msr/msr_dispids.h"
#include "msr/opos_constants.h"
#include "platform/com/ui_thread.h"
#include "platform/ui/application.h"
#include "pages/tab_page_parsed_data.h"
#include "pages/tab_page_track_data.h"
#include "res/dialogs_error.h"
#include "res/main_dialog_res.h"

namespace {

using com::Variant;
using consoletest::ConsoleTest;
using consoletest::Step;

TEST_F(ConsoleTest, DataEventShowsTheCardAtOnce)
{
    Run([&](CMsrTestDlg& d) {
        script->SetString(msrdisp::Track1Data, "B4111111111111111^DOE/JOHN^3012");
        script->SetString(msrdisp::Surname, "DOE");
        script->ClearCalls();
        ASSERT_TRUE(script->Fire(msrdisp::DataEvent, {Variant::FromI4(0)}));
        EXPECT_EQ(d.PageTrackData()->GetDlgItemText(1028), "B4111111111111111^DOE/JOHN^3012");
        const auto calls = script->CallsExceptGets();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].dispid, msrdisp::DataEventEnabled);
        EXPECT_TRUE(calls[0].args[0].boolean());
        EXPECT_EQ(Report(), "T\tOnMsrDataEvent:\tDataEvent is received.\r\n");
    });
}

// One error event: the reporting type, the codes, the operator's answer in
// the Error Response dialog, and what must follow.
struct ErrorRow {
    const char* name;
    std::int32_t reportingType;
    std::int32_t rc;
    std::int32_t ext;
    std::int32_t locus;
    int click;     // radio to click first, 0 none
    bool escape;   // leave with Escape instead of OK
    bool dialog;   // whether the dialog must appear
    std::int32_t response;  // value behind pErrorResponse afterwards
    std::string report;     // normalized
};

TEST_F(ConsoleTest, ErrorEventReportsAndAnswers)
{
    const std::string card0 = "T\tOnMsrErrorEvent:\tErrorEvent is received.my messag\r\n\t\tResultCode = OPOS_SUCCESS\r\n";
    const std::string cardElse = "T\tOnMsrErrorEvent:\tErrorEvent is received.my messag\r\n\t\tResultCode = OPOS_ else\r\n";
    auto track = [](const std::string& first, const std::string& locus, const std::string& response) {
        return "T\tOnMsrErrorEvent:\t\r\n\t\tResultCode = " + first + "\r\nT\tOnMsrErrorEvent:\t\r\n\t\tErrorLocus = " +
               locus + "\r\n\t\tErrorResponse = " + response + "\r\n";
    };
    const ErrorRow rows[] = {
        {"card, success, OK", MSR_ERT_CARD, 0, 0, 2, 0, false, true, OPOS_ER_CONTINUEINPUT, card0},
        {"card, 114, retry", MSR_ERT_CARD, 114, 0x00CB00, 2, res::IDC_RESPONSE_RETRY, false, true, OPOS_ER_RETRY, cardElse},
        {"card, 111, clear", MSR_ERT_CARD, 111, 0, 1, res::IDC_RESPONSE_CLEAR, false, true, OPOS_ER_CLEAR, cardElse},
        {"card, escape", MSR_ERT_CARD, 111, 0, 1, 0, true, true, OPOS_ER_CONTINUEINPUT, cardElse},
        {"track, success", MSR_ERT_TRACK, 0, 0, 2, 0, false, true, OPOS_ER_CONTINUEINPUT,
         track("OPOS_SUCCESS", "2", "OPOS_ER_CONTINUEINPUT")},
        {"track, parity on track 2, retry", MSR_ERT_TRACK, 114, 203 << 8, 2, res::IDC_RESPONSE_RETRY, false, true, OPOS_ER_RETRY,
         track("\r\n\tTrac1 OPOS_SUCCESS\r\n\tTrac2 OPOS_EMSR_PARITY\r\n\tTrac3 OPOS_SUCCESS\r\n\tTrac4 OPOS_SUCCESS", "2",
               "OPOS_ER_RETRY")},
        {"track, every byte kind", MSR_ERT_TRACK, 114, static_cast<std::int32_t>(0xFFCCCAC9u), 1,
         res::IDC_RESPONSE_CLEAR, false, true, OPOS_ER_CLEAR,
         track("\r\n\tTrac1 OPOS_EMSR_START\r\n\tTrac2 OPOS_EMSR_END\r\n\tTrac3 OPOS_EMSR_LRC\r\n\tTrac4 OPOS_E_FAILURE",
               "1", "OPOS_ER_CLEAR")},
        {"track, unnamed bytes", MSR_ERT_TRACK, 114, 0x01C8CD05, 3, 0, false, true, OPOS_ER_CONTINUEINPUT,
         track("\r\n\tTrac1 OPOS_E_FAILURE\r\n\tTrac2 OPOS_E_FAILURE\r\n\tTrac3 OPOS_E_FAILURE\r\n\tTrac4 OPOS_E_FAILURE",
               "3", "OPOS_ER_CONTINUEINPUT")},
        {"track, 111 ignores ext", MSR_ERT_TRACK, 111, 203, -7, 0, true, true, OPOS_ER_CONTINUEINPUT,
         track("OPOS_ ELSE", "-7", "OPOS_ER_CONTINUEINPUT")},
        {"track, retry then escape", MSR_ERT_TRACK, 0, 0, 4, res::IDC_RESPONSE_RETRY, true, true, OPOS_ER_RETRY,
         track("OPOS_SUCCESS", "4", "OPOS_ER_RETRY")},
        {"card, clear then escape", MSR_ERT_CARD, 0, 0, 4, res::IDC_RESPONSE_CLEAR, true, true, OPOS_ER_CLEAR, card0},
        {"reporting type 2 untouched", 2, 114, 203, 2, 0, false, false, 99, ""},
        {"reporting type -1 untouched", -1, 0, 0, 2, 0, false, false, 99, ""},
    };
    for (const ErrorRow& row : rows) {
        SCOPED_TRACE(row.name);
        script->SetI4(msrdisp::ErrorReportingType, row.reportingType);
        std::vector<Step> answers;
        std::string reportAtDialog;
        if (row.dialog) {
            answers.push_back(DialogStep(res::IDD_ERROR_RESPONSE, [&](ui::ModalView& v) {
                EXPECT_EQ(v.Caption(), "Error Response");
                ui::Dialog* box = v.AsDialog();
                ASSERT_NE(box, nullptr);
                // The selection shown at opening is what OK returns.
                EXPECT_EQ(box->IsDlgButtonChecked(res::IDC_RESPONSE_CONTINUE), 1);
                EXPECT_EQ(box->IsDlgButtonChecked(res::IDC_RESPONSE_RETRY), 0);
                reportAtDialog = Report();
                if (row.click != 0) {
                    v.Click(row.click);
                }
                if (row.escape) {
                    v.PressEscape();
                } else {
                    v.Click(ui::IDOK);
                }
            }));
        }
        std::int32_t response = 99;
        std::string report;
        int refreshes = 0;
        Run(
            [&](CMsrTestDlg& d) {
                script->ClearCalls();
                ASSERT_TRUE(script->Fire(msrdisp::ErrorEvent, {Variant::FromI4(row.rc), Variant::FromI4(row.ext),
                                                               Variant::FromI4(row.locus), Variant::RefI4(&response)}));
                report = Report();
                refreshes = GetsOf(msrdisp::Track1Data);
                const auto calls = script->CallsExceptGets();
                ASSERT_FALSE(calls.empty());
                EXPECT_EQ(calls[0].dispid, msrdisp::DataEventEnabled);
                (void)d;
            },
            answers);
        EXPECT_EQ(response, row.response);
        EXPECT_EQ(report, row.report);
        EXPECT_EQ(refreshes, row.dialog ? 1 : 0);
        if (row.reportingType == MSR_ERT_TRACK) {
            // The first line is written before the operator is asked.
            EXPECT_EQ(reportAtDialog, row.report.substr(0, row.report.find("T\tOnMsrErrorEvent:\t", 1)));
        } else if (row.dialog) {
            EXPECT_EQ(reportAtDialog, "");
        }
    }
}

TEST_F(ConsoleTest, StatusUpdateAndDirectIOEvents)
{
    struct Row {
        std::int32_t data;
        std::string report;
    };
    const Row rows[] = {
        {2000, ""},
        {2001, "T\tOnMsrStatusUpdateEvent:\tStatusUpdateEvent is received.\r\n\t\tData = OPOS_SUE_POWER_ONLINE\r\n"},
        {2002, "T\tOnMsrStatusUpdateEvent:\tStatusUpdateEvent is received.\r\n\t\tData = OPOS_SUE_POWER_OFF\r\n"},
        {2003, "T\tOnMsrStatusUpdateEvent:\tStatusUpdateEvent is received.\r\n\t\tData = OPOS_SUE_POWER_OFFLINE\r\n"},
        {2004, "T\tOnMsrStatusUpdateEvent:\tStatusUpdateEvent is received.\r\n\t\tData = OPOS_SUE_POWER_OFF_OFFLINE\r\n"},
        {2005, ""},
        {-2001, ""},
    };
    Run([&](CMsrTestDlg& d) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.data);
            d.OnClearReport();
            script->ClearCalls();
            ASSERT_TRUE(script->Fire(msrdisp::StatusUpdateEvent, {Variant::FromI4(row.data)}));
            EXPECT_EQ(Report(), row.report);
            EXPECT_EQ(GetsOf(msrdisp::Track1Data), 1) << "pages are refreshed in any case";
            EXPECT_TRUE(script->CallsExceptGets().empty());
        }

        // DirectIOEvent: the values behind the references stay as they were.
        d.OnClearReport();
        std::int32_t data = 4711;
        com::OleString text = com::OleFromNarrow("keep me");
        ASSERT_TRUE(script->Fire(msrdisp::DirectIOEvent,
                                 {Variant::FromI4(-3), Variant::RefI4(&data), Variant::RefBstr(&text)}));
        EXPECT_EQ(data, 4711);
        EXPECT_EQ(com::NarrowFromOle(text), "keep me");
        EXPECT_EQ(Report(), "T\tOnMsrDirectIOEvent:\tDirectIOEvent is received.\r\n\t\tEventNumber = -3\r\n");

        // Unknown DISPIDs and short argument lists do no harm.
        d.OnClearReport();
        script->ClearCalls();
        ASSERT_TRUE(script->Fire(4, {Variant::FromI4(1)}));
        ASSERT_TRUE(script->Fire(99, {}));
        EXPECT_TRUE(script->Calls().empty());
        ASSERT_TRUE(script->Fire(msrdisp::ErrorEvent, {}));  // reporting type 0 -> dialog, answered below
        EXPECT_EQ(Report(), "T\tOnMsrErrorEvent:\tErrorEvent is received.my messag\r\n\t\tResultCode = OPOS_SUCCESS\r\n");
    },
        {DialogStep(res::IDD_ERROR_RESPONSE, [](ui::ModalView& v) { v.Click(ui::IDOK); })});
}

TEST_F(ConsoleTest, TempButtonFiresTwoHandlers)
{
    Run([&](CMsrTestDlg& d) {
        script->ClearCalls();
        d.SendCommand(res::IDC_TEMP);
        EXPECT_EQ(Report(),
                  "T\tOnMsrStatusUpdateEvent:\tStatusUpdateEvent is received.\r\n\t\tData = OPOS_SUE_POWER_OFF_OFFLINE\r\n"
                  "T\tOnMsrDirectIOEvent:\tDirectIOEvent is received.\r\n\t\tEventNumber = 100\r\n");
        EXPECT_EQ(GetsOf(msrdisp::Track1Data), 2);
    });
}

// An event that arrives while a command waits in its message box is handled
// at once; its line falls between the command's lines.
TEST_F(ConsoleTest, EventDuringMessageBoxIsHandledInBetween)
{
    Run(
        [&](CMsrTestDlg& d) {
            script->SetMethodResult(msrdisp::ClaimDevice, OPOS_E_ILLEGAL);
            d.m_bOpened = 1;
            ui::act::Click(d, res::IDC_CLAIM);
            EXPECT_EQ(Report(),
                      "T\tOnMsrDataEvent:\tDataEvent is received.\r\n"
                      "T\tClaim:\tFailed!\r\n\t\t ErrorCode = OPOS_E_ILLEGAL\r\n");
            d.m_bOpened = 0;
        },
        {[&](ui::ModalView& box) {
            EXPECT_EQ(box.Text(), "Fails to get the exclusive right for the device.");
            // The control posts its event to the user-interface thread; the
            // box's own loop delivers it.
            com::PostToUiThread([this] { script->Fire(msrdisp::DataEvent, {Variant::FromI4(0)}); });
            ui::PumpEvents(20);
            EXPECT_EQ(Report(), "T\tOnMsrDataEvent:\tDataEvent is received.\r\n");
            box.ClickButton("OK");
        }});
}

}  // namespace
