// The setter commands and the device lifecycle commands: the calls made on
// the control, the report lines in order, the message boxes (shown before
// the lines of the same outcome) and the open/claimed state.
#include "console_session.h"

#include "msr/msr_dispids.h"
#include "msr/opos_constants.h"
#include "res/dialogs_health.h"
#include "res/main_dialog_res.h"

namespace {

using consoletest::ConsoleTest;
using consoletest::Step;
using Setter = std::int32_t (CMsrTestDlg::*)(std::int32_t);

// ---- setters ---------------------------------------------------------------

struct SetterRow {
    const char* name;
    Setter setter;
    std::int32_t dispid;
    bool boolean;
};

const SetterRow kSetters[] = {
    {"SetAutoDisable", &CMsrTestDlg::SetAutoDisable, msrdisp::AutoDisable, true},
    {"SetDeviceEnabled", &CMsrTestDlg::SetDeviceEnabled, msrdisp::DeviceEnabled, true},
    {"SetFreezeEvents", &CMsrTestDlg::SetFreezeEvents, msrdisp::FreezeEvents, true},
    {"SetDataEventEnabled", &CMsrTestDlg::SetDataEventEnabled, msrdisp::DataEventEnabled, true},
    {"SetPowerNotify", &CMsrTestDlg::SetPowerNotify, msrdisp::PowerNotify, false},
    {"SetDecodeData", &CMsrTestDlg::SetDecodeData, msrdisp::DecodeData, true},
    {"SetParseDecodeData", &CMsrTestDlg::SetParseDecodeData, msrdisp::ParseDecodeData, true},
    {"SetTransmitSentinels", &CMsrTestDlg::SetTransmitSentinels, msrdisp::TransmitSentinels, true},
    {"SetTracksToRead", &CMsrTestDlg::SetTracksToRead, msrdisp::TracksToRead, false},
    {"SetErrorReportingType", &CMsrTestDlg::SetErrorReportingType, msrdisp::ErrorReportingType, false},
    {"SetBinaryConversion", &CMsrTestDlg::SetBinaryConversion, msrdisp::BinaryConversion, false},
};

// Each setter puts its property once, returns the control's ResultCode,
// refreshes all pages unless the code is 101 and reports under its name.
TEST_F(ConsoleTest, SettersPutReportAndRefreshUnlessClosed)
{
    struct RcRow {
        std::int32_t rc;
        bool refresh;
        const char* text;
    };
    const RcRow codes[] = {
        {0, true, "Succeeded!"},
        {OPOS_E_CLOSED, false, "Failed!\r\n\t\t ErrorCode = OPOS_E_CLOSED"},
        {OPOS_E_ILLEGAL, true, "Failed!\r\n\t\t ErrorCode = OPOS_E_ILLEGAL"},
        {OPOS_E_EXTENDED, true, "Failed!\r\n\t\t ErrorCode = OPOS_E_EXTENDED\r\n\t\t ErrorCodeExtended = 0"},
    };
    Run([&](CMsrTestDlg& d) {
        for (const SetterRow& s : kSetters) {
            for (const RcRow& c : codes) {
                SCOPED_TRACE(std::string(s.name) + " rc " + std::to_string(c.rc));
                script->SetPutResult(s.dispid, c.rc);
                // A refresh puts the control's value on the pages: let it
                // differ from what the setter writes.
                script->SetPutStoresValue(false);
                script->SetString(msrdisp::Track1Data, "card " + std::to_string(c.rc));
                d.OnClearReport();
                script->ClearCalls();

                const std::int32_t value = s.boolean ? 1 : 3;
                EXPECT_EQ((d.*s.setter)(value), c.rc);

                const auto puts = script->CallsExceptGets();
                ASSERT_EQ(puts.size(), 1u);
                EXPECT_EQ(puts[0].dispid, s.dispid);
                EXPECT_EQ(puts[0].kind, com::InvokeKind::PropertyPut);
                if (s.boolean) {
                    EXPECT_TRUE(puts[0].args[0].boolean());
                } else {
                    EXPECT_EQ(puts[0].args[0].i4(), value);
                }
                ASSERT_FALSE(script->Calls().size() < 2);
                EXPECT_EQ(script->Calls()[1].dispid, msrdisp::ResultCode) << "the verdict is read right after the put";
                EXPECT_EQ(GetsOf(msrdisp::Track1Data), c.refresh ? 1 : 0);
                EXPECT_EQ(GetsOf(msrdisp::Claimed), c.refresh ? 1 : 0);
                EXPECT_EQ(Report(), std::string("T\t") + s.name + ":\t" + c.text + "\r\n");
            }
        }
        script->SetPutStoresValue(true);
    });
}

// ---- lifecycle ---------------------------------------------------------------

// What a test row does before the command, how the control answers, and
// what must follow.
struct LifecycleRow {
    const char* name;
    bool opened;
    bool claimed;
    std::vector<std::pair<std::int32_t, std::int32_t>> methodResults;  // dispid, rc
    std::vector<std::string> boxes;
    std::string report;  // normalized
    int openedAfter;
    int claimedAfter;
    std::vector<std::int32_t> methods;  // methods called, in order
};

// A fixture with access to the protected session members from helpers.
class LifecycleTest : public ConsoleTest {
protected:
    void RunTable(void (CMsrTestDlg::*command)(), const std::vector<LifecycleRow>& rows)
    {
        for (const LifecycleRow& row : rows) {
            SCOPED_TRACE(row.name);
            for (std::int32_t m : {msrdisp::Open, msrdisp::ClaimDevice, msrdisp::ReleaseDevice, msrdisp::Close,
                                   msrdisp::CheckHealth, msrdisp::ClearInput}) {
                script->SetMethodResult(m, 0);
            }
            std::vector<Step> answers;
            for (const std::string& text : row.boxes) {
                answers.push_back(Box(text));
            }
            std::vector<std::int32_t> methods;
            std::string report;
            int opened = -1;
            int claimed = -1;
            Run(
                [&](CMsrTestDlg& d) {
                    d.m_bOpened = row.opened ? 1 : 0;
                    d.m_bClaimed = row.claimed ? 1 : 0;
                    for (const auto& [dispid, rc] : row.methodResults) {
                        script->SetMethodResult(dispid, rc);
                    }
                    script->ClearCalls();
                    (d.*command)();
                    for (const auto& c : script->CallsExceptGets()) {
                        if (c.kind == com::InvokeKind::Method) {
                            methods.push_back(c.dispid);
                        }
                    }
                    report = Report();
                    opened = d.m_bOpened;
                    claimed = d.m_bClaimed;
                    // Leave without the Close that Exit would run.
                    d.m_bOpened = 0;
                },
                answers);
            EXPECT_EQ(report, row.report);
            EXPECT_EQ(methods, row.methods);
            EXPECT_EQ(opened, row.openedAfter);
            EXPECT_EQ(claimed, row.claimedAfter);
        }
    }
};

const std::string kMustOpen = "You must open the device at first!";

TEST_F(LifecycleTest, Open)
{
    using namespace msrdisp;
    const std::string notRegistered = "This device has not been registered, or cannot use.";
    RunTable(&CMsrTestDlg::OnOpenDevice,
             {
                 {"success", false, false, {}, {}, "T\tSetTracksToRead:\tSucceeded!\r\nT\tOpen:\tSucceeded!\r\n", 1, 0, {Open}},
                 {"already open", true, false, {}, {}, "", 1, 0, {}},
                 {"fails 104", false, false, {{Open, 104}}, {notRegistered}, "T\tOpen:\tFailed!\r\nT\tOpen:\tOPOS_E_NOSERVICE\r\n", 0, 0, {Open}},
                 {"fails 101", false, false, {{Open, 101}}, {notRegistered}, "T\tOpen:\tFailed!\r\nT\tOpen:\tOPOS_E_CLOSED\r\n", 0, 0, {Open}},
                 {"fails 114", false, false, {{Open, 114}}, {notRegistered}, "T\tOpen:\tFailed!\r\nT\tOpen:\tOPOS_E_EXTENDED\r\n", 0, 0, {Open}},
                 {"fails 100", false, false, {{Open, 100}}, {notRegistered}, "T\tOpen:\tFailed!\r\nT\tOpen:\tOPOSERR\r\n", 0, 0, {Open}},
                 {"fails 200", false, false, {{Open, 200}}, {notRegistered}, "T\tOpen:\tFailed!\r\nT\tOpen:\tOPOSERREXT\r\n", 0, 0, {Open}},
                 {"fails 115", false, false, {{Open, 115}}, {notRegistered}, "T\tOpen:\tFailed!\r\n", 0, 0, {Open}},
                 {"fails -1", false, false, {{Open, -1}}, {notRegistered}, "T\tOpen:\tFailed!\r\n", 0, 0, {Open}},
             });
    // Every box came before the report lines of its outcome.
    for (const std::string& atBox : ReportAtBoxes()) {
        EXPECT_EQ(atBox, "");
    }
}

TEST_F(LifecycleTest, OpenPassesDeviceNameAndEnablesDataEvents)
{
    Run([&](CMsrTestDlg& d) {
        script->SetI4(msrdisp::TracksToRead, MSR_TR_1 | MSR_TR_2 | MSR_TR_3);
        script->ClearCalls();
        d.OnOpenDevice();
        const auto calls = script->CallsExceptGets();
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[0].dispid, msrdisp::Open);
        EXPECT_EQ(com::NarrowFromOle(calls[0].args[0].bstr()), "QuellorUSBMiniMSR");
        EXPECT_EQ(calls[1].dispid, msrdisp::TracksToRead);
        EXPECT_EQ(calls[1].args[0].i4(), MSR_TR_1 | MSR_TR_2);
        EXPECT_EQ(calls[2].dispid, msrdisp::DataEventEnabled);
        EXPECT_TRUE(calls[2].args[0].boolean());
        d.m_bOpened = 0;
    });
}

