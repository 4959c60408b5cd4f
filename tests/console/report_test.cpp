// The test report: the exact bytes of WriteReport and WriteResult entries,
// the scroll to the end, Clear, and saving to a file (including every kind
// of failure, which leaves the report and the old file as they were).
#include "console_session.h"

#include "msr/msr_dispids.h"
#include "res/main_dialog_res.h"
#include "temp_dir.h"

#include <ctime>
#include <filesystem>
#include <regex>

namespace {

using consoletest::ConsoleTest;
using consoletest::ReadFile;
using consoletest::SmallTmpfs;
using consoletest::Step;
using consoletest::TempDir;
using consoletest::WriteFile;

TEST_F(ConsoleTest, WriteResultTextsByResultCode)
{
    struct Row {
        std::int32_t rc;
        std::int32_t ext;
        const char* text;
    };
    const Row rows[] = {
        {0, 0, "Succeeded!"},
        {0, 77, "Succeeded!"},
        {100, 0, "Failed!"},
        {101, 0, "Failed!\r\n\t\t ErrorCode = OPOS_E_CLOSED"},
        {106, 5, "Failed!\r\n\t\t ErrorCode = OPOS_E_ILLEGAL"},
        {114, 0, "Failed!\r\n\t\t ErrorCode = OPOS_E_EXTENDED\r\n\t\t ErrorCodeExtended = 0"},
        {114, -2147483647 - 1, "Failed!\r\n\t\t ErrorCode = OPOS_E_EXTENDED\r\n\t\t ErrorCodeExtended = -2147483648"},
        {115, 0, "Failed!"},
        {200, 0, "Failed!"},
        {-1, 0, "Failed!"},
        {1, 0, "Failed!"},
    };
    Run([&](CMsrTestDlg& d) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.rc);
            d.OnClearReport();
            d.WriteResult("Claim", row.rc, row.ext);
            EXPECT_EQ(Report(), std::string("T\tClaim:\t") + row.text + "\r\n");
        }
    });
}

TEST_F(ConsoleTest, WriteReportEntriesAreExact)
{
    Run([&](CMsrTestDlg& d) {
        const std::time_t before = std::time(nullptr);
        d.WriteReport("Open", "Succeeded!");
        const std::string raw = d.GetDlgItemText(res::IDC_REPORT);
        // The stamp is the local time of the call, "%H:%M:%S".
        std::smatch m;
        const std::regex entry("^([0-9]{2}):([0-9]{2}):([0-9]{2})\tOpen:\tSucceeded!\r\n$");
        ASSERT_TRUE(std::regex_match(raw, m, entry)) << raw;
        std::tm local {};
        localtime_r(&before, &local);
        const int stamp = std::stoi(m[1]) * 3600 + std::stoi(m[2]) * 60 + std::stoi(m[3]);
        const int now = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
        EXPECT_LE((stamp - now + 86400) % 86400, 2);

        d.WriteReport("OnMsrErrorEvent", "\r\n\t\tErrorLocus = 1");
        d.WriteReport(nullptr, nullptr);
        d.WriteReport("Name", "two\r\nlines");
        EXPECT_EQ(Report(),
                  "T\tOpen:\tSucceeded!\r\n"
                  "T\tOnMsrErrorEvent:\t\r\n\t\tErrorLocus = 1\r\n"
                  "T\t:\t\r\n"
                  "T\tName:\ttwo\r\nlines\r\n");

        d.OnClearReport();
        EXPECT_EQ(d.GetDlgItemText(res::IDC_REPORT), "");
        d.WriteReport("A", "b");
        EXPECT_EQ(Report(), "T\tA:\tb\r\n");
    });
}

// After every entry the view has moved to the end, wherever the operator
// had scrolled to.
TEST_F(ConsoleTest, EachEntryScrollsToTheEnd)
{
    Run([&](CMsrTestDlg& d) {
        for (int i = 0; i < 200; ++i) {
            d.WriteReport("Fill", "line");
        }
        const int atEnd = d.GetFirstVisibleLine(res::IDC_REPORT);
        EXPECT_GT(atEnd, 0);
        d.LineScroll(res::IDC_REPORT, -100000);
        EXPECT_EQ(d.GetFirstVisibleLine(res::IDC_REPORT), 0);
        d.WriteReport("Fill", "line");
        EXPECT_EQ(d.GetFirstVisibleLine(res::IDC_REPORT), atEnd + 1);
        d.LineScroll(res::IDC_REPORT, -5);
        d.WriteReport("Fill", "line");
        EXPECT_EQ(d.GetFirstVisibleLine(res::IDC_REPORT), atEnd + 2);
    });
}

TEST_F(ConsoleTest, EnterClearsTheReport)
{
    Run([&](CMsrTestDlg& d) {
        d.WriteReport("Open", "Succeeded!");
        ui::act::PressEnter(d);
        EXPECT_EQ(d.GetDlgItemText(res::IDC_REPORT), "");
        EXPECT_TRUE(d.IsWindow());
    });
}

// A step answering the save dialog with a typed name.
Step SaveAs(const std::string& name)
{
    return [name](ui::ModalView& v) {
        ASSERT_EQ(v.Kind(), ui::ModalKind::FileDialog);
        v.AcceptFileName(name);
    };
}

Step Answer(const char* button)
{
    return [button](ui::ModalView& v) {
        EXPECT_EQ(v.Kind(), ui::ModalKind::MessageBox);
        v.ClickButton(button);
    };
}

