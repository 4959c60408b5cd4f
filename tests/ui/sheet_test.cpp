// Property sheets and child dialogs (pages): tabs from page captions, the
// sheet's buttons and command map, commands bubbling from a page to the
// sheet and the application, and pages living on a main window.
#include "ui/ui_test_util.h"

#include "platform/ui/application.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/property_sheet.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

namespace {

using uitest::Probe;
using uitest::RunModal;

constexpr int kPageButton = 2000;
constexpr int kSheetOnlyButton = 2001;

ui::DialogTemplate PageTemplate(const std::string& caption, std::uint32_t style = ui::DS_Child) {
    ui::DialogTemplate t;
    t.id = 950;
    t.caption = caption;
    t.pointSize = 8;
    t.cx = 200;
    t.cy = 100;
    t.style = style;
    auto add = [&t](int id, ui::ControlKind kind, const char* text, ui::Rect r, std::uint32_t s) {
        ui::ControlTemplate c;
        c.id = id;
        c.kind = kind;
        c.text = text;
        c.rect = r;
        c.style = s;
        t.controls.push_back(c);
    };
    add(1110, ui::ControlKind::RadioButton, "2400", {5, 5, 40, 10}, ui::CS_Auto | ui::CS_Group);
    add(1111, ui::ControlKind::RadioButton, "4800", {5, 17, 40, 10}, ui::CS_Auto | ui::CS_Group);
    add(kPageButton, ui::ControlKind::PushButton, "Page", {60, 5, 40, 14}, 0);
    add(kSheetOnlyButton, ui::ControlKind::PushButton, "Sheet", {60, 22, 40, 14}, 0);
    add(ui::ID_HELP, ui::ControlKind::PushButton, "Help", {60, 39, 40, 14}, 0);
    add(ui::IDC_STATIC, ui::ControlKind::Static, "Report:", {5, 40, 40, 8}, 0);
    add(3000, ui::ControlKind::Edit, "", {5, 50, 40, 12}, ui::CS_ReadOnly);
    return t;
}

class CountingPage : public ui::PropertyPage {
public:
    explicit CountingPage(const ui::DialogTemplate& t) : PropertyPage(t) {
        MapCommand(kPageButton, [this] { ++pageCommands; });
    }
    bool OnInitDialog() override {
        ++inits;
        return true;
    }
    int inits = 0;
    int pageCommands = 0;
};

class HelpCounter {
public:
    HelpCounter() {
        ui::SetHelpHandler([this] { ++count; });
    }
    ~HelpCounter() { ui::SetHelpHandler(nullptr); }
    int count = 0;
};

struct SheetCloseRow {
    const char* name;
    std::function<void(ui::ModalView&)> act;
    int expected;
};

// Row per way of ending the sheet, with the sheet's map left empty.
const SheetCloseRow kSheetCloseRows[] = {
    {"OK", [](ui::ModalView& v) { v.Click(ui::IDOK); }, ui::IDOK},
    {"Cancel", [](ui::ModalView& v) { v.ClickButton("Cancel"); }, ui::IDCANCEL},
    {"Enter", [](ui::ModalView& v) { v.PressEnter(); }, ui::IDOK},
    {"Escape", [](ui::ModalView& v) { v.PressEscape(); }, ui::IDCANCEL},
    {"close box", [](ui::ModalView& v) { v.CloseBox(); }, ui::IDCANCEL},
    {"Apply is disabled, then OK", [](ui::ModalView& v) {
         v.Click(ui::ID_APPLY_NOW);
         v.Click(ui::IDHELP);
         v.Click(ui::IDOK);
     }, ui::IDOK},
};

TEST(PropertySheet, TabsButtonsAndTheWaysToClose) {
    for (const SheetCloseRow& row : kSheetCloseRows) {
        SCOPED_TRACE(row.name);
        CountingPage general(PageTemplate("General Settings"));
        CountingPage terminator(PageTemplate("Pre/Postamble", ui::DS_Child | ui::DS_Disabled));
        CountingPage rs232(PageTemplate("RS232"));
        ui::PropertySheet sheet("Send specfic commands to MiniMSR", nullptr, 0);
        sheet.AddPage(&general);
        sheet.AddPage(&terminator);
        sheet.AddPage(&rs232);
        EXPECT_EQ(sheet.PageCount(), 3);
        testsupport::OperatorScript script;
        script.Then([&](ui::ModalView& v) {
            EXPECT_EQ(v.Kind(), ui::ModalKind::PropertySheet);
            EXPECT_EQ(v.AsSheet(), &sheet);
            EXPECT_EQ(v.Caption(), "Send specfic commands to MiniMSR");
            auto* tabs = v.Widget()->findChild<QTabWidget*>();
            ASSERT_NE(tabs, nullptr);
            ASSERT_EQ(tabs->count(), 3);
            EXPECT_EQ(tabs->tabText(0), QStringLiteral("General Settings"));
            EXPECT_EQ(tabs->tabText(1), QStringLiteral("Pre/Postamble"));
            EXPECT_EQ(tabs->tabText(2), QStringLiteral("RS232"));
            EXPECT_EQ(sheet.ActivePageIndex(), 0);
            // Pages are built when first shown.
            EXPECT_EQ(general.inits, 1);
            EXPECT_EQ(terminator.inits, 0);
            // OK, Cancel, Apply (disabled), Help, in that order.
            std::vector<std::string> captions;
            for (auto* b : v.Widget()->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly)) {
                captions.push_back(b->text().toStdString() + (b->isEnabled() ? "" : " (disabled)"));
            }
            EXPECT_EQ(captions, (std::vector<std::string>{"OK", "Cancel", "&Apply (disabled)", "Help"}));
            row.act(v);
        });
        EXPECT_EQ(sheet.DoModal(), row.expected);
        EXPECT_FALSE(general.IsWindow()) << "pages go with the sheet";
    }
}

