// Property sheets: a modal QDialog with a QTabWidget of pages (each built
// from its own template, when its tab is first shown) and the OK, Cancel,
// Apply and Help buttons. Commands that a page does not map go to the sheet,
// then to the application.
//
// A page template marked disabled is shown enabled inside a sheet: the sheet
// takes the page's controls as they are, so the operator can still use them.
#include "platform/ui/property_sheet.h"

#include "platform/ui/application.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog_impl.h"
#include "platform/ui/dialog_window.h"
#include "platform/ui/operator_seam.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <map>

namespace ui {
namespace {

// The sheet's window: Enter is OK, Escape and the close box are Cancel.
class SheetWindow : public QDialog {
public:
    SheetWindow(QWidget* parent, std::function<void(int)> command)
        : QDialog(parent), command_(std::move(command)) {}

    void reject() override { command_(IDCANCEL); }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
            event->accept();
            command_(IDOK);
            return;
        }
        if (plain && event->key() == Qt::Key_Escape) {
            event->accept();
            command_(IDCANCEL);
            return;
        }
        QDialog::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        command_(IDCANCEL);
    }

private:
    std::function<void(int)> command_;
};

}  // namespace

struct PropertySheet::Impl {
    std::map<int, std::function<void()>> commands;
    SheetWindow* window = nullptr;
    QTabWidget* tabs = nullptr;
    std::vector<QWidget*> holders;  // one per page, the tab's widget
    std::map<int, QPushButton*> buttons;
    bool running = false;
    bool endRequested = false;
    int result = 0;
};

namespace {

class SheetView : public detail::ModalViewBase {
public:
    explicit SheetView(PropertySheet* sheet) : sheet_(sheet) {}
    ModalKind Kind() const override { return ModalKind::PropertySheet; }
    std::string Caption() const override { return sheet_->Caption(); }
    PropertySheet* AsSheet() const override { return sheet_; }
    QWidget* Widget() const override { return sheet_->Widget(); }
    void Click(int id) override {
        // The sheet's own buttons carry their command IDs as object names.
        if (QWidget* w = sheet_->Widget()) {
            if (auto* b = w->findChild<QPushButton*>(QStringLiteral("sheetButton%1").arg(id))) {
                if (b->isEnabled()) {
                    b->click();
                }
                return;
            }
        }
        if (PropertyPage* page = sheet_->Page(sheet_->ActivePageIndex())) {
            act::Click(*page, id);
        }
    }
    void SelectTab(int index) override {
        if (QWidget* w = sheet_->Widget()) {
            if (auto* tabs = w->findChild<QTabWidget*>()) {
                if (index >= 0 && index < tabs->count()) {
                    tabs->tabBar()->setCurrentIndex(index);
                }
            }
        }
    }
    void ForceClose() override { sheet_->EndDialog(IDCANCEL); }

private:
    PropertySheet* sheet_;
};

}  // namespace

PropertySheet::PropertySheet(std::string caption, Dialog* parent, int firstPage)
    : caption_(std::move(caption)), parent_(parent), firstPage_(firstPage), impl_(std::make_unique<Impl>()) {}

PropertySheet::~PropertySheet() {
    // The pages may be gone already (their owner deletes them first); their
    // windows went when the modal run ended.
    delete impl_->window;
}

void PropertySheet::AddPage(PropertyPage* page) {
    if (page != nullptr) {
        pages_.push_back(page);
    }
}

int PropertySheet::PageCount() const { return static_cast<int>(pages_.size()); }

void PropertySheet::MapCommand(int id, std::function<void()> handler) {
    impl_->commands[id] = std::move(handler);
}

void PropertySheet::EndDialog(int result) {
    Impl& d = *impl_;
    d.result = result;
    d.endRequested = true;
    if (d.window != nullptr && d.running) {
        d.window->done(result);
    }
}

QWidget* PropertySheet::Widget() const { return impl_->window; }

