// The operator seam: responder installation, the posting of each modal to the
// responder from inside its loop, and the watchdog that closes a modal left
// unanswered and records the failure.
#include "platform/ui/operator.h"

#include "platform/ui/controls.h"
#include "platform/ui/operator_seam.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace ui {
namespace {

struct Seam {
    bool armed = false;
    bool armedByDefault = false;
    Responder responder;
    int patienceMs = 5000;
    std::vector<std::string> failures;
};

Seam& TheSeam() {
    static Seam seam;
    return seam;
}

std::string Describe(const ModalView& view) {
    std::string d = ModalKindName(view.Kind());
    d += " \"" + view.Caption() + "\"";
    if (view.Kind() == ModalKind::MessageBox) {
        d += " (text \"" + view.Text() + "\")";
    }
    return d;
}

}  // namespace

void Operator::Install(Responder responder) {
    Seam& seam = TheSeam();
    seam.armed = true;
    seam.responder = std::move(responder);
}

void Operator::Remove() {
    Seam& seam = TheSeam();
    seam.responder = nullptr;
    seam.armed = seam.armedByDefault;
}

bool Operator::Installed() {
    const Seam& seam = TheSeam();
    return seam.armed && static_cast<bool>(seam.responder);
}

std::vector<std::string> Operator::TakeFailures() {
    std::vector<std::string> out;
    out.swap(TheSeam().failures);
    return out;
}

void Operator::SetPatienceMs(int ms) { TheSeam().patienceMs = ms < 0 ? 0 : ms; }

int Operator::PatienceMs() { return TheSeam().patienceMs; }

void Operator::SetArmedByDefault(bool armed) {
    Seam& seam = TheSeam();
    seam.armedByDefault = armed;
    if (!seam.responder) {
        seam.armed = armed;
    }
}

namespace detail {

struct ModalRun::State {
    std::shared_ptr<ModalView> view;
    QPointer<QWidget> widget;
    bool open = true;
};

namespace {

void Fail(const std::shared_ptr<ModalRun::State>& run, const std::string& why) {
    TheSeam().failures.push_back("operator seam: " + Describe(*run->view) + " " + why +
                                 "; closed by the seam");
    run->view->ForceClose();
}

void Respond(const std::shared_ptr<ModalRun::State>& run) {
    if (!run->open) {
        return;
    }
    Seam& seam = TheSeam();
    if (!seam.armed) {
        return;
    }
    // A copy: the responder may install another one while it runs.
    Responder responder = seam.responder;
    if (!responder) {
        Fail(run, "appeared with no operator to answer it");
        return;
    }
    responder(*run->view);
    if (!run->open || run->widget.isNull()) {
        return;
    }
    const int patience = seam.patienceMs;
    QTimer::singleShot(patience, run->widget.data(), [run, patience] {
        if (run->open) {
            Fail(run, "was still open " + std::to_string(patience) + " ms after its answer");
        }
    });
}

}  // namespace

ModalRun::ModalRun(std::shared_ptr<ModalView> view) : state_(std::make_shared<State>()) {
    state_->view = std::move(view);
    state_->widget = state_->view->Widget();
    if (!TheSeam().armed || state_->widget.isNull()) {
        return;
    }
    auto run = state_;
    // Runs once the modal's own loop has started.
    QTimer::singleShot(0, state_->widget.data(), [run] { Respond(run); });
}

ModalRun::~ModalRun() { state_->open = false; }

void ModalViewBase::ClickButton(const std::string& text) {
    if (QAbstractButton* button = FindButton(Widget(), text)) {
        button->click();
    }
}

void ModalViewBase::PressEnter() { SendKey(KeyTarget(Widget()), Qt::Key_Return); }

void ModalViewBase::PressEscape() { SendKey(KeyTarget(Widget()), Qt::Key_Escape); }

void ModalViewBase::CloseBox() { SendClose(Widget()); }

void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
    if (target == nullptr) {
        return;
    }
    QPointer<QWidget> guard(target);
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(target, &press);
    if (!guard.isNull()) {
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QCoreApplication::sendEvent(guard.data(), &release);
    }
}

QWidget* KeyTarget(QWidget* window) {
    if (window == nullptr) {
        return nullptr;
    }
    QWidget* focus = window->window()->focusWidget();
    if (focus != nullptr && (focus == window || window->isAncestorOf(focus))) {
        return focus;
    }
    return window;
}

void SendClose(QWidget* window) {
    if (window == nullptr) {
        return;
    }
    QCloseEvent close;
    QCoreApplication::sendEvent(window, &close);
}

QAbstractButton* FindButton(QWidget* root, const std::string& text) {
    if (root == nullptr) {
        return nullptr;
    }
    const auto buttons = root->findChildren<QAbstractButton*>();
    for (QAbstractButton* b : buttons) {
        if (StripMnemonic(b->text().toStdString()) == StripMnemonic(text) && b->isEnabled() &&
            b->isVisibleTo(root)) {
            return b;
        }
    }
    return nullptr;
}

}  // namespace detail

const char* ModalKindName(ModalKind kind) {
    switch (kind) {
    case ModalKind::Dialog:
        return "dialog";
    case ModalKind::MessageBox:
        return "message box";
    case ModalKind::FileDialog:
        return "file dialog";
    case ModalKind::PropertySheet:
        return "property sheet";
    case ModalKind::Menu:
        return "menu";
    }
    return "modal";
}

}  // namespace ui