TEST(PropertySheet, PageCommandsBubbleToTheSheetThenTheApplication) {
    HelpCounter help;
    CountingPage general(PageTemplate("General Settings"));
    CountingPage terminator(PageTemplate("Pre/Postamble", ui::DS_Child | ui::DS_Disabled));
    ui::PropertySheet sheet("Sheet", nullptr, 1);
    sheet.AddPage(&general);
    sheet.AddPage(&terminator);
    int sheetCommands = 0;
    sheet.MapCommand(kSheetOnlyButton, [&] { ++sheetCommands; });
    sheet.MapCommand(ui::IDOK, [&] { sheet.EndDialog(12321); });
    int cancels = 0;
    sheet.MapCommand(ui::IDCANCEL, [&] { ++cancels; });
    testsupport::OperatorScript script;
    script.Then([&](ui::ModalView& v) {
        EXPECT_EQ(sheet.ActivePageIndex(), 1);
        EXPECT_EQ(general.inits, 0);
        // A disabled page template is usable inside the sheet.
        EXPECT_TRUE(terminator.Widget()->isEnabled());
        v.Click(kPageButton);
        v.Click(kSheetOnlyButton);
        v.Click(ui::ID_HELP);
        EXPECT_EQ(terminator.pageCommands, 1);
        EXPECT_EQ(sheetCommands, 1);
        EXPECT_EQ(help.count, 1);
        // Radio buttons that each start a group: both stay checked.
        v.Click(1110);
        v.Click(1111);
        EXPECT_EQ(terminator.IsDlgButtonChecked(1110) + terminator.IsDlgButtonChecked(1111), 2);
        // Keys inside a page are the sheet's: Escape is Cancel, Enter is OK (both mapped).
        v.SelectTab(0);
        EXPECT_EQ(general.inits, 1);
        EXPECT_EQ(sheet.ActivePageIndex(), 0);
        v.Click(kPageButton);
        EXPECT_EQ(general.pageCommands, 1);
        general.SetFocusTo(3000);
        ASSERT_EQ(general.FocusedId(), 3000);
        v.PressEscape();
        v.PressEnter();
    });
    EXPECT_EQ(sheet.DoModal(), 12321);
    EXPECT_EQ(cancels, 1);
}