TEST_F(LifecycleTest, Claim)
{
    using namespace msrdisp;
    const std::string noRight = "Fails to get the exclusive right for the device.";
    RunTable(&CMsrTestDlg::OnClaimDevice,
             {
                 {"not open", false, false, {}, {kMustOpen}, "", 0, 0, {}},
                 {"success", true, false, {}, {}, "T\tClaim:\tSucceeded!\r\n", 1, 1, {ClaimDevice}},
                 {"already claimed", true, true, {}, {}, "", 1, 1, {}},
                 {"fails 107", true, false, {{ClaimDevice, 107}}, {" Connect The Msr Reader To Computer !"},
                  "T\tClaim:\tFailed!\r\n\t\t ErrorCode = OPOS_E_NOHARDWARE\r\n", 1, 0, {ClaimDevice}},
                 {"fails 106", true, false, {{ClaimDevice, 106}}, {noRight},
                  "T\tClaim:\tFailed!\r\n\t\t ErrorCode = OPOS_E_ILLEGAL\r\n", 1, 0, {ClaimDevice}},
                 {"fails 114", true, false, {{ClaimDevice, 114}}, {noRight},
                  "T\tClaim:\tFailed!\r\n\t\t ErrorCode = OPOS_E_EXTENDED\r\n\t\t ErrorCodeExtended = 0\r\n", 1, 0, {ClaimDevice}},
                 {"fails 300", true, false, {{ClaimDevice, 300}}, {noRight}, "T\tClaim:\tFailed!\r\n", 1, 0, {ClaimDevice}},
             });
}

