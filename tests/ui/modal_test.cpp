// Modal runs of template dialogs: how each way of closing a dialog ends its
// run, command routing of 1 and 2, and the first focus.
#include "ui/ui_test_util.h"

#include "platform/ui/dialog_template.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

namespace {

using uitest::Probe;
using uitest::RunModal;

struct CloseRow {
    const char* name;
    bool mapCancel;        // command 2 mapped to a handler that ends with 55
    bool focusPush;        // the "Push" button has the focus
    std::function<void(ui::ModalView&, ui::Dialog&)> act;
    int expected;
};

// Row per way of ending a modal run.
const CloseRow kCloseRows[] = {
    {"click OK (unmapped: OnOK)", false, false, [](ui::ModalView& v, ui::Dialog&) { v.Click(ui::IDOK); }, 1},
    {"click Cancel (unmapped: OnCancel)", false, false, [](ui::ModalView& v, ui::Dialog&) { v.Click(ui::IDCANCEL); }, 2},
    {"Enter goes to the default button", false, false, [](ui::ModalView& v, ui::Dialog&) { v.PressEnter(); }, 1},
    {"Enter on a focused push button", false, true, [](ui::ModalView& v, ui::Dialog&) { v.PressEnter(); }, 42},
    {"Escape sends 2", false, false, [](ui::ModalView& v, ui::Dialog&) { v.PressEscape(); }, 2},
    {"close box sends 2", false, false, [](ui::ModalView& v, ui::Dialog&) { v.CloseBox(); }, 2},
    {"Escape to a mapped 2", true, false, [](ui::ModalView& v, ui::Dialog&) { v.PressEscape(); }, 55},
    {"close box to a mapped 2", true, false, [](ui::ModalView& v, ui::Dialog&) { v.CloseBox(); }, 55},
    {"mapped button ends with its value", false, false, [](ui::ModalView& v, ui::Dialog&) { v.Click(uitest::kPush); }, 42},
    {"ClickButton by caption", false, false, [](ui::ModalView& v, ui::Dialog&) { v.ClickButton("Cancel"); }, 2},
    {"disabled button cannot be clicked", false, false,
     [](ui::ModalView& v, ui::Dialog&) { v.Click(uitest::kDisabledButton); }, 77},
    {"hidden button cannot be clicked", false, false,
     [](ui::ModalView& v, ui::Dialog&) { v.Click(uitest::kHiddenButton); }, 77},
    {"EndDialog from the operator step", false, false, [](ui::ModalView&, ui::Dialog& d) { d.EndDialog(-5); }, -5},
};

TEST(ModalRun, EachWayOfClosingEndsTheRunWithItsValue) {
    for (const CloseRow& row : kCloseRows) {
        SCOPED_TRACE(row.name);
        Probe dlg(uitest::SampleTemplate());
        dlg.MapCommand(uitest::kPush, [&dlg] { dlg.EndDialog(42); });
        dlg.MapCommand(uitest::kDisabledButton, [&dlg] { dlg.EndDialog(43); });
        dlg.MapCommand(uitest::kHiddenButton, [&dlg] { dlg.EndDialog(44); });
        if (row.mapCancel) {
            dlg.MapCommand(ui::IDCANCEL, [&dlg] { dlg.EndDialog(55); });
        }
        const int result = RunModal(dlg, [&](ui::ModalView& view) {
            EXPECT_EQ(view.Kind(), ui::ModalKind::Dialog);
            EXPECT_EQ(view.AsDialog(), &dlg);
            EXPECT_EQ(view.TemplateId(), 900);
            EXPECT_EQ(view.Caption(), "Sample Dialog");
            EXPECT_TRUE(dlg.IsWindowVisible());
            if (row.focusPush) {
                dlg.SetFocusTo(uitest::kPush);
            }
            row.act(view, dlg);
        });
        EXPECT_EQ(result, row.expected);
        EXPECT_FALSE(dlg.IsWindow()) << "the window is destroyed when the run ends";
        EXPECT_EQ(dlg.inits, 1);
    }
}

TEST(ModalRun, EnterWithoutDefaultButtonSendsOkAndDisabledDefaultDoesNothing) {
    ui::DialogTemplate t = uitest::SmallTemplate();
    t.controls[0].style &= ~ui::CS_DefaultButton;  // no default button at all
    Probe plain(t);
    int oks = 0;
    plain.MapCommand(ui::IDOK, [&] { ++oks; plain.EndDialog(9); });
    EXPECT_EQ(RunModal(plain, [](ui::ModalView& v) { v.PressEnter(); }), 9);
    EXPECT_EQ(oks, 1);

    Probe disabled(uitest::SmallTemplate());
    disabled.onInit = [](Probe& p) { p.EnableItem(ui::IDOK, false); };
    EXPECT_EQ(RunModal(disabled, [&](ui::ModalView& v) {
                  disabled.Widget()->setFocus();  // no push button focused
                  v.PressEnter();
              }),
              77);
}

TEST(ModalRun, EndDialogDuringInitialisationNeverShowsTheWindow) {
    Probe dlg(uitest::SmallTemplate());
    dlg.onInit = [](Probe& p) { p.EndDialog(13); };
    testsupport::OperatorScript script;  // no steps: no modal may appear
    EXPECT_EQ(dlg.DoModal(), 13);
    script.Finish();
    EXPECT_TRUE(script.Seen().empty());
}

TEST(ModalRun, FocusStartsOnTheFirstTabStopOrWhereInitialisationPutIt) {
    Probe first(uitest::SampleTemplate());
    RunModal(first, [&](ui::ModalView&) { EXPECT_EQ(first.FocusedId(), ui::IDOK); });

    Probe chosen(uitest::SampleTemplate());
    chosen.initReturn = false;
    chosen.onInit = [](Probe& p) { p.SetFocusTo(uitest::kPush); };
    RunModal(chosen, [&](ui::ModalView&) { EXPECT_EQ(chosen.FocusedId(), uitest::kPush); });
}

TEST(ModalRun, TabOrderFollowsTheTemplate) {
    Probe dlg(uitest::SampleTemplate());
    RunModal(dlg, [&](ui::ModalView&) {
        // From OK, the chain visits the focusable controls in template order.
        const int expected[] = {ui::IDCANCEL, uitest::kPush, uitest::kPlainCheck, uitest::kAutoCheck,
                                uitest::kRadioA1};
        QWidget* w = dlg.Item(ui::IDOK);
        for (int id : expected) {
            w = w->nextInFocusChain();
            while (w->focusPolicy() == Qt::NoFocus || w->parentWidget() != dlg.Widget()) {
                w = w->nextInFocusChain();
            }
            EXPECT_EQ(w, dlg.Item(id)) << "expected control " << id;
        }
    });
}

TEST(ModalRun, NestedModalsRunInsideTheirOwner) {
    Probe outer(uitest::SampleTemplate());
    Probe inner(uitest::SmallTemplate("Inner"), &outer);
    int innerResult = 0;
    outer.MapCommand(uitest::kPush, [&] { innerResult = inner.DoModal(); });
    testsupport::OperatorScript script;
    script.Then([&](ui::ModalView& v) {
              v.Click(uitest::kPush);
              EXPECT_EQ(innerResult, 2);
              v.Click(ui::IDOK);
          })
        .Then([&](ui::ModalView& v) {
            EXPECT_EQ(v.Caption(), "Inner");
            EXPECT_EQ(inner.Widget()->parentWidget(), outer.Widget());
            v.PressEscape();
        });
    EXPECT_EQ(outer.DoModal(), 1);
}

}  // namespace
