// Runs the main console window as the application does (modally, on the
// stand-in control) and drives it as an operator: the first modal shown is
// the main window, handed to the test's body; every further modal (message
// boxes, dialogs, the file dialog, menus) is answered by the next step.
#pragma once

#include "console/msr_test_dlg.h"
#include "platform/ui/operator.h"
#include "support/operator_script.h"
#include "support/stand_in_msr.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace consoletest {

using Step = testsupport::Step;

// The report with each entry's "HH:MM:SS" time replaced by "T", after
// checking that every stamp has that form.
std::string Normalize(const std::string& report);

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a new main window; body runs inside its modal loop and the window
    // is ended after it (unless body ended it). answers take the nested
    // modals in order; a modal with no answer left fails the test. Returns
    // DoModal's result.
    int Run(const std::function<void(CMsrTestDlg&)>& body, std::vector<Step> answers = {});

    // The normalized report of the running window.
    std::string Report() const;
    // The report as it was when each message box was shown, one per box.
    const std::vector<std::string>& ReportAtBoxes() const { return reportAtBoxes_; }

    // A step answering a message box: checks its text (and that it is
    // captioned with the program's name), then presses OK.
    Step Box(const std::string& text);
    // A step that checks a template dialog's ID and acts on it.
    static Step DialogStep(int templateId, std::function<void(ui::ModalView&)> act);

    // Gets of dispid since the calls were last cleared.
    int GetsOf(std::int32_t dispid) const;

    std::shared_ptr<testsupport::StandInScript> script;
    CMsrTestDlg* dlg = nullptr;  // the running window

private:
    std::vector<std::string> reportAtBoxes_;
};

}  // namespace consoletest