TEST_F(LifecycleTest, ClaimPassesTimeoutAndRefreshes)
{
    Run([&](CMsrTestDlg& d) {
        d.m_bOpened = 1;
        script->ClearCalls();
        d.OnClaimDevice();
        const auto calls = script->CallsExceptGets();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].args[0].i4(), 1000);
        EXPECT_EQ(GetsOf(msrdisp::Track1Data), 1);
        d.m_bOpened = 0;
    });
}

TEST_F(LifecycleTest, Release)
{
    using namespace msrdisp;
    RunTable(&CMsrTestDlg::OnReleaseDevice,
             {
                 {"not open", false, true, {}, {kMustOpen}, "", 0, 1, {}},
                 {"success", true, true, {}, {}, "T\tRelease:\tSucceeded!\r\n", 1, 0, {ReleaseDevice}},
                 {"unclaimed still calls", true, false, {}, {}, "T\tRelease:\tSucceeded!\r\n", 1, 0, {ReleaseDevice}},
                 {"not claimed 103", true, true, {{ReleaseDevice, 103}}, {},
                  "T\tRelease:\tFailed!\r\n\t\t ErrorCode = OPOS_E_NOTCLAIMED\r\n", 1, 1, {ReleaseDevice}},
                 {"fails 111", true, true, {{ReleaseDevice, 111}},
                  {"Could not Release the exclusive right of the device. Some error occurs! "},
                  "T\tRelease:\tFailed!\r\n", 1, 1, {ReleaseDevice}},
             });
}

