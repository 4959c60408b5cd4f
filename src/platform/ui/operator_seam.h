// The dialog layer's side of the operator seam: every modal run announces
// itself with a ModalRun for as long as its nested loop runs, and the seam
// hands its view to the installed responder from inside that loop. Also the
// small input helpers that the views and ui::act share. Private to the layer.
#pragma once

#include "platform/ui/operator.h"

#include <Qt>

#include <memory>
#include <string>

class QAbstractButton;
class QWidget;

namespace ui::detail {

// A view with do-nothing defaults for the operations that a kind of modal
// does not have.
class ModalViewBase : public ModalView {
public:
    std::string Text() const override { return {}; }
    Dialog* AsDialog() const override { return nullptr; }
    PropertySheet* AsSheet() const override { return nullptr; }
    int TemplateId() const override { return 0; }
    void Click(int id) override { (void)id; }
    void ClickButton(const std::string& text) override;
    void PressEnter() override;
    void PressEscape() override;
    void CloseBox() override;
    void AcceptFileName(const std::string& name) override { (void)name; }
    std::vector<std::string> MenuItems() const override { return {}; }
    void ChooseMenuItem(const std::string& text) override { (void)text; }
    void SelectTab(int index) override { (void)index; }
};

// Lives on the stack of a modal run, created right before the loop starts.
class ModalRun {
public:
    explicit ModalRun(std::shared_ptr<ModalView> view);
    ~ModalRun();
    ModalRun(const ModalRun&) = delete;
    ModalRun& operator=(const ModalRun&) = delete;

    struct State;

private:
    std::shared_ptr<State> state_;
};

// Input as a person gives it.
void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The widget that keys typed into window go to: its focus widget, or itself.
QWidget* KeyTarget(QWidget* window);
void SendClose(QWidget* window);
// The enabled, shown button under root whose caption (mnemonics removed)
// equals text; null if none.
QAbstractButton* FindButton(QWidget* root, const std::string& text);

}  // namespace ui::detail
