// Scripted operators for GUI tests. An OperatorScript installs itself as the
// operator seam's responder for its lifetime and answers each modal that
// appears with the next step of its queue. A modal with no step left fails
// the test and is closed; steps left unused and failures recorded by the
// seam's watchdog fail the test when the script finishes.
#pragma once

#include "platform/ui/operator.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

using Step = std::function<void(ui::ModalView&)>;

class OperatorScript {
public:
    OperatorScript();
    explicit OperatorScript(std::vector<Step> steps);
    ~OperatorScript();
    OperatorScript(const OperatorScript&) = delete;
    OperatorScript& operator=(const OperatorScript&) = delete;

    // Appends a step; steps are used in the order the modals appear.
    OperatorScript& Then(Step step);
    // Checks that every step was used and that the seam recorded no failure
    // (each is a test failure), then removes the responder. The destructor
    // calls it unless it ran already.
    void Finish();

    int StepsLeft() const { return static_cast<int>(steps_.size()); }
    // One line per modal answered: its kind and caption, in order.
    const std::vector<std::string>& Seen() const { return seen_; }

private:
    void Answer(ui::ModalView& view);
    std::deque<Step> steps_;
    std::vector<std::string> seen_;
    bool finished_ = false;
};

// Clicks the modal's OK button.
Step ClickOk();
// Clicks the button with this caption ("OK", "Yes", "Cancel", ...).
Step ClickButton(std::string caption);
// Checks that the modal is a message box captioned with the program's name
// and showing exactly text, then clicks "OK".
Step ExpectMessageBox(std::string text);
// Runs body on the modal (checks, operator actions) and leaves it open.
Step Inspect(std::function<void(ui::ModalView&)> body);

}  // namespace testsupport
