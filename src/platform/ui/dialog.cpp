// The Dialog: modal runs, modeless child windows, command routing and access
// to controls by ID. Operator events reach the mapped handlers; changes made
// here by code block the Qt signals that would look like operator events.
#include "platform/ui/dialog.h"

#include "platform/ui/application.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog_impl.h"
#include "platform/ui/dialog_window.h"
#include "platform/ui/operator_seam.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>
#include <cctype>

namespace ui {

// ---- Impl ------------------------------------------------------------------

const BaseUnits& Dialog::Impl::Units() {
    if (!units) {
        units = BaseUnitsOf(DialogFont(owner->Template()));
    }
    return *units;
}

ControlState* Dialog::Impl::Find(int id) {
    if (id == IDC_STATIC) {
        return nullptr;
    }
    for (ControlState& c : controls) {
        if (c.tpl->id == id) {
            return &c;
        }
    }
    return nullptr;
}

const ControlState* Dialog::Impl::Find(int id) const {
    return const_cast<Impl*>(this)->Find(id);
}

void Dialog::Impl::WindowGone() {
    window = nullptr;
    controls.clear();
    // The timers die with the window, which may be deleted only later (a
    // window destroyed inside its own modal run): stop them now so that no
    // OnTimer reaches a dialog whose window is gone, or the dialog itself
    // once it has been destroyed.
    for (auto& entry : timers) {
        entry.second->stop();
    }
    timers.clear();
    running = false;
    painter = nullptr;
    // The container lets go of its controls' events with its window.
    for (auto& entry : hosted) {
        if (entry.second) {
            entry.second->Advise(nullptr);
        }
    }
}

void Dialog::Impl::FireSelChange(int id) {
    const auto it = selChanges.find(id);
    if (it == selChanges.end()) {
        return;
    }
    auto handler = it->second;  // a copy: the handler may remap itself
    if (handler) {
        handler();
    }
}

void Dialog::Impl::PressEnter() {
    if (window == nullptr) {
        return;
    }
    // A push button of this dialog that has the focus is the default for now.
    QWidget* focus = window->focusWidget();
    for (const ControlState& c : controls) {
        if (c.tpl->kind == ControlKind::PushButton && c.widget == focus) {
            static_cast<QPushButton*>(c.widget)->click();
            return;
        }
    }
    for (const ControlState& c : controls) {
        if (c.tpl->kind == ControlKind::PushButton && (c.tpl->style & CS_DefaultButton) != 0) {
            if (c.widget->isEnabled()) {
                owner->SendCommand(c.tpl->id);
            }
            return;
        }
    }
    owner->SendCommand(IDOK);
}

namespace {

// The system menu while it is open, as the operator seam shows it.
class MenuView : public detail::ModalViewBase {
public:
    MenuView(QMenu* menu, std::string caption) : menu_(menu), caption_(std::move(caption)) {}
    ModalKind Kind() const override { return ModalKind::Menu; }
    std::string Caption() const override { return caption_; }
    QWidget* Widget() const override { return menu_; }
    std::vector<std::string> MenuItems() const override {
        std::vector<std::string> items;
        if (menu_.isNull()) {
            return items;
        }
        for (QAction* a : menu_->actions()) {
            items.push_back(a->isSeparator() ? std::string() : a->text().toStdString());
        }
        return items;
    }
    void ChooseMenuItem(const std::string& text) override {
        if (menu_.isNull()) {
            return;
        }
        for (QAction* a : menu_->actions()) {
            if (!a->isSeparator() && (a->text().toStdString() == text ||
                                      StripMnemonic(a->text().toStdString()) == StripMnemonic(text))) {
                // As the operator does it: highlight the item, press Enter.
                menu_->setActiveAction(a);
                detail::SendKey(menu_, Qt::Key_Return);
                return;
            }
        }
    }
    void PressEnter() override { detail::SendKey(menu_, Qt::Key_Return); }
    void PressEscape() override { detail::SendKey(menu_, Qt::Key_Escape); }
    void CloseBox() override { ForceClose(); }
    void ForceClose() override {
        if (!menu_.isNull()) {
            menu_->close();
        }
    }

private:
    QPointer<QMenu> menu_;
    std::string caption_;
};

}  // namespace

void Dialog::Impl::ShowSystemMenu(const QPoint& globalPos) {
    if (window == nullptr || child || systemMenuOpen) {
        return;
    }
    QMenu menu(window);
    std::map<QAction*, unsigned> commandOf;
    const bool minimised = window->isMinimized();
    auto add = [&](const char* text, unsigned command, bool enabled) {
        QAction* a = menu.addAction(QString::fromUtf8(text));
        a->setEnabled(enabled);
        commandOf[a] = command;
    };
    add("&Restore", SC_RESTORE, minimised);
    add("&Move", 0xF010u, !minimised);
    add("Mi&nimize", SC_MINIMIZE, !minimised && (owner->Template().style & DS_MinimizeBox) != 0);
    menu.addSeparator();
    add("&Close", SC_CLOSE, true);
    for (const auto& item : systemMenuItems) {
        if (item.first == 0) {
            menu.addSeparator();
        } else {
            QAction* a = menu.addAction(QString::fromStdString(item.second));
            commandOf[a] = item.first;
        }
    }
    QAction* chosen = nullptr;
    QObject::connect(&menu, &QMenu::triggered, &menu, [&chosen](QAction* a) { chosen = a; });
    systemMenuOpen = true;
    QAction* picked = nullptr;
    {
        detail::ModalRun run(std::make_shared<MenuView>(&menu, owner->Caption()));
        picked = menu.exec(globalPos);
    }
    systemMenuOpen = false;
    if (picked == nullptr) {
        picked = chosen;
    }
    const auto it = commandOf.find(picked);
    if (it != commandOf.end()) {
        owner->OnSysCommand(it->second);
    }
}

// ---- the dialog as the seam shows it ------------------------------------------

namespace {

class DialogView : public detail::ModalViewBase {
public:
    explicit DialogView(Dialog* dlg) : dlg_(dlg) {}
    ModalKind Kind() const override { return ModalKind::Dialog; }
    std::string Caption() const override { return dlg_->Caption(); }
    Dialog* AsDialog() const override { return dlg_; }
    int TemplateId() const override { return dlg_->Template().id; }
    QWidget* Widget() const override { return dlg_->Widget(); }
    void Click(int id) override { act::Click(*dlg_, id); }
    void PressEnter() override { act::PressEnter(*dlg_); }
    void PressEscape() override { act::PressEscape(*dlg_); }
    void CloseBox() override { act::CloseBox(*dlg_); }
    void SelectTab(int index) override {
        for (const ControlTemplate& c : dlg_->Template().controls) {
            if (c.kind == ControlKind::TabControl) {
                act::SelectTab(*dlg_, c.id, index);
                return;
            }
        }
    }
    void ForceClose() override { dlg_->EndDialog(IDCANCEL); }

private:
    Dialog* dlg_;
};

}  // namespace

// ---- construction, modal runs, child windows ---------------------------------

const ControlTemplate* DialogTemplate::Find(int controlId) const {
    for (const ControlTemplate& c : controls) {
        if (c.id == controlId) {
            return &c;
        }
    }
    return nullptr;
}

Dialog::Dialog(const DialogTemplate& tpl, Dialog* parent)
    : tpl_(tpl), parent_(parent), impl_(std::make_unique<Impl>(this)) {}

Dialog::~Dialog() {
    DestroyWindow();
    impl_->hosted.clear();
}

int Dialog::DoModal() {
    QWidget* owner = (parent_ != nullptr) ? parent_->Widget() : nullptr;
    if (owner == nullptr) {
        owner = QApplication::activeModalWidget();
    }
    if (owner == nullptr) {
        owner = QApplication::activeWindow();
    }
    if (!BuildWindow(owner, false)) {
        return -1;
    }
    Impl& d = *impl_;
    if (OnInitDialog() && d.window != nullptr) {
        // The first Tab stop that can take the focus.
        for (const ControlState& c : d.controls) {
            QWidget* w = c.widget;
            if ((w->focusPolicy() & Qt::TabFocus) != 0 && w->isEnabled() && !w->isHidden()) {
                w->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
    int result = d.result;
    if (!d.endRequested && d.window != nullptr) {
        d.running = true;
        {
            detail::ModalRun run(std::make_shared<DialogView>(this));
            // Modal to its owner only, as a dialog disables just its owner window: other
            // top-level windows of the process (the simulated reader's) stay usable.
            d.window->setWindowModality(Qt::WindowModal);
            result = d.window->exec();
        }
        d.running = false;
        if (d.endRequested) {
            result = d.result;
        }
    }
    DestroyWindow();
    return result;
}

bool Dialog::Create(Dialog* parent) {
    if (parent == nullptr || parent->Widget() == nullptr) {
        return false;
    }
    parent_ = parent;
    if (!BuildWindow(parent->Widget(), true)) {
        return false;
    }
    impl_->window->raise();
    OnInitDialog();
    return true;
}

void Dialog::DestroyWindow() {
    Impl& d = *impl_;
    DialogWindow* w = d.window;
    if (w == nullptr) {
        return;
    }
    const bool running = d.running;
    d.WindowGone();
    w->Detach();
    if (running) {
        // Still inside its loop: end the loop, delete once it has returned.
        w->done(IDCANCEL);
        w->deleteLater();
    } else {
        delete w;
    }
}

bool Dialog::IsWindow() const { return impl_->window != nullptr; }

void Dialog::EndDialog(int result) {
    Impl& d = *impl_;
    d.result = result;
    d.endRequested = true;
    if (d.window == nullptr) {
        return;
    }
    if (d.running) {
        d.window->done(result);
    } else if (d.child) {
        d.window->hide();
    }
}

void Dialog::OnSysCommand(unsigned command) {
    switch (command & 0xFFF0u) {
    case SC_CLOSE:
        SendCommand(IDCANCEL);
        break;
    case SC_MINIMIZE:
        if (impl_->window != nullptr) {
            impl_->window->showMinimized();
        }
        break;
    case SC_RESTORE:
        if (impl_->window != nullptr) {
            impl_->window->showNormal();
        }
        break;
    default:
        break;
    }
}

// ---- command routing -------------------------------------------------------------

void Dialog::MapCommand(int id, std::function<void()> handler) { impl_->commands[id] = std::move(handler); }

void Dialog::MapSelChange(int id, std::function<void()> handler) {
    impl_->selChanges[id] = std::move(handler);
}

void Dialog::SendCommand(int id) {
    Impl& d = *impl_;
    const auto it = d.commands.find(id);
    if (it != d.commands.end() && it->second) {
        auto handler = it->second;  // a copy: the handler may remap itself
        handler();
        return;
    }
    if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    } else if (d.outerRoute) {
        auto route = d.outerRoute;
        route(id);
    } else if (id == ID_HELP) {
        RunHelpCommand();
    }
}

// ---- control access ----------------------------------------------------------------

bool Dialog::HasItem(int id) const { return impl_->Find(id) != nullptr; }

void Dialog::SetDlgItemText(int id, std::string_view text) {
    ControlState* c = impl_->Find(id);
    if (c == nullptr) {
        return;
    }
    c->SetText(std::string(text));
    const QString qtext = QString::fromStdString(c->text);
    switch (c->tpl->kind) {
    case ControlKind::Edit:
        if (auto* e = qobject_cast<QPlainTextEdit*>(c->widget)) {
            impl_->settingText = true;
            e->setPlainText(EditDisplayText(text));
            impl_->settingText = false;
        } else if (auto* l = qobject_cast<QLineEdit*>(c->widget)) {
            l->setText(qtext);
        }
        break;
    case ControlKind::Static:
        if (auto* l = qobject_cast<QLabel*>(c->widget)) {
            const bool noPrefix = (c->tpl->style & CS_NoPrefix) != 0;
            l->setText(noPrefix ? qtext : QString::fromStdString(StripMnemonic(c->text)));
        }
        break;
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        static_cast<QAbstractButton*>(c->widget)->setText(qtext);
        break;
    case ControlKind::GroupBox:
        static_cast<QGroupBox*>(c->widget)->setTitle(qtext);
        break;
    default:
        break;
    }
}

std::string Dialog::GetDlgItemText(int id) const {
    const ControlState* c = impl_->Find(id);
    if (c == nullptr) {
        return {};
    }
    if (c->tpl->kind == ControlKind::ComboBox) {
        // A drop-down list's text is its selected item.
        const auto* cb = static_cast<const QComboBox*>(c->widget);
        return cb->currentIndex() < 0 ? std::string() : cb->currentText().toStdString();
    }
    return c->text;
}

void Dialog::CheckDlgButton(int id, int checked) {
    ControlState* c = impl_->Find(id);
    if (c == nullptr) {
        return;
    }
    if (auto* b = qobject_cast<QAbstractButton*>(c->widget); b != nullptr && b->isCheckable()) {
        b->setChecked(checked != 0);
    }
}

int Dialog::IsDlgButtonChecked(int id) const {
    const ControlState* c = impl_->Find(id);
    if (c == nullptr) {
        return 0;
    }
    if (auto* b = qobject_cast<QAbstractButton*>(c->widget); b != nullptr && b->isCheckable()) {
        return b->isChecked() ? 1 : 0;
    }
    return 0;
}

void Dialog::EnableItem(int id, bool enabled) {
    if (ControlState* c = impl_->Find(id)) {
        c->widget->setEnabled(enabled);
    }
}

bool Dialog::IsItemEnabled(int id) const {
    const ControlState* c = impl_->Find(id);
    return c != nullptr && c->widget->isEnabled();
}

void Dialog::ShowItem(int id, bool visible) {
    if (ControlState* c = impl_->Find(id)) {
        c->widget->setVisible(visible);
    }
}

bool Dialog::IsItemVisible(int id) const {
    const ControlState* c = impl_->Find(id);
    // The control's own visibility, whatever its window's is.
    return c != nullptr && !c->widget->isHidden();
}

void Dialog::SetFocusTo(int id) {
    if (ControlState* c = impl_->Find(id)) {
        c->widget->setFocus(Qt::OtherFocusReason);
    }
}

int Dialog::FocusedId() const {
    const Impl& d = *impl_;
    if (d.window == nullptr) {
        return IDC_STATIC;
    }
    QWidget* focus = d.window->window()->focusWidget();
    if (focus == nullptr) {
        return IDC_STATIC;
    }
    for (const ControlState& c : d.controls) {
        if (c.widget == focus || c.widget->isAncestorOf(focus)) {
            return c.tpl->id;
        }
    }
    return IDC_STATIC;
}

Rect Dialog::ItemRect(int id) const {
    const ControlState* c = impl_->Find(id);
    if (c == nullptr) {
        return {};
    }
    const QRect g = c->widget->geometry();
    return Rect{g.x(), g.y(), g.width(), g.height()};
}

// ---- combo boxes and list boxes ----------------------------------------------------

namespace {

// Sorted lists order their items without regard to case.
bool SortsBefore(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

int Dialog::AddString(int id, std::string_view text) {
    ControlState* c = impl_->Find(id);
    if (c == nullptr) {
        return -1;
    }
    const std::string item(text);
    const bool sorted = (c->tpl->style & CS_Sorted) != 0;
    if (auto* cb = qobject_cast<QComboBox*>(c->widget)) {
        const QSignalBlocker block(cb);
        int index = cb->count();
        if (sorted) {
            index = 0;
            while (index < cb->count() && !SortsBefore(item, cb->itemText(index).toStdString())) {
                ++index;
            }
        }
        const int selected = cb->currentIndex();
        cb->insertItem(index, QString::fromStdString(item));
        // Adding items never selects one (Qt selects the first item added).
        if (selected < 0) {
            cb->setCurrentIndex(-1);
        }
        return index;
    }
    if (auto* lb = qobject_cast<QListWidget*>(c->widget)) {
        const QSignalBlocker block(lb);
        int index = lb->count();
        if (sorted) {
            index = 0;
            while (index < lb->count() && !SortsBefore(item, lb->item(index)->text().toStdString())) {
                ++index;
            }
        }
        lb->insertItem(index, QString::fromStdString(item));
        return index;
    }
    return -1;
}

int Dialog::GetCount(int id) const {
    const ControlState* c = impl_->Find(id);
    if (c == nullptr) {
        return 0;
    }
    if (auto* cb = qobject_cast<QComboBox*>(c->widget)) {
        return cb->count();
    }
    if (auto* lb = qobject_cast<QListWidget*>(c->widget)) {
        return lb->count();
    }
    return 0;
}

std::string Dialog::GetItemString(int id, int index) const {
    const ControlState* c = impl_->Find(id);
    if (c == nullptr || index < 0) {
        return {};
    }
    if (auto* cb = qobject_cast<QComboBox*>(c->widget)) {
        return index < cb->count() ? cb->itemText(index).toStdString() : std::string();
    }
    if (auto* lb = qobject_cast<QListWidget*>(c->widget)) {
        return index < lb->count() ? lb->item(index)->text().toStdString() : std::string();
    }
    return {};
}

int Dialog::GetCurSel(int id) const {
    const ControlState* c = impl_->Find(id);
    if (c == nullptr) {
        return -1;
    }
    if (auto* cb = qobject_cast<QComboBox*>(c->widget)) {
        return cb->currentIndex();
    }
    if (auto* lb = qobject_cast<QListWidget*>(c->widget)) {
        return lb->currentRow();
    }
    return -1;
}

void Dialog::SetCurSel(int id, int index) {
    ControlState* c = impl_->Find(id);
    if (c == nullptr) {
        return;
    }
    if (auto* cb = qobject_cast<QComboBox*>(c->widget)) {
        const QSignalBlocker block(cb);
        cb->setCurrentIndex(index >= 0 && index < cb->count() ? index : -1);
    } else if (auto* lb = qobject_cast<QListWidget*>(c->widget)) {
        const QSignalBlocker block(lb);
        lb->setCurrentRow(index >= 0 && index < lb->count() ? index : -1);
    }
}

// ---- tab controls --------------------------------------------------------------------

namespace {

TabControl* TabOf(ControlState* c) { return c == nullptr ? nullptr : dynamic_cast<TabControl*>(c->widget); }

}  // namespace

int Dialog::InsertTabItem(int id, int index, std::string_view text) {
    TabControl* tc = TabOf(impl_->Find(id));
    if (tc == nullptr) {
        return -1;
    }
    const QSignalBlocker block(tc->Bar());
    const int at = tc->Bar()->insertTab(index, QString::fromStdString(std::string(text)));
    tc->LayOut();
    return at;
}

int Dialog::GetTabCount(int id) const {
    TabControl* tc = TabOf(impl_->Find(id));
    return tc == nullptr ? 0 : tc->Bar()->count();
}

std::string Dialog::GetTabText(int id, int index) const {
    TabControl* tc = TabOf(impl_->Find(id));
    if (tc == nullptr || index < 0 || index >= tc->Bar()->count()) {
        return {};
    }
    return tc->Bar()->tabText(index).toStdString();
}

int Dialog::GetTabCurSel(int id) const {
    TabControl* tc = TabOf(impl_->Find(id));
    return tc == nullptr ? -1 : tc->Bar()->currentIndex();
}

void Dialog::SetTabCurSel(int id, int index) {
    TabControl* tc = TabOf(impl_->Find(id));
    if (tc == nullptr || index < 0 || index >= tc->Bar()->count()) {
        return;
    }
    const QSignalBlocker block(tc->Bar());
    tc->Bar()->setCurrentIndex(index);
}

Rect Dialog::GetTabItemRect(int id, int index) const {
    TabControl* tc = TabOf(impl_->Find(id));
    if (tc == nullptr) {
        return {};
    }
    const QRect r = tc->TabRect(index);
    return Rect{r.x(), r.y(), r.width(), r.height()};
}

// ---- edit boxes ------------------------------------------------------------------------

void Dialog::AppendEditText(int id, std::string_view text) {
    ControlState* c = impl_->Find(id);
    if (c == nullptr || c->tpl->kind != ControlKind::Edit) {
        return;
    }
    c->text.append(text);
    if (auto* e = qobject_cast<QPlainTextEdit*>(c->widget)) {
        impl_->settingText = true;
        QTextCursor cursor(e->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(EditDisplayText(text));
        impl_->settingText = false;
    } else if (auto* l = qobject_cast<QLineEdit*>(c->widget)) {
        l->setText(QString::fromStdString(c->text));
    }
}

int Dialog::GetLineCount(int id) const {
    const ControlState* c = impl_->Find(id);
    if (c == nullptr || c->tpl->kind != ControlKind::Edit) {
        return 0;
    }
    if ((c->tpl->style & CS_MultiLine) == 0) {
        return 1;
    }
    // Every line end starts a line, the one after a final line end included.
    // "\r\n" is one line end. Only the bytes appended since the last count
    // are scanned; a final '\r' is counted but left for the next scan, since
    // an appended '\n' would join it.
    const std::string& t = c->text;
    int breaks = c->countedBreaks;
    std::size_t i = c->countedBytes;
    for (; i < t.size(); ++i) {
        if (t[i] == '\r') {
            if (i + 1 == t.size()) {
                c->countedBytes = i;
                c->countedBreaks = breaks;
                return breaks + 2;
            }
            if (t[i + 1] == '\n') {
                ++i;
            }
            ++breaks;
        } else if (t[i] == '\n') {
            ++breaks;
        }
    }
    c->countedBytes = t.size();
    c->countedBreaks = breaks;
    return breaks + 1;
}

void Dialog::LineScroll(int id, int lines) {
    const ControlState* c = impl_->Find(id);
    if (c == nullptr) {
        return;
    }
    if (auto* e = qobject_cast<QPlainTextEdit*>(c->widget)) {
        // Lines do not wrap, so one scroll step is one line.
        QScrollBar* bar = e->verticalScrollBar();
        bar->setValue(bar->value() + lines);
    }
}

int Dialog::GetFirstVisibleLine(int id) const {
    const ControlState* c = impl_->Find(id);
    if (c == nullptr) {
        return 0;
    }
    if (auto* e = qobject_cast<QPlainTextEdit*>(c->widget)) {
        return e->verticalScrollBar()->value();
    }
    return 0;
}

com::IDispatch* Dialog::HostedControl(int id) const {
    const auto it = impl_->hosted.find(id);
    return it == impl_->hosted.end() ? nullptr : it->second.get();
}

// ---- the window itself ------------------------------------------------------------------

Placement Dialog::GetWindowPlacement() const {
    Placement p;
    if (const DialogWindow* w = impl_->window) {
        const QRect g = w->geometry();
        p.rect = Rect{g.x(), g.y(), g.width(), g.height()};
        p.visible = !w->isHidden();
    }
    return p;
}

void Dialog::SetWindowPlacement(const Placement& p) {
    DialogWindow* w = impl_->window;
    if (w == nullptr) {
        return;
    }
    // The window's size is fixed by its template: only the position follows.
    w->move(p.rect.x, p.rect.y);
    w->setVisible(p.visible);
}

void Dialog::MoveWindow(int x, int y) {
    if (DialogWindow* w = impl_->window) {
        w->move(x, y);
    }
}

void Dialog::ShowWindow(bool visible) {
    if (DialogWindow* w = impl_->window) {
        w->setVisible(visible);
    }
}

bool Dialog::IsWindowVisible() const {
    const DialogWindow* w = impl_->window;
    return w != nullptr && w->isVisible();
}

bool Dialog::IsIconic() const {
    const DialogWindow* w = impl_->window;
    return w != nullptr && w->isMinimized();
}

std::string Dialog::Caption() const {
    if (const DialogWindow* w = impl_->window; w != nullptr && !impl_->child) {
        return w->windowTitle().toStdString();
    }
    return tpl_.caption;
}

int Dialog::ClientWidth() const {
    const DialogWindow* w = impl_->window;
    return w != nullptr ? w->width() : DuToPixelsX(tpl_.cx);
}

int Dialog::ClientHeight() const {
    const DialogWindow* w = impl_->window;
    return w != nullptr ? w->height() : DuToPixelsY(tpl_.cy);
}

int Dialog::DuToPixelsX(int du) const { return DuToPixels(du, impl_->Units().cx, 4); }

int Dialog::DuToPixelsY(int du) const { return DuToPixels(du, impl_->Units().cy, 8); }

// ---- timers ------------------------------------------------------------------------------

void Dialog::SetTimer(int timerId, int milliseconds) {
    Impl& d = *impl_;
    if (d.window == nullptr) {
        return;
    }
    // The platform's shortest timer period.
    constexpr int kMinimumMs = 10;
    QTimer*& timer = d.timers[timerId];
    if (timer == nullptr) {
        timer = new QTimer(d.window);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, d.window, [this, timerId] { OnTimer(timerId); });
    }
    timer->start(std::max(milliseconds, kMinimumMs));
}

void Dialog::KillTimer(int timerId) {
    Impl& d = *impl_;
    const auto it = d.timers.find(timerId);
    if (it == d.timers.end()) {
        return;
    }
    // Deleted later: this may run inside the timer's own timeout.
    it->second->stop();
    it->second->deleteLater();
    d.timers.erase(it);
}

bool Dialog::HasTimer(int timerId) const { return impl_->timers.count(timerId) != 0; }

// ---- system menu, icons ------------------------------------------------------------------

void Dialog::AppendSystemMenuSeparator() { impl_->systemMenuItems.emplace_back(0u, std::string()); }

void Dialog::AppendSystemMenuItem(unsigned command, std::string_view text) {
    impl_->systemMenuItems.emplace_back(command, std::string(text));
}

void Dialog::SetIcon(const QIcon& icon) {
    impl_->icon = icon;
    if (impl_->window != nullptr) {
        impl_->window->setWindowIcon(icon);
    }
}

void Dialog::DrawIcon(int x, int y, const QIcon& icon) {
    // Only while OnPaint runs: there is nowhere else to draw.
    if (QPainter* p = impl_->painter) {
        const int size = SystemIconSize();
        icon.paint(p, QRect(x, y, size, size));
    }
}

int Dialog::SystemIconSize() { return 32; }

QWidget* Dialog::Widget() const { return impl_->window; }

QWidget* Dialog::Item(int id) const {
    const ControlState* c = impl_->Find(id);
    return c == nullptr ? nullptr : c->widget;
}

}  // namespace ui
