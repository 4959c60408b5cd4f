// Shared pieces of the dialog-layer tests (see ui_test_util.h).
#include "ui/ui_test_util.h"

#include "platform/ui/icons.h"

#include <QIcon>
#include <QWidget>

namespace uitest {

using ui::ControlKind;

ui::DialogTemplate SampleTemplate(bool withHosted) {
    ui::DialogTemplate t;
    t.id = 900;
    t.caption = "Sample Dialog";
    t.pointSize = 8;
    t.cx = 300;
    t.cy = 220;
    t.style = ui::DS_SysMenu | ui::DS_MinimizeBox | ui::DS_ModalFrame;
    auto add = [&t](int id, ControlKind kind, std::string text, ui::Rect r, std::uint32_t style = 0) {
        ui::ControlTemplate c;
        c.id = id;
        c.kind = kind;
        c.text = std::move(text);
        c.rect = r;
        c.style = style | ui::CS_TabStop;
        t.controls.push_back(c);
        return &t.controls.back();
    };
    add(ui::IDOK, ControlKind::PushButton, "OK", {240, 5, 50, 14}, ui::CS_DefaultButton);
    add(ui::IDCANCEL, ControlKind::PushButton, "Cancel", {240, 22, 50, 14});
    add(kPush, ControlKind::PushButton, "&Push", {240, 39, 50, 14});
    add(kPlainCheck, ControlKind::CheckBox, "Plain check", {5, 5, 80, 10});
    add(kAutoCheck, ControlKind::CheckBox, "&Auto check", {5, 17, 80, 10}, ui::CS_Auto);
    add(kGroup, ControlKind::GroupBox, "Choices", {90, 0, 140, 70});
    add(kRadioA1, ControlKind::RadioButton, "A1", {95, 10, 40, 10}, ui::CS_Auto | ui::CS_Group);
    add(kRadioA2, ControlKind::RadioButton, "A2", {95, 22, 40, 10}, ui::CS_Auto);
    add(kRadioA3, ControlKind::RadioButton, "A3", {95, 34, 40, 10}, ui::CS_Auto);
    add(kRadioB1, ControlKind::RadioButton, "B1", {140, 10, 40, 10}, ui::CS_Auto | ui::CS_Group);
    add(kRadioB2, ControlKind::RadioButton, "B2", {140, 22, 40, 10}, ui::CS_Auto);
    add(kRadioS1, ControlKind::RadioButton, "S1", {185, 10, 40, 10}, ui::CS_Auto | ui::CS_Group);
    add(kRadioS2, ControlKind::RadioButton, "S2", {185, 22, 40, 10}, ui::CS_Auto | ui::CS_Group);
    add(ui::IDC_STATIC, ControlKind::Static, "&Name:", {5, 75, 40, 8});
    add(kLineEdit, ControlKind::Edit, "initial", {50, 73, 100, 12});
    add(ui::IDC_STATIC, ControlKind::Static, "Test Report:", {5, 90, 60, 8});
    add(kReport, ControlKind::Edit, "", {5, 100, 230, 50},
        ui::CS_MultiLine | ui::CS_ReadOnly | ui::CS_VScroll | ui::CS_AutoVScroll | ui::CS_Sunken);
    add(kIcon, ControlKind::Icon, "", {160, 73, 20, 20})->iconId = 128;
    ui::ControlTemplate* combo =
        add(kCombo, ControlKind::ComboBox, "", {5, 155, 100, 60}, ui::CS_Sorted | ui::CS_VScroll);
    combo->items = {"bravo", "Charlie", "alpha"};
    combo->accessibleName = "Device name";
    add(kList, ControlKind::ListBox, "", {110, 155, 60, 40});
    add(kTabs, ControlKind::TabControl, "", {175, 155, 115, 60});
    add(kDisabledButton, ControlKind::PushButton, "Disabled", {240, 56, 50, 14}, ui::CS_Disabled);
    add(kHiddenButton, ControlKind::PushButton, "Hidden", {240, 73, 50, 14}, ui::CS_Hidden);
    if (withHosted) {
        add(ui::IDC_STATIC, ControlKind::Static, "Reader:", {240, 90, 50, 8});
        add(kHosted, ControlKind::Hosted, "", {240, 100, 20, 20})->clsid = kTestClsid;
    }
    return t;
}

ui::DialogTemplate SmallTemplate(const std::string& caption) {
    ui::DialogTemplate t;
    t.id = 901;
    t.caption = caption;
    t.cx = 120;
    t.cy = 40;
    t.style = ui::DS_SysMenu | ui::DS_ModalFrame;
    ui::ControlTemplate ok;
    ok.id = ui::IDOK;
    ok.kind = ControlKind::PushButton;
    ok.text = "OK";
    ok.rect = {5, 20, 50, 14};
    ok.style = ui::CS_DefaultButton | ui::CS_TabStop;
    ui::ControlTemplate cancel = ok;
    cancel.id = ui::IDCANCEL;
    cancel.text = "Cancel";
    cancel.rect = {65, 20, 50, 14};
    cancel.style = ui::CS_TabStop;
    t.controls = {ok, cancel};
    return t;
}

bool Probe::OnInitDialog() {
    ++inits;
    if (onInit) {
        onInit(*this);
    }
    return initReturn;
}

void Probe::OnSysCommand(unsigned command) {
    sysCommands.push_back(command);
    Dialog::OnSysCommand(command);
}

void Probe::OnPaint() {
    ++paints;
    DrawIcon(0, 0, ui::LoadIcon(128));
}

void Probe::CountAll() {
    for (const ui::ControlTemplate& c : Template().controls) {
        if (c.id == ui::IDC_STATIC || c.id == ui::IDOK || c.id == ui::IDCANCEL) {
            continue;
        }
        const int id = c.id;
        MapCommand(id, [this, id] { ++commands[id]; });
        MapSelChange(id, [this, id] { ++selChanges[id]; });
    }
}

int RunModal(ui::Dialog& dlg, const std::function<void(ui::ModalView&)>& body) {
    testsupport::OperatorScript script;
    script.Then([&dlg, &body](ui::ModalView& view) {
        body(view);
        if (dlg.Widget() != nullptr && dlg.Widget()->isVisible()) {
            dlg.EndDialog(77);
        }
    });
    return dlg.DoModal();
}

}  // namespace uitest
