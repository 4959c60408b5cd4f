// Figures for the console's report and refresh paths: appending one entry to
// reports of 1,000, 10,000 and 100,000 entries (and, for comparison, the
// same entry written by re-setting the whole text), and one full refresh of
// the five pages against the stand-in control. Runs the main window
// modally on Qt's offscreen platform and measures from inside its loop.
#include "console/msr_test_dlg.h"
#include "msr/msr_dispids.h"
#include "platform/ui/application.h"
#include "platform/ui/operator.h"
#include "res/main_dialog_res.h"
#include "support/stand_in_msr.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

CMsrTestDlg* g_dlg = nullptr;

// A report of n typical entries, grown the way a session grows it: entry by
// entry through WriteReport, so the box, its line count and its view are in
// the state the program keeps them in (a report set in one piece would make
// the first timed append pay for laying out the whole text).
void FillReport(CMsrTestDlg& dlg, std::int64_t n)
{
    dlg.OnClearReport();
    for (std::int64_t i = 0; i < n; ++i) {
        dlg.WriteReport("SetDeviceEnabled", "Failed!\r\n\t\t ErrorCode = OPOS_E_CLOSED");
    }
}

void BM_AppendEntry(benchmark::State& state)
{
    FillReport(*g_dlg, state.range(0));
    for (auto _ : state) {
        g_dlg->WriteReport("SetDeviceEnabled", "Succeeded!");
    }
    state.counters["entries"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_AppendEntry)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(500)->Unit(benchmark::kMicrosecond);

// The same entry written the way a full re-set does it: read the whole text,
// append, set it back, then scroll.
void BM_ResetWholeText(benchmark::State& state)
{
    FillReport(*g_dlg, state.range(0));
    const std::string entry = "10:15:02\tSetDeviceEnabled:\tSucceeded!\r\n";
    for (auto _ : state) {
        std::string text = g_dlg->GetDlgItemText(res::IDC_REPORT);
        text += entry;
        g_dlg->SetDlgItemText(res::IDC_REPORT, text);
        g_dlg->LineScroll(res::IDC_REPORT, g_dlg->GetLineCount(res::IDC_REPORT) - 1);
    }
}
BENCHMARK(BM_ResetWholeText)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(20)->Unit(benchmark::kMicrosecond);

void BM_RefreshAllPages(benchmark::State& state)
{
    for (auto _ : state) {
        g_dlg->RefreshAllPages();
    }
}
BENCHMARK(BM_RefreshAllPages)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::InitApplication(argc, argv);
    benchmark::Initialize(&argc, argv);

    auto script = testsupport::RegisterStandInMsr();
    // Fields that a swipe fills, so that the refresh moves real text.
    script->SetString(msrdisp::DeviceServiceDescription, "Quellor USB Mini MSR service");
    script->SetString(msrdisp::Track1Data, "B4111111111111111^DOE/JOHN^30121010000000000000");
    script->SetString(msrdisp::Track2Data, "4111111111111111=30121010000000000000");
    script->SetString(msrdisp::AccountNumber, "4111111111111111");
    script->SetString(msrdisp::Surname, "DOE");
    int status = 0;
    {
        CMsrTestDlg dlg(nullptr);
        ui::Operator::Install([&](ui::ModalView& view) {
            if (view.AsDialog() != &dlg) {
                view.PressEscape();
                return;
            }
            g_dlg = &dlg;
            benchmark::RunSpecifiedBenchmarks();
            g_dlg = nullptr;
            dlg.EndDialog(ui::IDCANCEL);
        });
        if (dlg.DoModal() == -1) {
            status = 1;
        }
        ui::Operator::Remove();
    }
    testsupport::UnregisterStandInMsr();
    benchmark::Shutdown();
    return status;
}
