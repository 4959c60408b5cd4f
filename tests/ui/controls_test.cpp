// Controls by ID: operator input versus changes made by code, check boxes and
// radio groups, edit boxes, lists, tab controls, accessible names and the
// dialog-unit conversion.
#include "ui/ui_test_util.h"

#include "platform/ui/application.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/dialog_units.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QWidget>

namespace {

using uitest::Probe;
using uitest::RunModal;

struct EventRow {
    const char* name;
    int id;
    std::function<void(ui::Dialog&)> byCode;
    std::function<void(ui::Dialog&)> byOperator;
    bool isCommand;  // a command (click) rather than a selection change
};

// Row per control: a change made by code, then the same change by the operator.
const EventRow kEventRows[] = {
    {"combo box", uitest::kCombo, [](ui::Dialog& d) { d.SetCurSel(uitest::kCombo, 1); },
     [](ui::Dialog& d) { ui::act::SelectComboItem(d, uitest::kCombo, 2); }, false},
    {"list box", uitest::kList, [](ui::Dialog& d) { d.SetCurSel(uitest::kList, 0); },
     [](ui::Dialog& d) { ui::act::SelectComboItem(d, uitest::kList, 1); }, false},
    {"tab control", uitest::kTabs, [](ui::Dialog& d) { d.SetTabCurSel(uitest::kTabs, 1); },
     [](ui::Dialog& d) { ui::act::SelectTab(d, uitest::kTabs, 2); }, false},
    {"automatic check box", uitest::kAutoCheck, [](ui::Dialog& d) { d.CheckDlgButton(uitest::kAutoCheck, 1); },
     [](ui::Dialog& d) { ui::act::Click(d, uitest::kAutoCheck); }, true},
    {"radio button", uitest::kRadioA2, [](ui::Dialog& d) { d.CheckDlgButton(uitest::kRadioA2, 1); },
     [](ui::Dialog& d) { ui::act::Click(d, uitest::kRadioA2); }, true},
    {"push button", uitest::kPush, [](ui::Dialog& d) { d.SetDlgItemText(uitest::kPush, "Renamed"); },
     [](ui::Dialog& d) { ui::act::Click(d, uitest::kPush); }, true},
};

TEST(Controls, ChangesByCodeRaiseNoEventsAndOperatorInputDoes) {
    for (const EventRow& row : kEventRows) {
        SCOPED_TRACE(row.name);
        Probe dlg(uitest::SampleTemplate());
        dlg.CountAll();
        RunModal(dlg, [&](ui::ModalView&) {
            dlg.AddString(uitest::kList, "one");
            dlg.AddString(uitest::kList, "two");
            for (const char* tab : {"First", "Second", "Third"}) {
                dlg.InsertTabItem(uitest::kTabs, dlg.GetTabCount(uitest::kTabs), tab);
            }
            row.byCode(dlg);
            EXPECT_EQ(dlg.commands[row.id] + dlg.selChanges[row.id], 0) << "changed by code";
            row.byOperator(dlg);
            auto& counter = row.isCommand ? dlg.commands : dlg.selChanges;
            EXPECT_EQ(counter[row.id], 1) << "changed by the operator";
        });
    }
}

TEST(Controls, SelectionsReadBackAfterOperatorAndCode) {
    Probe dlg(uitest::SampleTemplate());
    RunModal(dlg, [&](ui::ModalView&) {
        // Sorted without regard to case; adding items selects none.
        ASSERT_EQ(dlg.GetCount(uitest::kCombo), 3);
        EXPECT_EQ(dlg.GetItemString(uitest::kCombo, 0), "alpha");
        EXPECT_EQ(dlg.GetItemString(uitest::kCombo, 1), "bravo");
        EXPECT_EQ(dlg.GetItemString(uitest::kCombo, 2), "Charlie");
        EXPECT_EQ(dlg.GetCurSel(uitest::kCombo), -1);
        EXPECT_EQ(dlg.GetDlgItemText(uitest::kCombo), "");
        EXPECT_EQ(dlg.AddString(uitest::kCombo, "BETA"), 1);
        EXPECT_EQ(dlg.GetCurSel(uitest::kCombo), -1);
        ui::act::SelectComboItem(dlg, uitest::kCombo, 3);
        EXPECT_EQ(dlg.GetCurSel(uitest::kCombo), 3);
        EXPECT_EQ(dlg.GetDlgItemText(uitest::kCombo), "Charlie");
        dlg.SetCurSel(uitest::kCombo, -1);
        EXPECT_EQ(dlg.GetCurSel(uitest::kCombo), -1);
        EXPECT_EQ(dlg.GetItemString(uitest::kCombo, 9), "");

        EXPECT_EQ(dlg.InsertTabItem(uitest::kTabs, 0, "Control"), 0);
        EXPECT_EQ(dlg.InsertTabItem(uitest::kTabs, 0, "Description"), 0);
        EXPECT_EQ(dlg.GetTabCount(uitest::kTabs), 2);
        EXPECT_EQ(dlg.GetTabText(uitest::kTabs, 1), "Control");
        dlg.SetTabCurSel(uitest::kTabs, 1);
        EXPECT_EQ(dlg.GetTabCurSel(uitest::kTabs), 1);
        const ui::Rect tab0 = dlg.GetTabItemRect(uitest::kTabs, 0);
        EXPECT_GT(tab0.cy, 0);
        EXPECT_EQ(tab0.y, 0);
        EXPECT_LT(tab0.cy, dlg.ItemRect(uitest::kTabs).cy);

        // Unknown IDs are harmless.
        EXPECT_FALSE(dlg.HasItem(4242));
        EXPECT_EQ(dlg.GetCurSel(4242), -1);
        EXPECT_EQ(dlg.GetDlgItemText(4242), "");
        dlg.SetDlgItemText(4242, "x");
        ui::act::Click(dlg, 4242);
    });
}

TEST(Controls, PlainCheckBoxLeavesItsStateToTheProgram) {
    Probe dlg(uitest::SampleTemplate());
    dlg.CountAll();
    RunModal(dlg, [&](ui::ModalView& view) {
        view.Click(uitest::kPlainCheck);
        EXPECT_EQ(dlg.commands[uitest::kPlainCheck], 1);
        EXPECT_EQ(dlg.IsDlgButtonChecked(uitest::kPlainCheck), 0) << "a plain box does not toggle itself";
        dlg.CheckDlgButton(uitest::kPlainCheck, 1);
        view.Click(uitest::kPlainCheck);
        EXPECT_EQ(dlg.IsDlgButtonChecked(uitest::kPlainCheck), 1);

        view.Click(uitest::kAutoCheck);
        EXPECT_EQ(dlg.IsDlgButtonChecked(uitest::kAutoCheck), 1);
        view.Click(uitest::kAutoCheck);
        EXPECT_EQ(dlg.IsDlgButtonChecked(uitest::kAutoCheck), 0);
    });
}

TEST(Controls, RadioButtonsClearOnlyTheirOwnGroupRun) {
    Probe dlg(uitest::SampleTemplate());
    RunModal(dlg, [&](ui::ModalView& view) {
        const int all[] = {uitest::kRadioA1, uitest::kRadioA2, uitest::kRadioA3, uitest::kRadioB1,
                           uitest::kRadioB2, uitest::kRadioS1, uitest::kRadioS2};
        auto checked = [&] {
            std::vector<int> ids;
            for (int id : all) {
                if (dlg.IsDlgButtonChecked(id) != 0) {
                    ids.push_back(id);
                }
            }
            return ids;
        };
        // Checking by code touches the named button only.
        dlg.CheckDlgButton(uitest::kRadioA1, 1);
        dlg.CheckDlgButton(uitest::kRadioA3, 1);
        EXPECT_EQ(checked(), (std::vector<int>{uitest::kRadioA1, uitest::kRadioA3}));
        dlg.CheckDlgButton(uitest::kRadioA3, 0);
        EXPECT_EQ(checked(), (std::vector<int>{uitest::kRadioA1}));

        view.Click(uitest::kRadioB1);
        view.Click(uitest::kRadioA2);  // clears A1, leaves B1
        EXPECT_EQ(checked(), (std::vector<int>{uitest::kRadioA2, uitest::kRadioB1}));
        view.Click(uitest::kRadioA2);  // a checked radio stays checked
        EXPECT_EQ(dlg.IsDlgButtonChecked(uitest::kRadioA2), 1);

        // Buttons that each start a group: both end up checked.
        view.Click(uitest::kRadioS1);
        view.Click(uitest::kRadioS2);
        EXPECT_EQ(checked(), (std::vector<int>{uitest::kRadioA2, uitest::kRadioB1, uitest::kRadioS1,
                                               uitest::kRadioS2}));
    });
}

TEST(Controls, PlainRadioButtonDoesNotCheckItself) {
    ui::DialogTemplate t = uitest::SmallTemplate();
    ui::ControlTemplate r;
    r.id = 300;
    r.kind = ui::ControlKind::RadioButton;
    r.text = "Plain";
    r.rect = {5, 5, 50, 10};
    r.style = ui::CS_Group;
    t.controls.push_back(r);
    Probe dlg(t);
    int clicks = 0;
    dlg.MapCommand(300, [&] { ++clicks; });
    RunModal(dlg, [&](ui::ModalView& view) {
        view.Click(300);
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(dlg.IsDlgButtonChecked(300), 0);
    });
}

TEST(Controls, EditBoxKeepsTheExactTextAndCountsLines) {
    Probe dlg(uitest::SampleTemplate());
    RunModal(dlg, [&](ui::ModalView&) {
        EXPECT_EQ(dlg.GetDlgItemText(uitest::kLineEdit), "initial");
        EXPECT_EQ(dlg.GetDlgItemText(uitest::kReport), "");
        EXPECT_EQ(dlg.GetLineCount(uitest::kReport), 1);

        struct Step {
            bool append;
            const char* text;
            const char* whole;
            int lines;
        };
        const Step steps[] = {
            {false, "one\r\n", "one\r\n", 2},
            {true, "two\tx:\t y\r\n", "one\r\ntwo\tx:\t y\r\n", 3},
            {true, "three", "one\r\ntwo\tx:\t y\r\nthree", 3},
            {true, "\r\n\t\t ErrorCode = 1\r\n", "one\r\ntwo\tx:\t y\r\nthree\r\n\t\t ErrorCode = 1\r\n", 5},
            {false, "", "", 1},
            // The count follows appends; a "\r" and the "\n" appended after it
            // are one line end, a lone "\r" or "\n" is one too.
            {true, "a\r", "a\r", 2},
            {true, "\nb", "a\r\nb", 2},
            {true, "\n\r", "a\r\nb\n\r", 4},
            {true, "c", "a\r\nb\n\rc", 4},
            {false, "x\r\ny", "x\r\ny", 2},
            {true, "\r\n", "x\r\ny\r\n", 3},
        };
        for (const Step& s : steps) {
            SCOPED_TRACE(s.text);
            if (s.append) {
                dlg.AppendEditText(uitest::kReport, s.text);
            } else {
                dlg.SetDlgItemText(uitest::kReport, s.text);
            }
            EXPECT_EQ(dlg.GetDlgItemText(uitest::kReport), s.whole);
            EXPECT_EQ(dlg.GetLineCount(uitest::kReport), s.lines);
        }

        // The box shows lines, not "\r" characters.
        dlg.SetDlgItemText(uitest::kReport, "a\r\nb");
        auto* edit = qobject_cast<QPlainTextEdit*>(dlg.Item(uitest::kReport));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->toPlainText(), QStringLiteral("a\nb"));
        EXPECT_TRUE(edit->isReadOnly());
    });
}

