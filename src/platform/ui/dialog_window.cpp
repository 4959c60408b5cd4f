// The QDialog behind a Dialog: keys, close box, system menu and painting.
#include "platform/ui/dialog_window.h"

#include "platform/ui/dialog.h"
#include "platform/ui/dialog_impl.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace ui {

bool IsSystemMenuKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Space &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier;
}

bool IsBackground(QWidget* window, const QPoint& pos) {
    QWidget* hit = window->childAt(pos);
    if (hit == nullptr) {
        return true;
    }
    // Labels, frames, group boxes and pages are background, not controls.
    return qobject_cast<QLabel*>(hit) != nullptr || qobject_cast<QGroupBox*>(hit) != nullptr ||
           qobject_cast<DialogWindow*>(hit) != nullptr || hit->metaObject() == &QFrame::staticMetaObject;
}

DialogWindow::DialogWindow(Dialog* owner, bool child, QWidget* parent)
    : QDialog(parent, child ? Qt::Widget : Qt::Dialog), owner_(owner), child_(child) {
    if (child) {
        // QDialog makes itself a window whatever it is given: undo that.
        setWindowFlags(Qt::Widget);
        // A page is drawn over whatever lies beneath it (the tab control).
        setAutoFillBackground(true);
    }
}

DialogWindow::~DialogWindow() {
    if (owner_ != nullptr) {
        owner_->impl_->WindowGone();
    }
}

void DialogWindow::reject() {
    if (owner_ != nullptr && !child_) {
        owner_->SendCommand(IDCANCEL);
    }
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool escape = key == Qt::Key_Escape;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (IsSystemMenuKey(event)) {
        if (auto* top = qobject_cast<DialogWindow*>(window()); top != nullptr && top->owner_ != nullptr) {
            top->owner_->impl_->ShowSystemMenu(top->mapToGlobal(QPoint(0, 0)));
        }
        event->accept();
        return;
    }
    if ((enter || escape) && plain) {
        if (child_ && passKeys_) {
            event->ignore();
            return;
        }
        event->accept();
        // A page lets neither key close it nor the window it lives on.
        if (child_ || owner_ == nullptr) {
            return;
        }
        if (enter) {
            owner_->impl_->PressEnter();
        } else {
            owner_->SendCommand(IDCANCEL);
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The window closes only through EndDialog; the close box is a command.
    event->ignore();
    if (owner_ != nullptr && !child_) {
        owner_->OnSysCommand(SC_CLOSE);
    }
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (owner_ == nullptr) {
        return;
    }
    QPainter painter(this);
    owner_->impl_->painter = &painter;
    owner_->OnPaint();
    if (owner_ != nullptr) {
        owner_->impl_->painter = nullptr;
    }
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (child_ || owner_ == nullptr) {
        // On a page: the main window decides.
        event->ignore();
        return;
    }
    if (!IsBackground(this, event->pos())) {
        event->ignore();
        return;
    }
    event->accept();
    owner_->impl_->ShowSystemMenu(event->globalPos());
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && IsSystemMenuKey(static_cast<QKeyEvent*>(event))) {
        auto* top = qobject_cast<DialogWindow*>(window());
        if (top != nullptr && top->owner_ != nullptr) {
            top->owner_->impl_->ShowSystemMenu(top->mapToGlobal(QPoint(0, 0)));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace ui
