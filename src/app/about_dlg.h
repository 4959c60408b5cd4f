// CAboutDlg: the About box (template 100) that the main window's system menu
// opens. It has no behaviour of its own: OK, Enter and Escape close it. The
// class is defined wholly in this header because the main window's library
// uses it and sits below the application library in the link order.
#pragma once

#include "platform/ui/dialog.h"
#include "platform/ui/icons.h"
#include "res/app_about_template.h"
#include "res/app_icon.h"

#include <QIcon>

class CAboutDlg : public ui::Dialog {
public:
    explicit CAboutDlg(ui::Dialog* parent = nullptr) : ui::Dialog(res::AboutTemplate(), parent) {
        // The template's icon control shows icon resource 128. The program
        // registers it at start-up; a box made without that start-up (a
        // test) registers it here.
        if (!ui::HasIcon(res::IDR_MAINFRAME)) ui::RegisterIcon(res::IDR_MAINFRAME, res::AppIcon());
    }
};