TEST_F(LifecycleTest, Close)
{
    using namespace msrdisp;
    const std::string head = "T\tClose:\t...\r\nT\tClose:\tSet DeviceEnabled to FALSE;\r\nT\tClose:\tRelease...\r\n";
    RunTable(&CMsrTestDlg::OnCloseDevice,
             {
                 {"not open", false, false, {}, {kMustOpen}, "", 0, 0, {}},
                 {"unclaimed", true, false, {}, {}, head + "T\tClose:\tSucceeded!\r\n", 0, 0, {Close}},
                 {"claimed", true, true, {}, {}, head + "T\tRelease:\tSucceeded!\r\nT\tClose:\tSucceeded!\r\n", 0, 0,
                  {ReleaseDevice, Close}},
                 // A successful close ends the claim even when the release failed.
                 {"release fails, close succeeds", true, true, {{ReleaseDevice, 111}},
                  {"Could not Release the exclusive right of the device. Some error occurs! "},
                  head + "T\tRelease:\tFailed!\r\nT\tClose:\tSucceeded!\r\n", 0, 0, {ReleaseDevice, Close}},
                 {"close fails", true, false, {{Close, 111}}, {"Could not close the device. Some error occurs!"},
                  head + "T\tClose:\tFailed!\r\n", 1, 0, {Close}},
                 {"claimed, close fails", true, true, {{Close, 111}}, {"Could not close the device. Some error occurs!"},
                  head + "T\tRelease:\tSucceeded!\r\nT\tClose:\tFailed!\r\n", 1, 0, {ReleaseDevice, Close}},
             });
    // The close box follows the progress lines (they come before the call).
    ASSERT_EQ(ReportAtBoxes().size(), 4u);
    EXPECT_EQ(ReportAtBoxes()[2], head);
}

TEST_F(LifecycleTest, CloseDisablesDeviceFirst)
{
    Run([&](CMsrTestDlg& d) {
        d.m_bOpened = 1;
        script->ClearCalls();
        d.OnCloseDevice();
        const auto calls = script->CallsExceptGets();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].dispid, msrdisp::DeviceEnabled);
        EXPECT_FALSE(calls[0].args[0].boolean());
        EXPECT_EQ(calls[1].dispid, msrdisp::Close);
        EXPECT_EQ(GetsOf(msrdisp::Track1Data), 0) << "a successful close refreshes only two fields";
        EXPECT_EQ(GetsOf(msrdisp::State), 1);
        EXPECT_EQ(GetsOf(msrdisp::DataEventEnabled), 1);
    });
}

TEST_F(LifecycleTest, ClearInput)
{
    using namespace msrdisp;
    RunTable(&CMsrTestDlg::OnClearInput,
             {
                 {"not open", false, false, {}, {kMustOpen}, "", 0, 0, {}},
                 {"success", true, false, {}, {}, "T\tClearInput:\tSucceeded!\r\n", 1, 0, {ClearInput}},
                 {"fails 105", true, false, {{ClearInput, 105}}, {},
                  "T\tClearInput:\tFailed!\r\n\t\t ErrorCode = OPOS_E_DISABLED\r\n", 1, 0, {ClearInput}},
             });
}

TEST_F(LifecycleTest, CheckHealthNeedsOpenDevice)
{
    RunTable(&CMsrTestDlg::OnCheckHealth, {{"not open", false, false, {}, {kMustOpen}, "", 0, 0, {}}});
}

