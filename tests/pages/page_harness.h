// Runs the real main console window modally over the stand-in MSR control,
// answered by an operator script whose first step hands a test body the
// window (and through it the pages) from inside the window's own modal run,
// as the operator would reach them. A body that opens a modal of its own
// first queues the step that answers it (run.script.Then(...)).
#pragma once

#include "console/msr_test_dlg.h"
#include "support/operator_script.h"
#include "support/stand_in_msr.h"

#include "platform/ui/operator.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace pagetest {

inline constexpr int kMainTemplate = 102;
inline constexpr int kReportBox = 1009;
inline constexpr int kTabControl = 1007;

struct MainRun {
    CMsrTestDlg& dlg;
    testsupport::StandInScript& msr;
    testsupport::OperatorScript& script;

    std::string Report() const { return dlg.GetDlgItemText(kReportBox); }
};

using Body = std::function<void(MainRun&)>;
using Setup = std::function<void(testsupport::StandInScript&)>;

// Runs body inside the main window's modal run, then ends the run. setup
// prepares the stand-in before the window is created.
inline void RunMainWindow(const Body& body, const Setup& setup = {})
{
    std::shared_ptr<testsupport::StandInScript> msr = testsupport::RegisterStandInMsr();
    if (setup) {
        setup(*msr);
    }
    {
        CMsrTestDlg dlg(nullptr);
        testsupport::OperatorScript script;
        MainRun run{dlg, *msr, script};
        bool ran = false;
        script.Then([&](ui::ModalView& view) {
            ASSERT_EQ(view.TemplateId(), kMainTemplate);
            ran = true;
            body(run);
            dlg.EndDialog(ui::IDCANCEL);
        });
        dlg.DoModal();
        script.Finish();
        EXPECT_TRUE(ran) << "the main window never ran";
    }
    testsupport::UnregisterStandInMsr();
}

// Entries of the report under the given name ("HH:MM:SS\t<name>:\t...").
inline int CountReportLines(const std::string& report, const std::string& name)
{
    const std::string key = "\t" + name + ":\t";
    int n = 0;
    for (std::size_t pos = report.find(key); pos != std::string::npos; pos = report.find(key, pos + 1)) {
        ++n;
    }
    return n;
}

}  // namespace pagetest
