// Scripted operators for GUI tests (see operator_script.h).
#include "support/operator_script.h"

#include "platform/ui/application.h"
#include "platform/ui/dialog_template.h"

#include <gtest/gtest.h>

#include <utility>

namespace testsupport {
OperatorScript::OperatorScript() {
    ui::Operator::Install([this](ui::ModalView& view) { Answer(view); });
}

OperatorScript::OperatorScript(std::vector<Step> steps) : OperatorScript() {
    for (Step& s : steps) {
        steps_.push_back(std::move(s));
    }
}

OperatorScript::~OperatorScript() {
    if (!finished_) {
        Finish();
    }
}

OperatorScript& OperatorScript::Then(Step step) {
    steps_.push_back(std::move(step));
    return *this;
}

void OperatorScript::Finish() {
    finished_ = true;
    ui::Operator::Remove();
    if (!steps_.empty()) {
        ADD_FAILURE() << steps_.size() << " operator step(s) never used; modals seen: " << seen_.size();
    }
    for (const std::string& failure : ui::Operator::TakeFailures()) {
        ADD_FAILURE() << failure;
    }
}

void OperatorScript::Answer(ui::ModalView& view) {
    std::string line = std::string(ui::ModalKindName(view.Kind())) + " \"" + view.Caption() + "\"";
    if (view.Kind() == ui::ModalKind::MessageBox) {
        line += ": " + view.Text();
    }
    seen_.push_back(line);
    if (steps_.empty()) {
        ADD_FAILURE() << "unexpected modal with no operator step left: " << line;
        view.ForceClose();
        return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step(view);
}

Step ClickOk() {
    return [](ui::ModalView& view) {
        if (view.Kind() == ui::ModalKind::Dialog || view.Kind() == ui::ModalKind::PropertySheet) {
            view.Click(ui::IDOK);
        } else {
            view.ClickButton("OK");
        }
    };
}

Step ClickButton(std::string caption) {
    return [caption = std::move(caption)](ui::ModalView& view) { view.ClickButton(caption); };
}

Step ExpectMessageBox(std::string text) {
    return [text = std::move(text)](ui::ModalView& view) {
        EXPECT_EQ(view.Kind(), ui::ModalKind::MessageBox) << "caption \"" << view.Caption() << "\"";
        EXPECT_EQ(view.Caption(), ui::AppName());
        EXPECT_EQ(view.Text(), text);
        view.ClickButton("OK");
    };
}

Step Inspect(std::function<void(ui::ModalView&)> body) { return body; }

}  // namespace testsupport