TEST(Controls, LineScrollMovesTheViewByLines) {
    Probe dlg(uitest::SampleTemplate());
    RunModal(dlg, [&](ui::ModalView&) {
        std::string text;
        for (int i = 0; i < 60; ++i) {
            text += "line " + std::to_string(i) + "\r\n";
        }
        dlg.SetDlgItemText(uitest::kReport, text);
        ui::PumpEvents(0);
        EXPECT_EQ(dlg.GetFirstVisibleLine(uitest::kReport), 0);
        dlg.LineScroll(uitest::kReport, 5);
        EXPECT_EQ(dlg.GetFirstVisibleLine(uitest::kReport), 5);
        dlg.LineScroll(uitest::kReport, -2);
        EXPECT_EQ(dlg.GetFirstVisibleLine(uitest::kReport), 3);
        // Setting the text puts the view back at the top; appending does not.
        dlg.AppendEditText(uitest::kReport, "more\r\n");
        EXPECT_EQ(dlg.GetFirstVisibleLine(uitest::kReport), 3);
        dlg.SetDlgItemText(uitest::kReport, text);
        EXPECT_EQ(dlg.GetFirstVisibleLine(uitest::kReport), 0);
        // Scrolling to the end: the last line comes into view.
        dlg.LineScroll(uitest::kReport, dlg.GetLineCount(uitest::kReport) - 1);
        EXPECT_GT(dlg.GetFirstVisibleLine(uitest::kReport), 40);
    });
}

