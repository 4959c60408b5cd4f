// Operator input on ordinary windows (ui::act): real clicks, selections,
// tab choices, keys and close events, so that the operator events fire
// exactly as they do for a person.
#include "platform/ui/operator.h"

#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialog_window.h"
#include "platform/ui/operator_seam.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QListWidget>
#include <QTabBar>

namespace ui::act {

void Click(Dialog& dlg, int id) {
    auto* button = qobject_cast<QAbstractButton*>(dlg.Item(id));
    // A person cannot click a control that is disabled or hidden.
    if (button == nullptr || !button->isEnabled() || button->isHidden()) {
        return;
    }
    button->click();
}

void SelectComboItem(Dialog& dlg, int id, int index) {
    QWidget* w = dlg.Item(id);
    if (w == nullptr || !w->isEnabled() || w->isHidden()) {
        return;
    }
    if (auto* cb = qobject_cast<QComboBox*>(w)) {
        if (index < 0 || index >= cb->count()) {
            return;
        }
        cb->setCurrentIndex(index);
        emit cb->activated(index);
    } else if (auto* lb = qobject_cast<QListWidget*>(w)) {
        if (index >= 0 && index < lb->count()) {
            lb->setCurrentRow(index);
        }
    }
}

void SelectTab(Dialog& dlg, int id, int index) {
    auto* tc = dynamic_cast<TabControl*>(dlg.Item(id));
    if (tc == nullptr || !tc->isEnabled() || index < 0 || index >= tc->Bar()->count()) {
        return;
    }
    tc->Bar()->setCurrentIndex(index);
}

void PressEnter(Dialog& dlg) { detail::SendKey(detail::KeyTarget(dlg.Widget()), Qt::Key_Return); }

void PressEscape(Dialog& dlg) { detail::SendKey(detail::KeyTarget(dlg.Widget()), Qt::Key_Escape); }

void CloseBox(Dialog& dlg) { detail::SendClose(dlg.Widget()); }

void OpenSystemMenu(Dialog& dlg) {
    detail::SendKey(detail::KeyTarget(dlg.Widget()), Qt::Key_Space, Qt::AltModifier);
}

void RightClickBackground(Dialog& dlg) {
    QWidget* w = dlg.Widget();
    if (w == nullptr) {
        return;
    }
    // The first spot, scanning from the top-left, that no control covers.
    for (int y = 2; y < w->height(); y += 4) {
        for (int x = 2; x < w->width(); x += 4) {
            const QPoint pos(x, y);
            if (IsBackground(w, pos)) {
                QContextMenuEvent event(QContextMenuEvent::Mouse, pos, w->mapToGlobal(pos));
                QCoreApplication::sendEvent(w, &event);
                return;
            }
        }
    }
}

}  // namespace ui::act
