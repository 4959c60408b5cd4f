// Message boxes: a QMessageBox captioned with the program's name, run in a
// nested loop and handed to the operator seam.
#include "platform/ui/message_box.h"

#include "platform/ui/application.h"
#include "platform/ui/confirm.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialog_impl.h"
#include "platform/ui/operator_seam.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace ui {
namespace {

class MessageBoxView : public detail::ModalViewBase {
public:
    MessageBoxView(QMessageBox* box, std::string text, std::string caption)
        : box_(box), text_(std::move(text)), caption_(std::move(caption)) {}
    ModalKind Kind() const override { return ModalKind::MessageBox; }
    std::string Caption() const override { return caption_; }
    std::string Text() const override { return text_; }
    QWidget* Widget() const override { return box_; }
    void Click(int id) override {
        if (box_.isNull()) {
            return;
        }
        const QMessageBox::StandardButton which = id == IDOK       ? QMessageBox::Ok
                                                  : id == IDCANCEL ? QMessageBox::Cancel
                                                  : id == 6        ? QMessageBox::Yes
                                                  : id == 7        ? QMessageBox::No
                                                                   : QMessageBox::NoButton;
        if (QAbstractButton* b = box_->button(which)) {
            b->click();
        }
    }
    void ForceClose() override {
        if (!box_.isNull()) {
            box_->done(0);
        }
    }

private:
    QPointer<QMessageBox> box_;
    std::string text_;
    std::string caption_;
};

QWidget* OwnerWidget(Dialog* owner) {
    QWidget* w = owner != nullptr ? owner->Widget() : nullptr;
    if (w == nullptr) {
        w = QApplication::activeModalWidget();
    }
    if (w == nullptr) {
        w = QApplication::activeWindow();
    }
    return w;
}

QMessageBox::Icon IconOf(unsigned type) {
    switch (type & 0xF0u) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Runs the box with the seam watching; returns the button clicked (null if
// the box was closed otherwise).
QAbstractButton* Run(QMessageBox& box, std::string_view text, std::string_view caption) {
    box.setTextFormat(Qt::PlainText);
    // Shown with its "\r\n" line ends as line breaks; the seam reads the text as given.
    box.setText(EditDisplayText(text));
    box.setWindowTitle(QString::fromStdString(std::string(caption)));
    {
        detail::ModalRun run(
            std::make_shared<MessageBoxView>(&box, std::string(text), std::string(caption)));
        // Modal to its owner only, as a dialog disables just its owner window: other
        // top-level windows of the process (the simulated reader's) stay usable.
        box.setWindowModality(Qt::WindowModal);
        box.exec();
    }
    return box.clickedButton();
}

}  // namespace

int MessageBox(Dialog* owner, std::string_view text, unsigned type) {
    return MessageBox(owner, text, AppName(), type);
}

int MessageBox(Dialog* owner, std::string_view text, std::string_view caption, unsigned type) {
    QMessageBox box(IconOf(type), QString(), QString(), QMessageBox::Ok, OwnerWidget(owner));
    Run(box, text, caption.empty() ? std::string_view(AppName()) : caption);
    // An OK box answers OK however it was dismissed (Enter, Escape, close box).
    return IDOK;
}

namespace detail {

bool AskYesNo(QWidget* parent, std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::Warning, QString(), QString(), QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    QAbstractButton* clicked = Run(box, text, caption);
    return clicked != nullptr && clicked == box.button(QMessageBox::Yes);
}

}  // namespace detail
}  // namespace ui