PropertyPage* PropertySheet::Page(int index) const {
    return index >= 0 && index < PageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

int PropertySheet::ActivePageIndex() const {
    return impl_->tabs != nullptr ? impl_->tabs->currentIndex() : firstPage_;
}

int PropertySheet::DoModal() {
    Impl& d = *impl_;
    QWidget* owner = parent_ != nullptr ? parent_->Widget() : nullptr;
    if (owner == nullptr) {
        owner = QApplication::activeModalWidget();
    }
    if (owner == nullptr) {
        owner = QApplication::activeWindow();
    }

    // Runs the sheet's mapped handler of a command; false when none is mapped.
    auto runMapped = [this](int id) {
        Impl& impl = *impl_;
        const auto it = impl.commands.find(id);
        if (it == impl.commands.end() || !it->second) {
            return false;
        }
        auto handler = it->second;  // a copy: the handler may remap itself
        handler();
        return true;
    };
    // The sheet's command map: mapped handlers first; unmapped, OK and Cancel
    // end the run with their IDs, Apply and Help do nothing.
    auto sheetCommand = [this, runMapped](int id) {
        if (!runMapped(id) && (id == IDOK || id == IDCANCEL)) {
            EndDialog(id);
        }
    };
    // A page's unmapped command: the sheet's map, then the application.
    auto pageCommand = [runMapped](int id) {
        if (!runMapped(id) && id == ID_HELP) {
            RunHelpCommand();
        }
    };

    delete d.window;
    d.window = new SheetWindow(owner, sheetCommand);
    d.window->setWindowTitle(QString::fromStdString(caption_));
    d.window->setAccessibleName(QString::fromStdString(caption_));
    d.window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    d.endRequested = false;
    d.result = 0;

    auto* layout = new QVBoxLayout(d.window);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    d.tabs = new QTabWidget(d.window);
    // Every tab stays readable: the sheet widens to the whole row of tabs
    // rather than hiding some behind scroll arrows.
    d.tabs->setUsesScrollButtons(false);
    d.tabs->setElideMode(Qt::ElideNone);
    layout->addWidget(d.tabs);
    d.holders.clear();
    for (PropertyPage* page : pages_) {
        auto* holder = new QWidget;
        // The holder has the size of its page's template.
        holder->setFixedSize(page->DuToPixelsX(page->Template().cx), page->DuToPixelsY(page->Template().cy));
        d.tabs->addTab(holder, QString::fromStdString(page->Template().caption));
        d.holders.push_back(holder);
        page->impl_->outerRoute = pageCommand;
    }

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    d.buttons.clear();
    const std::pair<int, const char*> buttons[] = {
        {IDOK, "OK"}, {IDCANCEL, "Cancel"}, {ID_APPLY_NOW, "&Apply"}, {IDHELP, "Help"}};
    for (const auto& [id, text] : buttons) {
        auto* b = new QPushButton(QString::fromUtf8(text), d.window);
        b->setObjectName(QStringLiteral("sheetButton%1").arg(id));
        b->setAutoDefault(false);
        b->setDefault(id == IDOK);
        b->setAccessibleName(QString::fromStdString(StripMnemonic(text)));
        const int command = id;
        QObject::connect(b, &QPushButton::clicked, d.window, [sheetCommand, command] { sheetCommand(command); });
        row->addWidget(b);
        d.buttons[id] = b;
    }
    // No page ever reports a change, so Apply stays disabled.
    d.buttons[ID_APPLY_NOW]->setEnabled(false);
    layout->addLayout(row);

    // A page's window is built when its tab is first shown.
    auto showPage = [this](int index) {
        Impl& impl = *impl_;
        PropertyPage* page = Page(index);
        if (page == nullptr || page->IsWindow()) {
            return;
        }
        QWidget* holder = impl.holders[static_cast<std::size_t>(index)];
        if (!page->BuildWindow(holder, true)) {
            return;
        }
        page->Widget()->setEnabled(true);
        // Enter and Escape in a page are the sheet's (OK and Cancel).
        static_cast<DialogWindow*>(page->Widget())->SetPassKeys(true);
        page->OnInitDialog();
        page->Widget()->show();
    };
    const int first = firstPage_ >= 0 && firstPage_ < PageCount() ? firstPage_ : 0;
    d.tabs->setCurrentIndex(first);
    showPage(first);
    QObject::connect(d.tabs, &QTabWidget::currentChanged, d.window, showPage);

    int result = 0;
    d.running = true;
    {
        detail::ModalRun run(std::make_shared<SheetView>(this));
        // Modal to its owner only, as a dialog disables just its owner window: other
        // top-level windows of the process (the simulated reader's) stay usable.
        d.window->setWindowModality(Qt::WindowModal);
        result = d.window->exec();
    }
    d.running = false;
    if (d.endRequested) {
        result = d.result;
    }
    for (PropertyPage* page : pages_) {
        page->DestroyWindow();
        page->impl_->outerRoute = nullptr;
    }
    d.tabs = nullptr;
    d.holders.clear();
    d.buttons.clear();
    delete d.window;
    d.window = nullptr;
    return result;
}

}  // namespace ui
