// Template 135: "Error Response" with OK and three radio buttons of one group
// (Retry, Clear, Continue Input).
#include "res/dialogs_error.h"

namespace res {

namespace {

ui::DialogTemplate Build()
{
    ui::DialogTemplate t;
    t.id = IDD_ERROR_RESPONSE;
    t.caption = "Error Response";
    t.fontName = "MS Sans Serif";
    t.pointSize = 10;
    t.cx = 300;
    t.cy = 86;
    t.style = ui::DS_ModalFrame;

    ui::ControlTemplate ok;
    ok.id = ui::IDOK;
    ok.kind = ui::ControlKind::PushButton;
    ok.text = "OK";
    ok.rect = {243, 65, 50, 14};
    ok.style = ui::CS_DefaultButton | ui::CS_TabStop;
    t.controls.push_back(ok);

    ui::ControlTemplate prompt;
    prompt.id = ui::IDC_STATIC;
    prompt.kind = ui::ControlKind::Static;
    prompt.text = "There is some error. Please  select  from the following to continue:";
    prompt.rect = {7, 7, 286, 10};
    t.controls.push_back(prompt);

    const struct {
        int id;
        const char* text;
        int y;
    } radios[] = {
        {IDC_RESPONSE_RETRY, "Retry", 22},
        {IDC_RESPONSE_CLEAR, "Clear", 36},
        {IDC_RESPONSE_CONTINUE, "Continue Input", 50},
    };
    bool first = true;
    for (const auto& r : radios) {
        ui::ControlTemplate c;
        c.id = r.id;
        c.kind = ui::ControlKind::RadioButton;
        c.text = r.text;
        c.rect = {20, r.y, 100, 10};
        c.style = ui::CS_Auto | (first ? ui::CS_Group | ui::CS_TabStop : ui::CS_None);
        first = false;
        t.controls.push_back(c);
    }
    return t;
}

}  // namespace

const ui::DialogTemplate& ErrorResponseTemplate()
{
    static const ui::DialogTemplate tpl = Build();
    return tpl;
}

}  // namespace res