// CheckHealth at each level, answered with OK; Escape calls nothing.
TEST_F(ConsoleTest, CheckHealthLevels)
{
    struct Row {
        const char* name;
        int click;  // radio to click, 0 none
        bool escape;
        std::int32_t rc;
        std::int32_t level;
        std::string report;
    };
    const Row rows[] = {
        {"OK untouched", 0, false, 0, 1, "T\tCheckHealth:\tLevel = INTERNAL\tSucceeded!\r\nT\tCheckHealth:\tSucceeded!\r\n"},
        {"external", res::IDC_LEVEL_EXTERNAL, false, 0, 2,
         "T\tCheckHealth:\tLevel = EXTERNAL\tSucceeded!\r\nT\tCheckHealth:\tSucceeded!\r\n"},
        {"interactive fails", res::IDC_LEVEL_INTERACTIVE, false, 111, 3,
         "T\tCheckHealth:\tLevel = INTERACTIVE\tFailed!\r\nT\tCheckHealth:\tFailed!\r\n\t\t ErrorCode = OPOS_E_FAILURE\r\n"},
        {"back to internal", -1, false, 0, 1, "T\tCheckHealth:\tLevel = INTERNAL\tSucceeded!\r\nT\tCheckHealth:\tSucceeded!\r\n"},
        {"escape", res::IDC_LEVEL_EXTERNAL, true, 0, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        script->SetMethodResult(msrdisp::CheckHealth, row.rc);
        std::vector<std::int32_t> levels;
        std::string report;
        Run(
            [&](CMsrTestDlg& d) {
                d.m_bOpened = 1;
                script->ClearCalls();
                ui::act::Click(d, res::IDC_CHECK_HEALTH);
                for (const auto& c : script->CallsExceptGets()) {
                    EXPECT_EQ(c.dispid, msrdisp::CheckHealth);
                    levels.push_back(c.args[0].i4());
                }
                report = Report();
                d.m_bOpened = 0;
            },
            {DialogStep(res::IDD_HEALTH_LEVEL, [&](ui::ModalView& v) {
                EXPECT_EQ(v.Caption(), "Check Health Level");
                ui::Dialog* box = v.AsDialog();
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->IsDlgButtonChecked(res::IDC_LEVEL_INTERNAL), 1);
                EXPECT_EQ(box->IsDlgButtonChecked(res::IDC_LEVEL_EXTERNAL), 0);
                if (row.click == -1) {
                    v.Click(res::IDC_LEVEL_EXTERNAL);
                    v.Click(res::IDC_LEVEL_INTERNAL);
                } else if (row.click != 0) {
                    v.Click(row.click);
                }
                if (row.escape) {
                    v.PressEscape();
                } else {
                    v.Click(ui::IDOK);
                }
            })});
        EXPECT_EQ(report, row.report);
        if (row.level == 0) {
            EXPECT_TRUE(levels.empty());
        } else {
            EXPECT_EQ(levels, std::vector<std::int32_t>{row.level});
        }
    }
}

// The road through the whole life, with the timer and the flags.
TEST_F(ConsoleTest, OpenClaimReleaseCloseRoad)
{
    Run([&](CMsrTestDlg& d) {
        ui::act::Click(d, res::IDC_OPEN);
        EXPECT_EQ(d.m_bOpened, 1);
        ui::act::Click(d, res::IDC_CLAIM);
        EXPECT_EQ(d.m_bClaimed, 1);
        ui::act::Click(d, res::IDC_CLEAR_INPUT);
        ui::act::Click(d, res::IDC_RELEASE);
        EXPECT_EQ(d.m_bClaimed, 0);
        ui::act::Click(d, res::IDC_CLOSE);
        EXPECT_EQ(d.m_bOpened, 0);
        EXPECT_FALSE(d.HasTimer(CMsrTestDlg::kRefreshTimerId));
        EXPECT_EQ(Report(),
                  "T\tSetTracksToRead:\tSucceeded!\r\n"
                  "T\tOpen:\tSucceeded!\r\n"
                  "T\tClaim:\tSucceeded!\r\n"
                  "T\tClearInput:\tSucceeded!\r\n"
                  "T\tRelease:\tSucceeded!\r\n"
                  "T\tClose:\t...\r\n"
                  "T\tClose:\tSet DeviceEnabled to FALSE;\r\n"
                  "T\tClose:\tRelease...\r\n"
                  "T\tClose:\tSucceeded!\r\n");
    });
}

}  // namespace
