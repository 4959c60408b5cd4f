// The console test session: the main window run modally under the operator
// seam, with the nested modals answered in order.
#include "console_session.h"

#include "platform/ui/application.h"
#include "res/main_dialog_res.h"

#include <regex>

namespace consoletest {

std::string Normalize(const std::string& report)
{
    // An entry starts at the beginning or after "\r\n" with a stamp and a tab;
    // continuation lines start with a tab, so they never match.
    static const std::regex stamp("(^|\r\n)([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]\t");
    return std::regex_replace(report, stamp, "$1T\t");
}

void ConsoleTest::SetUp()
{
    script = testsupport::RegisterStandInMsr();
    ui::Operator::TakeFailures();
}

void ConsoleTest::TearDown()
{
    ui::Operator::Remove();
    for (const std::string& f : ui::Operator::TakeFailures()) {
        ADD_FAILURE() << "operator seam: " << f;
    }
    testsupport::UnregisterStandInMsr();
}

int ConsoleTest::Run(const std::function<void(CMsrTestDlg&)>& body, std::vector<Step> answers)
{
    CMsrTestDlg window(nullptr);
    // The main window's own run is the first modal; the body drives it.
    testsupport::OperatorScript operatorScript;
    operatorScript.Then([&](ui::ModalView& view) {
        ASSERT_EQ(view.AsDialog(), &window) << "the first modal must be the main window";
        dlg = &window;
        body(window);
        // Ends the run unless the body did (a second end changes nothing).
        if (window.IsWindow()) {
            window.EndDialog(ui::IDCANCEL);
        }
    });
    for (Step& step : answers) {
        operatorScript.Then(std::move(step));
    }
    const int result = window.DoModal();
    operatorScript.Finish();
    dlg = nullptr;
    return result;
}

std::string ConsoleTest::Report() const
{
    return dlg != nullptr ? Normalize(dlg->GetDlgItemText(res::IDC_REPORT)) : std::string();
}

Step ConsoleTest::Box(const std::string& text)
{
    return [this, text](ui::ModalView& view) {
        EXPECT_EQ(view.Kind(), ui::ModalKind::MessageBox);
        EXPECT_EQ(view.Text(), text);
        EXPECT_EQ(view.Caption(), ui::AppName());
        reportAtBoxes_.push_back(Report());
        view.ClickButton("OK");
    };
}

Step ConsoleTest::DialogStep(int templateId, std::function<void(ui::ModalView&)> act)
{
    return [templateId, act](ui::ModalView& view) {
        EXPECT_EQ(view.TemplateId(), templateId) << "caption \"" << view.Caption() << "\"";
        act(view);
    };
}

int ConsoleTest::GetsOf(std::int32_t dispid) const
{
    int n = 0;
    for (const auto& call : script->Calls()) {
        if (call.dispid == dispid && call.kind == com::InvokeKind::PropertyGet) {
            ++n;
        }
    }
    return n;
}

}  // namespace consoletest