TEST(Controls, StatesOfTheTemplateAndByCode) {
    Probe dlg(uitest::SampleTemplate());
    RunModal(dlg, [&](ui::ModalView&) {
        EXPECT_FALSE(dlg.IsItemEnabled(uitest::kDisabledButton));
        EXPECT_TRUE(dlg.IsItemVisible(uitest::kDisabledButton));
        EXPECT_FALSE(dlg.IsItemVisible(uitest::kHiddenButton));
        EXPECT_TRUE(dlg.IsItemEnabled(uitest::kPush));
        dlg.EnableItem(uitest::kPush, false);
        dlg.ShowItem(uitest::kHiddenButton, true);
        EXPECT_FALSE(dlg.IsItemEnabled(uitest::kPush));
        EXPECT_TRUE(dlg.IsItemVisible(uitest::kHiddenButton));
        // The group box lies behind the radio buttons it frames.
        QWidget* w = dlg.Widget();
        EXPECT_LT(w->children().indexOf(dlg.Item(uitest::kGroup)), w->children().indexOf(dlg.Item(uitest::kRadioA1)));
        // Captions keep their '&' for the program; labels show it processed.
        EXPECT_EQ(dlg.GetDlgItemText(uitest::kPush), "&Push");
    });
}

struct NameRow {
    int id;
    const char* name;
};

