// The layout of the small modal choice dialogs.
#include "res/choice_dialog_template.h"

namespace res {

ui::DialogTemplate ChoiceDialogTemplate(int id, const char* caption, int cx, const char* prompt,
                                        const std::array<Choice, 3>& choices)
{
    ui::DialogTemplate t;
    t.id = id;
    t.caption = caption;
    t.fontName = "MS Sans Serif";
    t.pointSize = 10;
    t.cx = cx;
    t.cy = 86;
    t.style = ui::DS_ModalFrame;

    ui::ControlTemplate ok;
    ok.id = ui::IDOK;
    ok.kind = ui::ControlKind::PushButton;
    ok.text = "OK";
    ok.rect = {cx - 57, 65, 50, 14};
    ok.style = ui::CS_DefaultButton | ui::CS_TabStop;
    t.controls.push_back(ok);

    ui::ControlTemplate label;
    label.id = ui::IDC_STATIC;
    label.kind = ui::ControlKind::Static;
    label.text = prompt;
    label.rect = {7, 7, cx - 14, 10};
    t.controls.push_back(label);

    // One group: the first button starts it.
    int y = 22;
    for (const Choice& choice : choices) {
        ui::ControlTemplate c;
        c.id = choice.id;
        c.kind = ui::ControlKind::RadioButton;
        c.text = choice.text;
        c.rect = {20, y, 100, 10};
        c.style = ui::CS_Auto | (y == 22 ? ui::CS_Group | ui::CS_TabStop : ui::CS_None);
        t.controls.push_back(c);
        y += 14;
    }
    return t;
}

}  // namespace res