TEST_F(ConsoleTest, SaveWritesTheReportBytes)
{
    TempDir dir;
    struct Row {
        const char* name;
        std::string report;     // written with SetDlgItemText before saving
        std::string typed;      // typed into the file dialog
        std::string existing;   // old bytes of the target, if any
        std::vector<const char*> confirm;  // answers to the overwrite question
        std::string savedAs;    // file expected afterwards ("" none)
        std::string expected;   // its bytes
    };
    const std::string report = "10:15:02\tClaim:\tFailed!\r\n\t\t ErrorCode = OPOS_E_ILLEGAL\r\n";
    const Row rows[] = {
        {"extension added", report, dir / "first", "", {}, dir / "first.txt", report},
        {"name with extension", report, dir / "second.txt", "", {}, dir / "second.txt", report},
        {"empty report", "", dir / "empty.txt", "", {}, dir / "empty.txt", ""},
        {"overwrite confirmed", report, dir / "old.txt", std::string(3000, 'o'), {"Yes"}, dir / "old.txt", report},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (!row.existing.empty()) {
            WriteFile(dir / "old.txt", row.existing);
        }
        std::vector<Step> answers = {SaveAs(row.typed)};
        for (const char* a : row.confirm) {
            answers.push_back(Answer(a));
        }
        Run(
            [&](CMsrTestDlg& d) {
                d.SetDlgItemText(res::IDC_REPORT, row.report);
                ui::act::Click(d, res::IDC_SAVE_REPORT);
                EXPECT_EQ(d.GetDlgItemText(res::IDC_REPORT), row.report) << "saving changes nothing";
            },
            answers);
        EXPECT_EQ(ReadFile(row.savedAs), row.expected);
        EXPECT_TRUE(std::filesystem::exists(row.savedAs));
    }
}

TEST_F(ConsoleTest, SaveCancelledOrOverwriteDeclinedWritesNothing)
{
    TempDir dir;
    WriteFile(dir / "keep.txt", "old");
    Run(
        [&](CMsrTestDlg& d) {
            d.WriteReport("Open", "Succeeded!");
            ui::act::Click(d, res::IDC_SAVE_REPORT);  // cancelled
            ui::act::Click(d, res::IDC_SAVE_REPORT);  // overwrite declined, then cancelled
        },
        {
            [](ui::ModalView& v) {
                ASSERT_EQ(v.Kind(), ui::ModalKind::FileDialog);
                v.Click(ui::IDCANCEL);
            },
            // Declining the overwrite goes back to the same file dialog,
            // which is then cancelled.
            [&](ui::ModalView& v) {
                ASSERT_EQ(v.Kind(), ui::ModalKind::FileDialog);
                v.AcceptFileName(dir / "keep.txt");
                v.Click(ui::IDCANCEL);
            },
            [&](ui::ModalView& v) {
                EXPECT_NE(v.Text().find(dir / "keep.txt"), std::string::npos);
                v.ClickButton("No");
            },
        });
    EXPECT_EQ(consoletest::Listing(dir.path()), "keep.txt\n");
    EXPECT_EQ(ReadFile(dir / "keep.txt"), "old");
}

// Every failure shows one stop box naming the file and the failure; the
// report gets no entry and an existing file keeps its old bytes.
TEST_F(ConsoleTest, SaveFailuresAreReportedAndChangeNothing)
{
    TempDir dir;
    WriteFile(dir / "plain", "x");
    SmallTmpfs full("size=64k");
    SmallTmpfs ro("size=64k");

    struct Row {
        const char* name;
        std::string path;
        std::string message;
        bool needsMount;
    };
    std::vector<Row> rows = {
        {"parent is a file", dir / "plain/report.txt", dir / "plain/report.txt" + " contains an invalid path.", false},
        {"missing folder", dir / "missing/report.txt", dir / "missing/report.txt" + " contains an invalid path.", false},
    };
    if (ro.mounted()) {
        WriteFile(ro / "report.txt", "old bytes");
        if (ro.MakeReadOnly()) {
            rows.push_back({"read-only", ro / "report.txt", "Access to " + ro / "report.txt" + " was denied.", true});
        }
    }
    if (full.mounted()) {
        WriteFile(full / "report.txt", "old bytes");
        WriteFile(full / "filler", std::string(40 * 1024, 'f'));
        rows.push_back({"disk full", full / "report.txt", "Disk full while accessing " + full / "report.txt" + ".", true});
    } else {
        std::printf("[ SKIPPED  ] disk-full and read-only rows: cannot mount a tmpfs here\n");
    }

    const std::string report(32 * 1024, 'r');
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const bool existed = std::filesystem::exists(row.path);
        const std::string before = existed ? ReadFile(row.path) : std::string();
        std::vector<Step> answers = {SaveAs(row.path)};
        if (existed) {
            answers.push_back(Answer("Yes"));
        }
        answers.push_back(Box(row.message));
        Run(
            [&](CMsrTestDlg& d) {
                d.SetDlgItemText(res::IDC_REPORT, report);
                ui::act::Click(d, res::IDC_SAVE_REPORT);
                EXPECT_EQ(d.GetDlgItemText(res::IDC_REPORT), report);
            },
            answers);
        if (existed) {
            EXPECT_EQ(ReadFile(row.path), before);
        } else {
            EXPECT_FALSE(std::filesystem::exists(row.path));
        }
    }
}

}  // namespace