// Row per control: the name given to assistive technology.
const NameRow kNameRows[] = {
    {uitest::kPush, "Push"},                // its caption, '&' removed
    {uitest::kAutoCheck, "Auto check"},
    {uitest::kGroup, "Choices"},
    {uitest::kLineEdit, "Name"},            // the label before it, colon dropped
    {uitest::kReport, "Test Report"},
    {uitest::kCombo, "Device name"},        // the template's own name
    {uitest::kList, "Test Report"},         // still the nearest label before it
};

TEST(Controls, AccessibleNames) {
    Probe dlg(uitest::SampleTemplate());
    RunModal(dlg, [&](ui::ModalView&) {
        EXPECT_EQ(dlg.Widget()->accessibleName().toStdString(), "Sample Dialog");
        for (const NameRow& row : kNameRows) {
            EXPECT_EQ(dlg.Item(row.id)->accessibleName().toStdString(), row.name) << "control " << row.id;
        }
    });
}

struct UnitRow {
    int du;
    int base;
    int divisor;
    int pixels;
};

// Row per conversion: du * base / divisor, rounded to the nearest pixel.
const UnitRow kUnitRows[] = {
    {0, 6, 4, 0}, {4, 6, 4, 6}, {1, 6, 4, 2}, {3, 7, 4, 5}, {8, 13, 8, 13},
    {1, 13, 8, 2}, {10, 13, 8, 16}, {-4, 6, 4, -6}, {-1, 6, 4, -2}, {324, 7, 4, 567},
};

TEST(DialogUnits, ConversionRoundsToTheNearestPixel) {
    for (const UnitRow& row : kUnitRows) {
        EXPECT_EQ(ui::DuToPixels(row.du, row.base, row.divisor), row.pixels)
            << row.du << " * " << row.base << " / " << row.divisor;
    }
}

TEST(DialogUnits, WindowAndControlsScaleWithTheDialogFont) {
    for (int points : {8, 10, 14}) {
        SCOPED_TRACE(points);
        ui::DialogTemplate t = uitest::SampleTemplate();
        t.pointSize = points;
        Probe dlg(t);
        const QFont font = ui::DialogFont(t);
        EXPECT_EQ(font.pointSize(), points);
        const ui::BaseUnits units = ui::BaseUnitsOf(font);
        const QFontMetrics fm(font);
        EXPECT_EQ(units.cy, fm.height());
        EXPECT_NEAR(units.cx, fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0, 0.5);
        EXPECT_EQ(dlg.DuToPixelsX(4), units.cx);
        EXPECT_EQ(dlg.DuToPixelsY(8), units.cy);
        RunModal(dlg, [&](ui::ModalView&) {
            EXPECT_EQ(dlg.ClientWidth(), dlg.DuToPixelsX(300));
            EXPECT_EQ(dlg.ClientHeight(), dlg.DuToPixelsY(220));
            const ui::Rect push = dlg.ItemRect(uitest::kPush);
            EXPECT_EQ(push, (ui::Rect{dlg.DuToPixelsX(240), dlg.DuToPixelsY(39), dlg.DuToPixelsX(50),
                                      dlg.DuToPixelsY(14)}));
        });
    }
}

}  // namespace
