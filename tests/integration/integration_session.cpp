// The end-to-end test session: per-test registry and runtime folders, the
// real control class and the default device entry on the simulated reader,
// and the main window run under the operator seam.
#include "integration_session.h"

#include "opos/control/device_entries.h"
#include "opos/control/msr_control_class.h"
#include "platform/com/ui_thread.h"
#include "platform/ui/application.h"
#include "platform/ui/operator.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace integration {

std::string Normalize(const std::string& report)
{
    // An entry starts at the beginning or after "\r\n" with a stamp and a
    // tab; continuation lines start with a tab, so they never match.
    static const std::regex stamp("(^|\r\n)([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]\t");
    return std::regex_replace(report, stamp, "$1T\t");
}

bool WaitUntil(const std::function<bool()>& pred, int ms)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return pred();
        }
        ui::PumpEvents(5);
    }
    return true;
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void IntegrationTest::SetUp()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("strivo-integ-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "." + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "data");
    std::filesystem::create_directories(dir_ / "run");
    std::filesystem::create_directories(dir_ / "out");
    ::setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (dir_ / "run").c_str(), 1);

    opos::RegisterMsrControlClass();
    opos::DeviceEntry entry;
    entry.logicalName = opos::kDefaultLogicalName;
    entry.service = opos::kSimulatedServiceName;
    ASSERT_TRUE(opos::DeviceEntries().Set(entry).ok);

    reader = opos::SimulatedReader::ForDevice(opos::kDefaultLogicalName);
    reader->Plug();
    reader->SetCards(opos::BuiltInTestCards());
    ui::Operator::TakeFailures();
}

void IntegrationTest::TearDown()
{
    ui::Operator::Remove();
    for (const std::string& f : ui::Operator::TakeFailures()) {
        ADD_FAILURE() << "operator seam: " << f;
    }
    opos::SimulatedReader::SetWindowFactory(nullptr);
    if (reader) {
        reader->Plug();
    }
    // Lets events of the closed session run out against nothing.
    ui::PumpEvents(0);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

void IntegrationTest::Run(const std::function<void(CMsrTestDlg&)>& body, std::vector<Step> answers)
{
    CMsrTestDlg window(nullptr);
    testsupport::OperatorScript script;
    bool ran = false;
    script.Then([&](ui::ModalView& view) {
        ASSERT_EQ(view.AsDialog(), &window) << "the first modal must be the main window";
        ran = true;
        dlg = &window;
        body(window);
        if (window.IsWindow()) {
            window.EndDialog(ui::IDCANCEL);
        }
    });
    for (Step& step : answers) {
        script.Then(std::move(step));
    }
    window.DoModal();
    script.Finish();
    dlg = nullptr;
    EXPECT_TRUE(ran) << "the main window never ran";
}

std::string IntegrationTest::Report() const
{
    return dlg != nullptr ? Normalize(dlg->GetDlgItemText(kReport)) : std::string();
}

int IntegrationTest::CountEntries(const std::string& name, const std::string& text) const
{
    const std::string report = Report();
    const std::string key = "T\t" + name + ":\t" + text;
    int n = 0;
    for (std::size_t pos = report.find(key); pos != std::string::npos; pos = report.find(key, pos + 1)) {
        ++n;
    }
    return n;
}

bool IntegrationTest::ReportHas(const std::string& name, const std::string& text) const
{
    return CountEntries(name, text) > 0;
}

void IntegrationTest::Press(int buttonId)
{
    ASSERT_NE(dlg, nullptr);
    ui::act::Click(*dlg, buttonId);
}

void IntegrationTest::TickControlPage(int checkId)
{
    ASSERT_NE(dlg, nullptr);
    ui::act::SelectTab(*dlg, kTab, CMsrTestDlg::kControl);
    ui::act::Click(*dlg->Page(CMsrTestDlg::kControl), checkId);
}

void IntegrationTest::ChooseErrorReportingType(int index)
{
    ASSERT_NE(dlg, nullptr);
    ui::act::SelectTab(*dlg, kTab, CMsrTestDlg::kTrackControl);
    ui::act::SelectComboItem(*dlg->Page(CMsrTestDlg::kTrackControl), kErrorReportingList, index);
}

void IntegrationTest::OpenClaimEnable()
{
    Press(1000);  // Open
    ASSERT_TRUE(ReportHas("Open", "Succeeded!")) << Report();
    Press(1001);  // Claim
    ASSERT_TRUE(ReportHas("Claim", "Succeeded!")) << Report();
    TickControlPage(kCheckDeviceEnabled);
    ASSERT_TRUE(ReportHas("SetDeviceEnabled", "Succeeded!")) << Report();
    ASSERT_EQ(dlg->Page(CMsrTestDlg::kControl)->IsDlgButtonChecked(kCheckDeviceEnabled), 1);
    ASSERT_TRUE(reader->IsEnabled());
}

Step IntegrationTest::Box(const std::string& text)
{
    return [text](ui::ModalView& view) {
        EXPECT_EQ(view.Kind(), ui::ModalKind::MessageBox);
        EXPECT_EQ(view.Text(), text);
        EXPECT_EQ(view.Caption(), ui::AppName());
        view.ClickButton("OK");
    };
}

}  // namespace integration
