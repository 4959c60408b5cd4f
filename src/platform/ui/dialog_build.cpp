// Building a dialog's window from its template: the window itself, one
// widget per control in template order (which is also Tab order), radio
// group runs, accessible names, and the hosted automation controls.
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialog_impl.h"
#include "platform/ui/dialog_window.h"
#include "platform/ui/icons.h"

#include "platform/com/class_table.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>

namespace ui {
namespace {

bool Has(std::uint32_t style, std::uint32_t flag) { return (style & flag) != 0; }

// Kinds whose template text is content, not a caption: they are named after
// the label before them.
bool NamedByLabel(ControlKind kind) {
    switch (kind) {
    case ControlKind::Edit:
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
    case ControlKind::TabControl:
    case ControlKind::Hosted:
    case ControlKind::Icon:
        return true;
    default:
        return false;
    }
}

std::string LabelName(const std::string& text) {
    std::string name = StripMnemonic(text);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
        name.pop_back();
    }
    if (!name.empty() && name.back() == ':') {
        name.pop_back();
    }
    return name;
}

bool TakesFocus(ControlKind kind) {
    switch (kind) {
    case ControlKind::Static:
    case ControlKind::GroupBox:
    case ControlKind::Icon:
    case ControlKind::Hosted:
        return false;
    default:
        return true;
    }
}

}  // namespace

// Edit boxes show "\r\n" as a line break; the layer keeps the exact text.
QString EditDisplayText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                continue;  // the '\n' that follows makes the break
            }
            shown += '\n';
            continue;
        }
        shown += text[i];
    }
    return QString::fromStdString(shown);
}

