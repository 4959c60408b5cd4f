// Control widgets with dialog-control behaviour (see controls.h).
#include "platform/ui/controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QResizeEvent>
#include <QTabBar>

#include <algorithm>

namespace ui {

CheckControl::CheckControl(const QString& text, bool automatic, QWidget* parent)
    : QCheckBox(text, parent), automatic_(automatic) {}

void CheckControl::nextCheckState() {
    if (automatic_) {
        QCheckBox::nextCheckState();
    }
}

RadioControl::RadioControl(const QString& text, bool automatic, QWidget* parent)
    : QRadioButton(text, parent), automatic_(automatic) {
    // Exclusivity is this class's business (group runs), not Qt's sibling rule.
    setAutoExclusive(false);
}

void RadioControl::nextCheckState() {
    if (!automatic_) {
        return;
    }
    setChecked(true);
    if (group_ != nullptr) {
        for (QAbstractButton* other : group_->buttons()) {
            if (other != this && other->isChecked()) {
                other->setChecked(false);
            }
        }
    }
}

GroupBoxControl::GroupBoxControl(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

TabControl::TabControl(QWidget* parent) : QWidget(parent) {
    pane_ = new QFrame(this);
    pane_->setFrameShape(QFrame::StyledPanel);
    pane_->setFrameShadow(QFrame::Raised);
    bar_ = new QTabBar(this);
    bar_->setExpanding(false);
    bar_->setDrawBase(false);
    setFocusProxy(bar_);
    LayOut();
}

QRect TabControl::TabRect(int index) const {
    const QRect r = bar_->tabRect(index);
    if (!r.isValid()) {
        return QRect();
    }
    return r.translated(bar_->pos());
}

void TabControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void TabControl::LayOut() {
    const int barHeight = bar_->sizeHint().height();
    bar_->setGeometry(0, 0, width(), barHeight);
    pane_->setGeometry(0, barHeight - 1, width(), std::max(0, height() - barHeight + 1));
}

HostedBox::HostedBox(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Sunken);
    setFocusPolicy(Qt::NoFocus);
}

std::string StripMnemonic(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

}  // namespace ui
