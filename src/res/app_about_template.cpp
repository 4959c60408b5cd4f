// Dialog template 100: the About box, with the application icon, the
// program's name and version, three lines about the program and OK.
#include "res/app_about_template.h"

#include "res/app_icon.h"

namespace res {

const ui::DialogTemplate& AboutTemplate() {
    static const ui::DialogTemplate kTemplate = [] {
        ui::DialogTemplate t;
        t.id = IDD_ABOUTBOX;
        t.caption = "About Quellor MSR OPOS Test Program ";
        t.fontName = "MS Sans Serif";
        t.pointSize = 10;
        t.cx = 250;
        t.cy = 66;
        t.style = ui::DS_SysMenu | ui::DS_ModalFrame;

        ui::ControlTemplate icon;
        icon.kind = ui::ControlKind::Icon;
        icon.rect = {11, 17, 20, 20};
        icon.iconId = IDR_MAINFRAME;

        ui::ControlTemplate name;
        name.kind = ui::ControlKind::Static;
        name.text = "Quellor MSR OPOS Test Program Version 1.0";
        name.rect = {40, 10, 150, 8};
        name.style = ui::CS_NoPrefix;

        ui::ControlTemplate about;
        about.kind = ui::ControlKind::Static;
        about.text =
            "A test console for magnetic stripe readers\n"
            "driven through the OPOS device model.\n"
            "Built with the Strivo platform layer on Linux.";
        about.rect = {40, 24, 150, 30};

        ui::ControlTemplate ok;
        ok.id = ui::IDOK;
        ok.kind = ui::ControlKind::PushButton;
        ok.text = "OK";
        ok.rect = {193, 7, 50, 14};
        ok.style = ui::CS_DefaultButton | ui::CS_Group | ui::CS_TabStop;

        t.controls = {icon, name, about, ok};
        return t;
    }();
    return kTemplate;
}

}  // namespace res
