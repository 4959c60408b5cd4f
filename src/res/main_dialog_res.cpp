// Template 102: the main console window. Controls are listed in Tab order.
//
// Layout in dialog units: the method buttons form a column at the left; the
// tab control stands to their right, large enough for a 240x164 page placed
// 10 pixels in from its left edge and 10 pixels below its row of tabs, with
// room to spare for the pixel offsets at any font size; the hosted control is
// a small box just above the tab control's top right corner; the report box
// spans the width below, and the button row closes the window.
#include "res/main_dialog_res.h"

namespace res {

namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::Rect;

// Column and row positions (dialog units).
constexpr int kMargin = 7;
constexpr int kButtonCx = 64;
constexpr int kButtonCy = 14;
constexpr int kTabX = kMargin + kButtonCx + 8;   // 79
constexpr int kTabY = 36;
constexpr int kTabCx = kPageCx + 24;             // 264
constexpr int kTabCy = kPageCy + 40;             // 204
constexpr int kRight = kTabX + kTabCx;           // 343
constexpr int kReportLabelY = kTabY + kTabCy + 8;
constexpr int kReportY = kReportLabelY + 12;
constexpr int kReportCy = 96;
constexpr int kBottomY = kReportY + kReportCy + 8;
constexpr int kDialogCx = kRight + kMargin;
constexpr int kDialogCy = kBottomY + kButtonCy + 7;

// The y of the n-th slot of the method column.
constexpr int MethodY(int slot) { return kTabY + slot * 20; }

ControlTemplate Button(int id, const char* text, Rect r, std::uint32_t style = ui::CS_None)
{
    ControlTemplate c;
    c.id = id;
    c.kind = ControlKind::PushButton;
    c.text = text;
    c.rect = r;
    c.style = style | ui::CS_TabStop;
    return c;
}

ControlTemplate Label(const char* text, Rect r, std::uint32_t style = ui::CS_None)
{
    ControlTemplate c;
    c.id = ui::IDC_STATIC;
    c.kind = ControlKind::Static;
    c.text = text;
    c.rect = r;
    c.style = style;
    return c;
}

ui::DialogTemplate Build()
{
    ui::DialogTemplate t;
    t.id = IDD_MSRTEST_DIALOG;
    t.caption = "Quellor USB Mini MSR OPOS Test  Program 2.51";
    t.fontName = "MS Sans Serif";
    t.pointSize = 10;
    t.cx = kDialogCx;
    t.cy = kDialogCy;
    t.style = ui::DS_SysMenu | ui::DS_MinimizeBox | ui::DS_ModalFrame | ui::DS_AppWindow;

    auto& c = t.controls;
    c.push_back(Button(IDC_CLEAR_REPORT, "Clear Report",
                       {kMargin, kBottomY, kButtonCx, kButtonCy}, ui::CS_DefaultButton));
    c.push_back(Button(IDC_EXIT, "Exit", {kRight - kButtonCx, kBottomY, kButtonCx, kButtonCy}));
    c.push_back(Button(IDC_OPEN, "Open", {kMargin, MethodY(0), kButtonCx, kButtonCy}));
    c.push_back(Button(IDC_CLAIM, "Claim", {kMargin, MethodY(1), kButtonCx, kButtonCy}));
    c.push_back(Button(IDC_CHECK_HEALTH, "CheckHealth...", {kMargin, MethodY(2), kButtonCx, kButtonCy}));
    c.push_back(Button(IDC_CLEAR_INPUT, "ClearInput", {kMargin, MethodY(3), kButtonCx, kButtonCy}));
    // Slot 4 belongs to the hidden "Creat Thread" button further down the list.
    c.push_back(Button(IDC_DIRECT_IO, "DirectIO...", {kMargin, MethodY(5), kButtonCx, kButtonCy},
                       ui::CS_Disabled));
    c.push_back(Button(IDC_RELEASE, "Release", {kMargin, MethodY(6), kButtonCx, kButtonCy}));
    c.push_back(Button(IDC_CLOSE, "Close", {kMargin, MethodY(7), kButtonCx, kButtonCy}));

    ControlTemplate tab;
    tab.id = IDC_PROPERTY_TAB;
    tab.kind = ControlKind::TabControl;
    tab.rect = {kTabX, kTabY, kTabCx, kTabCy};
    tab.style = ui::CS_TabStop;
    tab.accessibleName = "MSR Properties";
    c.push_back(tab);

    ControlTemplate report;
    report.id = IDC_REPORT;
    report.kind = ControlKind::Edit;
    report.rect = {kMargin, kReportY, kRight - kMargin, kReportCy};
    report.style = ui::CS_MultiLine | ui::CS_ReadOnly | ui::CS_VScroll | ui::CS_AutoVScroll |
                   ui::CS_Sunken | ui::CS_Border | ui::CS_TabStop;
    report.accessibleName = "Test Report";
    c.push_back(report);

    c.push_back(Label("MSR Method:", {kMargin, kTabY - 12, kButtonCx, 8}));
    c.push_back(Label("MSR Properties:", {kTabX, kTabY - 12, 80, 8}));
    c.push_back(Label("Test Report:", {kMargin, kReportLabelY, kButtonCx, 8}));
    c.push_back(Button(IDC_DEFAULT_TEST, "DefaultTest", {kMargin + 2 * (kButtonCx + 8), kBottomY, kButtonCx, kButtonCy},
                       ui::CS_Disabled));
    c.push_back(Button(IDC_TEMP, "Temp", {kRight - 50, 4, 50, kButtonCy}, ui::CS_Hidden));
    c.push_back(Button(IDC_SAVE_REPORT, "Save Report...", {kMargin + kButtonCx + 8, kBottomY, kButtonCx, kButtonCy}));

    ControlTemplate msr;
    msr.id = IDC_MSR;
    msr.kind = ControlKind::Hosted;
    msr.clsid = kMsrClsid;
    msr.rect = {kRight - 24, kTabY - 15, 24, 13};
    msr.accessibleName = "MSR control";
    c.push_back(msr);

    c.push_back(Button(IDC_CREATE_THREAD, "Creat Thread", {kMargin, MethodY(4), kButtonCx, kButtonCy},
                       ui::CS_Hidden));

    ControlTemplate combo;
    combo.id = IDC_DEVICE_NAME;
    combo.kind = ControlKind::ComboBox;
    combo.rect = {kTabX + 26, 4, 160, 14};
    combo.style = ui::CS_Sorted | ui::CS_VScroll | ui::CS_Hidden | ui::CS_TabStop;
    combo.items = {
        "USB HID KB: QUELLOR_MINI_USBKB", "USB CDC: QUELLOR_MINI_USBCDC",
        "USB HID: QUELLOR_MINI_USBHID",   "PS/2 KB: QUELLOR_MINI_PS/2KB",
        "RS232: QUELLOR_MINI_RS232",      "USB HID KB: QUELLORMiniMSR",
    };
    combo.accessibleName = "Open";
    c.push_back(combo);

    c.push_back(Label("Open:", {kTabX, 6, 22, 8}, ui::CS_Hidden));
    return t;
}

}  // namespace

const ui::DialogTemplate& MainDialogTemplate()
{
    static const ui::DialogTemplate tpl = Build();
    return tpl;
}

}  // namespace res
