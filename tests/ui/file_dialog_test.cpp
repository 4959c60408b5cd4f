// The save-file dialog: filter conversion, default extension, initial name,
// cancel, and the overwrite confirmation as a box of its own.
#include "ui/ui_test_util.h"

#include "platform/ui/application.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/file_dialog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include <fstream>

namespace {

ui::SaveFileOptions ReportOptions() {
    ui::SaveFileOptions o;
    o.filter = "Text file(*.txt)|*.txt";
    o.defaultExt = "txt";
    o.initialName = "Strivo";
    return o;
}

struct SaveRow {
    const char* name;
    const char* typed;      // relative to the temporary folder
    const char* expected;   // the path returned, relative too
};

// Row per name typed by the operator.
const SaveRow kSaveRows[] = {
    {"no extension gets the default", "report", "report.txt"},
    {"own extension kept", "report.log", "report.log"},
    {"txt kept", "done.txt", "done.txt"},
};

TEST(SaveFileDialog, ReturnsTheChosenPathWithTheDefaultExtension) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const SaveRow& row : kSaveRows) {
        SCOPED_TRACE(row.name);
        std::string path;
        testsupport::OperatorScript script;
        script.Then([&](ui::ModalView& v) {
            EXPECT_EQ(v.Kind(), ui::ModalKind::FileDialog);
            auto* fd = qobject_cast<QFileDialog*>(v.Widget());
            ASSERT_NE(fd, nullptr);
            EXPECT_EQ(fd->nameFilters(), QStringList{QStringLiteral("Text file(*.txt) (*.txt)")});
            EXPECT_EQ(fd->defaultSuffix(), QStringLiteral("txt"));
            EXPECT_EQ(fd->acceptMode(), QFileDialog::AcceptSave);
            auto* edit = fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->text(), QStringLiteral("Strivo"));
            v.AcceptFileName(dir.filePath(QString::fromUtf8(row.typed)).toStdString());
        });
        EXPECT_EQ(ui::RunSaveFileDialog(nullptr, ReportOptions(), &path), ui::IDOK);
        EXPECT_EQ(path, dir.filePath(QString::fromUtf8(row.expected)).toStdString());
    }
}

TEST(SaveFileDialog, CancelReturnsCancelAndLeavesThePath) {
    std::string path = "unchanged";
    testsupport::OperatorScript script;
    script.Then(testsupport::ClickButton("Cancel"));
    EXPECT_EQ(ui::RunSaveFileDialog(nullptr, ReportOptions(), &path), ui::IDCANCEL);
    EXPECT_EQ(path, "unchanged");
}

TEST(SaveFileDialog, ExistingFileIsReplacedOnlyAfterYes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string existing = dir.filePath(QStringLiteral("old.txt")).toStdString();
    std::ofstream(existing) << "keep";
    std::string path;
    testsupport::OperatorScript script;
    script
        .Then([&](ui::ModalView& v) {
            v.AcceptFileName(existing);  // answered "No": the dialog stays
            EXPECT_TRUE(v.Widget()->isVisible());
            v.AcceptFileName(existing);  // answered "Yes"
        })
        .Then([&](ui::ModalView& box) {
            EXPECT_EQ(box.Kind(), ui::ModalKind::MessageBox);
            EXPECT_NE(box.Text().find(existing), std::string::npos) << box.Text();
            EXPECT_NE(qobject_cast<QFileDialog*>(box.Widget()->parentWidget()), nullptr) << "asked over the dialog";
            box.ClickButton("No");
        })
        .Then(testsupport::ClickButton("Yes"));
    EXPECT_EQ(ui::RunSaveFileDialog(nullptr, ReportOptions(), &path), ui::IDOK);
    EXPECT_EQ(path, existing);
}

TEST(SaveFileDialog, NoPromptWhenNotAsked) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string existing = dir.filePath(QStringLiteral("old.txt")).toStdString();
    std::ofstream(existing) << "keep";
    ui::SaveFileOptions options = ReportOptions();
    options.overwritePrompt = false;
    std::string path;
    testsupport::OperatorScript script;
    script.Then([&](ui::ModalView& v) { v.AcceptFileName(existing); });
    EXPECT_EQ(ui::RunSaveFileDialog(nullptr, options, &path), ui::IDOK);
    EXPECT_EQ(path, existing);
}

}  // namespace