bool Dialog::BuildWindow(QWidget* parentWidget, bool child) {
    if (impl_->window != nullptr) {
        DestroyWindow();
    }
    Impl& d = *impl_;

    // The hosted controls first: a control that cannot be created means no
    // window at all.
    std::map<int, std::unique_ptr<com::IDispatch>> hosted;
    for (const ControlTemplate& c : tpl_.controls) {
        if (c.kind != ControlKind::Hosted) {
            continue;
        }
        auto object = com::ClassTable::Instance().Create(c.clsid);
        if (!object) {
            return false;
        }
        hosted[c.id] = std::move(object);
    }
    d.hosted = std::move(hosted);

    d.child = child;
    d.endRequested = false;
    d.result = 0;
    d.running = false;

    auto* w = new DialogWindow(this, child, parentWidget);
    d.window = w;
    w->setFont(DialogFont(tpl_));
    w->setFixedSize(DuToPixelsX(tpl_.cx), DuToPixelsY(tpl_.cy));
    w->setAccessibleName(QString::fromStdString(tpl_.caption));
    if (child) {
        // Created hidden: a child shows only when the program shows it.
        w->setHidden(true);
        w->move(0, 0);
        w->setEnabled(!Has(tpl_.style, DS_Disabled));
    } else {
        Qt::WindowFlags flags = Has(tpl_.style, DS_AppWindow) ? Qt::Window : Qt::Dialog;
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;
        if (Has(tpl_.style, DS_SysMenu)) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        }
        if (Has(tpl_.style, DS_MinimizeBox)) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
        w->setWindowFlags(flags);
        w->setWindowTitle(QString::fromStdString(tpl_.caption));
        if (!d.icon.isNull()) {
            w->setWindowIcon(d.icon);
        }
    }

    bool anyTabStop = false;
    for (const ControlTemplate& c : tpl_.controls) {
        anyTabStop = anyTabStop || Has(c.style, CS_TabStop);
    }

    d.controls.clear();
    d.controls.reserve(tpl_.controls.size());
    QButtonGroup* run = nullptr;
    std::string lastLabel;
    QWidget* previousInTabOrder = nullptr;
    std::vector<QWidget*> groupBoxes;

    for (const ControlTemplate& c : tpl_.controls) {
        const QString text = QString::fromStdString(c.text);
        const int id = c.id;
        QWidget* widget = nullptr;
        // A group start ends the radio run before it, whatever its kind.
        if (Has(c.style, CS_Group)) {
            run = nullptr;
        }
        switch (c.kind) {
        case ControlKind::PushButton: {
            auto* b = new QPushButton(text, w);
            b->setAutoDefault(false);
            b->setDefault(Has(c.style, CS_DefaultButton));
            QObject::connect(b, &QPushButton::clicked, w, [this, id] { SendCommand(id); });
            widget = b;
            break;
        }
        case ControlKind::CheckBox: {
            auto* b = new CheckControl(text, Has(c.style, CS_Auto), w);
            QObject::connect(b, &QCheckBox::clicked, w, [this, id] { SendCommand(id); });
            widget = b;
            break;
        }
        case ControlKind::RadioButton: {
            auto* b = new RadioControl(text, Has(c.style, CS_Auto), w);
            if (run == nullptr) {
                run = new QButtonGroup(w);
                run->setExclusive(false);
            }
            run->addButton(b);
            b->SetGroup(run);
            QObject::connect(b, &QRadioButton::clicked, w, [this, id] { SendCommand(id); });
            widget = b;
            break;
        }
        case ControlKind::Edit: {
            if (Has(c.style, CS_MultiLine)) {
                auto* e = new QPlainTextEdit(w);
                e->setReadOnly(Has(c.style, CS_ReadOnly));
                if (Has(c.style, CS_ReadOnly)) {
                    // Nobody can undo in a read-only box; without an undo
                    // history an append costs the same however long the text.
                    e->document()->setUndoRedoEnabled(false);
                }
                // Lines never wrap, so the line count is the text's own.
                e->setLineWrapMode(QPlainTextEdit::NoWrap);
                e->setVerticalScrollBarPolicy(Has(c.style, CS_VScroll) ? Qt::ScrollBarAlwaysOn
                                                                       : Qt::ScrollBarAsNeeded);
                e->setHorizontalScrollBarPolicy(Has(c.style, CS_HScroll) ? Qt::ScrollBarAlwaysOn
                                                                         : Qt::ScrollBarAsNeeded);
                e->setPlainText(EditDisplayText(c.text));
                QObject::connect(e, &QPlainTextEdit::textChanged, w, [this, id, e] {
                    Impl& impl = *impl_;
                    if (impl.settingText) {
                        return;
                    }
                    // Typed by the operator: keep the platform's line ends.
                    if (ControlState* s = impl.Find(id)) {
                        std::string typed = e->toPlainText().toStdString();
                        std::string exact;
                        exact.reserve(typed.size());
                        for (char ch : typed) {
                            if (ch == '\n') {
                                exact += '\r';
                            }
                            exact += ch;
                        }
                        s->SetText(std::move(exact));
                    }
                });
                widget = e;
            } else {
                auto* e = new QLineEdit(text, w);
                e->setReadOnly(Has(c.style, CS_ReadOnly));
                QObject::connect(e, &QLineEdit::textEdited, w, [this, id](const QString& typed) {
                    if (ControlState* s = impl_->Find(id)) {
                        s->SetText(typed.toStdString());
                    }
                });
                widget = e;
            }
            break;
        }
        case ControlKind::Static: {
            const QString shown =
                Has(c.style, CS_NoPrefix) ? text : QString::fromStdString(StripMnemonic(c.text));
            auto* l = new QLabel(shown, w);
            l->setTextFormat(Qt::PlainText);
            l->setWordWrap(true);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = l;
            break;
        }
        case ControlKind::GroupBox: {
            auto* g = new GroupBoxControl(text, w);
            groupBoxes.push_back(g);
            widget = g;
            break;
        }
        case ControlKind::Icon: {
            auto* l = new QLabel(w);
            const int size = SystemIconSize();
            l->setPixmap(LoadIcon(c.iconId).pixmap(size, size));
            widget = l;
            break;
        }
        case ControlKind::ComboBox: {
            auto* cb = new QComboBox(w);
            QObject::connect(cb, &QComboBox::activated, w, [this, id](int) { impl_->FireSelChange(id); });
            widget = cb;
            break;
        }
        case ControlKind::ListBox: {
            auto* lb = new QListWidget(w);
            QObject::connect(lb, &QListWidget::currentRowChanged, w, [this, id](int) { impl_->FireSelChange(id); });
            widget = lb;
            break;
        }
        case ControlKind::TabControl: {
            auto* tc = new TabControl(w);
            QObject::connect(tc->Bar(), &QTabBar::currentChanged, w, [this, id](int) { impl_->FireSelChange(id); });
            widget = tc;
            break;
        }
        case ControlKind::Hosted: {
            widget = new HostedBox(w);
            break;
        }
        }

        ControlState state;
        state.tpl = &c;
        state.widget = widget;
        state.text = c.text;
        d.controls.push_back(std::move(state));

        // Geometry: position and size convert separately, as the platform does.
        int height = DuToPixelsY(c.rect.cy);
        if (c.kind == ControlKind::ComboBox) {
            // A drop-down list's template height covers its open list.
            height = std::min(height, widget->sizeHint().height());
        }
        widget->setGeometry(DuToPixelsX(c.rect.x), DuToPixelsY(c.rect.y), DuToPixelsX(c.rect.cx), height);
        if (auto* tc = dynamic_cast<TabControl*>(widget)) {
            tc->LayOut();
        }

        // Items supplied by the template.
        if (c.kind == ControlKind::ComboBox || c.kind == ControlKind::ListBox) {
            for (const std::string& item : c.items) {
                AddString(id, item);
            }
        }

        widget->setEnabled(!Has(c.style, CS_Disabled));
        if (Has(c.style, CS_Hidden)) {
            widget->setHidden(true);
        }

        // Accessible name.
        std::string name = c.accessibleName;
        if (name.empty()) {
            if (!NamedByLabel(c.kind) && !c.text.empty()) {
                name = StripMnemonic(c.text);
            } else {
                name = lastLabel;
            }
        }
        widget->setAccessibleName(QString::fromStdString(name));
        if (c.kind == ControlKind::Static && !c.text.empty()) {
            lastLabel = LabelName(c.text);
        }

        // Focus and Tab order follow the template.
        if (TakesFocus(c.kind)) {
            if (anyTabStop && !Has(c.style, CS_TabStop)) {
                widget->setFocusPolicy(Qt::ClickFocus);
            }
            if (previousInTabOrder != nullptr) {
                QWidget::setTabOrder(previousInTabOrder, widget);
            }
            previousInTabOrder = widget;
        } else {
            widget->setFocusPolicy(Qt::NoFocus);
        }
        widget->installEventFilter(w);
    }

    // Group boxes are drawn behind the controls they frame.
    for (QWidget* g : groupBoxes) {
        g->lower();
    }
    return true;
}

}  // namespace ui