// ---- child dialogs on a main window --------------------------------------------

TEST(ChildDialog, PagesLiveHiddenAtTheTopLeftAboveTheTabControl) {
    HelpCounter help;
    Probe main(uitest::SampleTemplate());
    Probe page(PageTemplate("Page"), &main);
    Probe other(PageTemplate("Other"), &main);
    int mainCancels = 0;
    main.MapCommand(ui::IDCANCEL, [&] { ++mainCancels; });
    main.onInit = [&](Probe&) {
        EXPECT_TRUE(page.Create(&main));
        EXPECT_TRUE(other.Create(&main));
    };
    RunModal(main, [&](ui::ModalView&) {
        EXPECT_EQ(page.inits, 1);
        EXPECT_EQ(page.Parent(), &main);
        EXPECT_EQ(page.Widget()->parentWidget(), main.Widget());
        ui::Placement p = page.GetWindowPlacement();
        EXPECT_FALSE(p.visible);
        EXPECT_EQ(p.rect.x, 0);
        EXPECT_EQ(p.rect.y, 0);
        EXPECT_EQ(p.rect.cx, page.DuToPixelsX(200));
        EXPECT_FALSE(page.IsWindowVisible());
        // Siblings of the tab control, stacked above it.
        const QObjectList& kids = main.Widget()->children();
        EXPECT_GT(kids.indexOf(page.Widget()), kids.indexOf(main.Item(uitest::kTabs)));

        page.MoveWindow(20, 30);
        page.ShowWindow(true);
        EXPECT_TRUE(page.IsWindowVisible());
        // The placement of one page applied to another: same spot, own size.
        p = page.GetWindowPlacement();
        page.ShowWindow(false);
        other.SetWindowPlacement(ui::Placement{ui::Rect{p.rect.x, p.rect.y, 1, 1}, p.visible});
        EXPECT_EQ(other.GetWindowPlacement().rect, (ui::Rect{20, 30, p.rect.cx, p.rect.cy}));
        EXPECT_TRUE(other.IsWindowVisible());

        // Enter and Escape inside a page close nothing.
        other.SetFocusTo(3000);
        ui::act::PressEnter(other);
        ui::act::PressEscape(other);
        EXPECT_TRUE(other.IsWindowVisible());
        EXPECT_TRUE(main.IsWindowVisible());
        EXPECT_EQ(mainCancels, 0);

        // An unmapped Help command of a page goes to the application.
        ui::act::Click(other, ui::ID_HELP);
        EXPECT_EQ(help.count, 1);
        EXPECT_EQ(main.FocusedId(), -1) << "the focus is on a page's control";
        EXPECT_EQ(other.FocusedId(), 3000);
    });
    EXPECT_FALSE(page.IsWindow()) << "destroyed with the main window";
    page.DestroyWindow();  // nothing left to destroy
}

TEST(ChildDialog, CreateNeedsAParentWindow) {
    Probe parent(uitest::SmallTemplate());
    Probe page(PageTemplate("Page"));
    EXPECT_FALSE(page.Create(&parent));
    EXPECT_FALSE(page.Create(nullptr));
    EXPECT_EQ(page.inits, 0);
}

TEST(Painting, OnPaintRunsFromThePaintEventAndMinimisedStateIsVisible) {
    Probe dlg(uitest::SampleTemplate());
    RunModal(dlg, [&](ui::ModalView&) {
        const int before = dlg.paints;
        dlg.Widget()->grab();
        EXPECT_GT(dlg.paints, before);
        EXPECT_FALSE(dlg.IsIconic());
        dlg.OnSysCommand(ui::SC_MINIMIZE);
        EXPECT_TRUE(dlg.IsIconic());
        dlg.OnSysCommand(ui::SC_RESTORE);
        EXPECT_FALSE(dlg.IsIconic());
        EXPECT_EQ(ui::Dialog::SystemIconSize(), 32);
    });
}

}  // namespace
