// Shared pieces of the dialog-layer tests: a template with one control of
// each kind, a dialog that counts what reaches it, and a modal run whose
// whole body is one operator step.
#pragma once

#include "platform/ui/dialog.h"
#include "platform/ui/operator.h"
#include "support/operator_script.h"

#include <functional>
#include <map>
#include <string>

namespace uitest {

// IDs of the sample template.
enum : int {
    kPush = 100,
    kPlainCheck = 101,
    kAutoCheck = 102,
    kRadioA1 = 110, kRadioA2 = 111, kRadioA3 = 112,  // one group run
    kRadioB1 = 120, kRadioB2 = 121,                  // the next run
    kRadioS1 = 130, kRadioS2 = 131,                  // each a group of its own
    kLineEdit = 140,
    kReport = 141,
    kGroup = 150,
    kIcon = 151,
    kCombo = 160,
    kList = 161,
    kTabs = 170,
    kHosted = 180,
    kDisabledButton = 190,
    kHiddenButton = 191,
};

inline constexpr const char* kTestClsid = "{0D1A1061-0000-4000-8000-00000000AB00}";

ui::DialogTemplate SampleTemplate(bool withHosted = false);
// A small template: OK (default) and Cancel only.
ui::DialogTemplate SmallTemplate(const std::string& caption = "Small");

// A dialog that records the commands, selection changes, timers and init
// calls that reach it.
class Probe : public ui::Dialog {
public:
    explicit Probe(const ui::DialogTemplate& tpl, ui::Dialog* parent = nullptr) : Dialog(tpl, parent) {}
    bool OnInitDialog() override;
    void OnTimer(int id) override { ++timerTicks[id]; }
    void OnSysCommand(unsigned command) override;
    void OnPaint() override;

    // Maps every ID of the template (but 1 and 2) to a counter.
    void CountAll();
    std::map<int, int> commands;
    std::map<int, int> selChanges;
    std::map<int, int> timerTicks;
    std::vector<unsigned> sysCommands;
    int inits = 0;
    int paints = 0;
    std::function<void(Probe&)> onInit;
    bool initReturn = true;
};

// Runs dlg modally with one operator step, body, that acts on the open
// dialog; ends the run with 77 if body left it open. Returns DoModal's value.
int RunModal(ui::Dialog& dlg, const std::function<void(ui::ModalView&)>& body);

}  // namespace uitest
