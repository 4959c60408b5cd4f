// The save-file dialog: Qt's own (non-native) file dialog with the filter
// string converted, the default extension, the initial name, and an
// overwrite confirmation of our own so that the operator seam sees it.
#include "platform/ui/file_dialog.h"

#include "platform/ui/application.h"
#include "platform/ui/confirm.h"
#include "platform/ui/dialog.h"
#include "platform/ui/operator_seam.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace ui {
namespace {

// "Text file(*.txt)|*.txt|All(*.*)|*.*" -> {"Text file(*.txt) (*.txt)", ...}.
// Several patterns of one type are separated by ';' on the platform and by
// blanks in Qt. A trailing empty pair ends the list.
QStringList ConvertFilter(const std::string& filter) {
    QStringList out;
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString patterns = parts[i + 1];
        if (description.isEmpty() && patterns.isEmpty()) {
            break;
        }
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << description + QStringLiteral(" (") + patterns.trimmed() + QLatin1Char(')');
    }
    return out;
}

class SaveDialog : public QFileDialog {
public:
    SaveDialog(QWidget* parent, bool overwritePrompt) : QFileDialog(parent), overwritePrompt_(overwritePrompt) {}

    void accept() override {
        const QStringList files = selectedFiles();
        if (overwritePrompt_ && files.size() == 1) {
            const QFileInfo info(files.front());
            if (info.exists() && !info.isDir()) {
                const std::string text = info.absoluteFilePath().toStdString() +
                                         " already exists.\nDo you want to replace it?";
                if (!detail::AskYesNo(this, text, windowTitle().toStdString())) {
                    return;  // back to the dialog
                }
            }
        }
        QFileDialog::accept();
    }

private:
    bool overwritePrompt_;
};

class FileDialogView : public detail::ModalViewBase {
public:
    explicit FileDialogView(QFileDialog* dlg) : dlg_(dlg) {}
    ModalKind Kind() const override { return ModalKind::FileDialog; }
    std::string Caption() const override { return dlg_.isNull() ? std::string() : dlg_->windowTitle().toStdString(); }
    QWidget* Widget() const override { return dlg_; }
    void Click(int id) override {
        if (id == IDOK) {
            ClickAccept();
        } else if (id == IDCANCEL) {
            ClickButton("Cancel");
        }
    }
    void AcceptFileName(const std::string& name) override {
        if (dlg_.isNull()) {
            return;
        }
        if (auto* edit = dlg_->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            edit->setFocus();
            edit->selectAll();
            edit->insert(QString::fromStdString(name));  // as typed: the dialog follows the text
        }
        ClickAccept();
    }
    void ForceClose() override {
        if (!dlg_.isNull()) {
            dlg_->reject();
        }
    }

private:
    void ClickAccept() {
        if (dlg_.isNull()) {
            return;
        }
        if (auto* box = dlg_->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))) {
            QPushButton* b = box->button(QDialogButtonBox::Save);
            if (b == nullptr) {
                b = box->button(QDialogButtonBox::Open);
            }
            if (b != nullptr && b->isEnabled()) {
                b->click();
                return;
            }
        }
        ClickButton("Save");
    }
    QPointer<QFileDialog> dlg_;
};

}  // namespace

int RunSaveFileDialog(Dialog* owner, const SaveFileOptions& options, std::string* path) {
    QWidget* parent = owner != nullptr ? owner->Widget() : nullptr;
    if (parent == nullptr) {
        parent = QApplication::activeModalWidget();
    }
    SaveDialog dlg(parent, options.overwritePrompt);
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    // The confirmation is SaveDialog's own, so that it is a box of this layer.
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setWindowTitle(QStringLiteral("Save As"));
    const QStringList filters = ConvertFilter(options.filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
    }
    if (!options.defaultExt.empty()) {
        dlg.setDefaultSuffix(QString::fromStdString(options.defaultExt));
    }
    if (!options.initialName.empty()) {
        dlg.selectFile(QString::fromStdString(options.initialName));
    }
    int result = 0;
    {
        detail::ModalRun run(std::make_shared<FileDialogView>(&dlg));
        // Modal to its owner only, as a dialog disables just its owner window: other
        // top-level windows of the process (the simulated reader's) stay usable.
        dlg.setWindowModality(Qt::WindowModal);
        result = dlg.exec();
    }
    if (result != QDialog::Accepted || dlg.selectedFiles().isEmpty()) {
        return IDCANCEL;
    }
    if (path != nullptr) {
        *path = dlg.selectedFiles().front().toStdString();
    }
    return IDOK;
}

}  // namespace ui
