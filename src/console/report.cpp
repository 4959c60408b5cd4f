// CMsrTestDlg: the test report - writing entries, clearing and saving it.
#include "console/msr_test_dlg.h"

#include "console/report_file.h"
#include "msr/opos_constants.h"
#include "msr/opos_names.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"
#include "res/main_dialog_res.h"

#include <ctime>

void CMsrTestDlg::WriteReport(const char* name, const char* text)
{
    char stamp[32] = {};
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    if (localtime_r(&now, &local) == nullptr || std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local) == 0) {
        stamp[0] = '\0';
    }

    std::string entry = stamp;
    entry += '\t';
    entry += name != nullptr ? name : "";
    entry += ":\t";
    entry += text != nullptr ? text : "";
    entry += "\r\n";

    // Appending keeps the cost of an entry independent of the report's
    // length; the box's text ends up the same as a full re-set would give.
    AppendEditText(res::IDC_REPORT, entry);

    // Scroll down by one line less than the line count, which brings the
    // end of the report into view from wherever the view was.
    const int lines = GetLineCount(res::IDC_REPORT);
    LineScroll(res::IDC_REPORT, lines - 1);
}

void CMsrTestDlg::WriteResult(const char* name, std::int32_t resultCode, std::int32_t resultCodeExtended)
{
    if (resultCode == OPOS_SUCCESS) {
        WriteReport(name, "Succeeded!");
        return;
    }
    std::string text = "Failed!";
    if (const char* codeName = ResultCodeName(resultCode)) {
        text += "\r\n\t\t ErrorCode = ";
        text += codeName;
        if (resultCode == OPOS_E_EXTENDED) {
            text += "\r\n\t\t ErrorCodeExtended = ";
            text += std::to_string(resultCodeExtended);
        }
    }
    WriteReport(name, text.c_str());
}

void CMsrTestDlg::OnClearReport()
{
    SetDlgItemText(res::IDC_REPORT, "");
}

void CMsrTestDlg::OnSaveReport()
{
    ui::SaveFileOptions options;
    options.filter = "Text file(*.txt)|*.txt";
    options.defaultExt = "txt";
    options.initialName = "Strivo";
    options.overwritePrompt = true;

    std::string path;
    if (ui::RunSaveFileDialog(this, options, &path) != ui::IDOK) {
        return;
    }

    const std::string report = GetDlgItemText(res::IDC_REPORT);
    const report_file::Result result = report_file::WriteAtomically(path, report);
    if (!result.ok()) {
        ui::MessageBox(this, report_file::FailureMessage(result, path), ui::MB_ICONSTOP);
    }
}
