// The whole program put together for end-to-end tests: the main console
// window run modally over the real MSR control, which drives the simulated
// reader through the device entry of the default logical device. Each test
// gets its own registry file and runtime folder (so claims of other test
// programs never meet its own), a plugged-in reader with the built-in cards,
// and an operator script whose first step hands the body the running window.
#pragma once

#include "console/msr_test_dlg.h"
#include "opos/control/simulated_reader.h"
#include "opos/control/test_cards.h"
#include "support/operator_script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace integration {

using Step = testsupport::Step;

// IDs of the console that the tests act on or read.
inline constexpr int kTab = 1007;
inline constexpr int kReport = 1009;
// Control page.
inline constexpr int kCheckDeviceEnabled = 1013;
inline constexpr int kCheckFreezeEvents = 1014;
inline constexpr int kCheckDataEventEnabled = 1012;
inline constexpr int kDataCount = 1036;
// Track Control page: the ErrorReportingType list.
inline constexpr int kErrorReportingList = 1024;
// Track Data page.
inline constexpr int kTrack1Data = 1028;
inline constexpr int kTrack2Data = 1010;
// Parsed Data page.
inline constexpr int kAccountNumber = 1029;
inline constexpr int kExpirationDate = 1010;
inline constexpr int kFirstName = 1011;
inline constexpr int kSurname = 1013;
inline constexpr int kServiceCode = 1016;

// The report with each entry's "HH:MM:SS" stamp replaced by "T".
std::string Normalize(const std::string& report);

// Pumps the user-interface thread's events (timers, the control's posted
// events) until pred holds or ms milliseconds have passed; answers pred's
// last value.
bool WaitUntil(const std::function<bool()>& pred, int ms);

std::string ReadBytes(const std::filesystem::path& path);

class IntegrationTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a new main window; body runs inside its modal run, which is ended
    // after it. answers take the nested modals in order.
    void Run(const std::function<void(CMsrTestDlg&)>& body, std::vector<Step> answers = {});

    // The running window's normalized report.
    std::string Report() const;
    // Whether the report holds "<name>:\t<text>" (text may start a longer entry).
    bool ReportHas(const std::string& name, const std::string& text) const;
    int CountEntries(const std::string& name, const std::string& text) const;

    // The operator's actions on the running window.
    void Press(int buttonId);                         // a main-window button
    void TickControlPage(int checkId);                // a check box of the Control page
    void ChooseErrorReportingType(int index);         // the Track Control page's list

    // Presses Open, Claim and ticks DeviceEnabled, checking each step.
    void OpenClaimEnable();

    // A step answering a message box captioned with the program's name.
    Step Box(const std::string& text);

    const opos::TestCard& Card(std::size_t i) const { return opos::BuiltInTestCards().at(i); }

    std::filesystem::path dir_;
    std::shared_ptr<opos::SimulatedReader> reader;
    CMsrTestDlg* dlg = nullptr;  // the running window
};

}  // namespace integration
