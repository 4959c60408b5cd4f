// The operator seam and what runs inside modal loops: message boxes, the
// watchdog for modals nobody answers, timers that keep firing inside a nested
// box, the hosted control that cannot be created, and the system menu.
#include "ui/ui_test_util.h"

#include "platform/com/class_table.h"
#include "platform/com/ui_thread.h"
#include "platform/ui/application.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMessageBox>
#include <QWidget>

#include <thread>

namespace {

using uitest::Probe;
using uitest::RunModal;

// Restores the seam's patience when a test ends.
class PatienceGuard {
public:
    explicit PatienceGuard(int ms) : saved_(ui::Operator::PatienceMs()) { ui::Operator::SetPatienceMs(ms); }
    ~PatienceGuard() { ui::Operator::SetPatienceMs(saved_); }

private:
    int saved_;
};

struct BoxRow {
    const char* name;
    std::function<void(ui::ModalView&)> answer;
};

// Row per way of dismissing a message box: each returns OK.
const BoxRow kBoxRows[] = {
    {"OK button", [](ui::ModalView& v) { v.ClickButton("OK"); }},
    {"Click(IDOK)", [](ui::ModalView& v) { v.Click(ui::IDOK); }},
    {"Enter", [](ui::ModalView& v) { v.PressEnter(); }},
    {"Escape", [](ui::ModalView& v) { v.PressEscape(); }},
    {"close box", [](ui::ModalView& v) { v.CloseBox(); }},
};

TEST(MessageBoxes, CaptionTextIconAndResultWhateverDismissesThem) {
    for (const BoxRow& row : kBoxRows) {
        SCOPED_TRACE(row.name);
        Probe owner(uitest::SmallTemplate());
        int result = 0;
        owner.MapCommand(ui::IDOK, [&] {
            result = ui::MessageBox(&owner, "Line one\r\nLine <two>", ui::MB_ICONEXCLAMATION);
        });
        testsupport::OperatorScript script;
        script.Then([](ui::ModalView& v) { v.Click(ui::IDOK); })
            .Then([&](ui::ModalView& v) {
                EXPECT_EQ(v.Kind(), ui::ModalKind::MessageBox);
                EXPECT_EQ(v.Caption(), ui::AppName());
                EXPECT_EQ(v.Text(), "Line one\r\nLine <two>");
                auto* box = qobject_cast<QMessageBox*>(v.Widget());
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->icon(), QMessageBox::Warning);
                EXPECT_EQ(box->parentWidget(), owner.Widget());
                row.answer(v);
                EXPECT_FALSE(box->isVisible());
                owner.EndDialog(5);
            });
        EXPECT_EQ(owner.DoModal(), 5);
        EXPECT_EQ(result, ui::IDOK);
    }
}

TEST(MessageBoxes, ExpectMessageBoxStepAndExplicitCaption) {
    testsupport::OperatorScript script;
    script.Then(testsupport::ExpectMessageBox("Hello")).Then([](ui::ModalView& v) {
        EXPECT_EQ(v.Caption(), "Other");
        v.ClickButton("OK");
    });
    EXPECT_EQ(ui::MessageBox(nullptr, "Hello", ui::MB_ICONSTOP), ui::IDOK);
    EXPECT_EQ(ui::MessageBox(nullptr, "Hi", "Other", ui::MB_OK), ui::IDOK);
    script.Finish();
    EXPECT_EQ(script.Seen().size(), 2u);
}

TEST(Watchdog, ModalLeftOpenAfterItsAnswerIsClosedAndRecorded) {
    PatienceGuard patience(100);
    Probe dlg(uitest::SmallTemplate("Never Answered"));
    int answers = 0;
    ui::Operator::Install([&](ui::ModalView&) { ++answers; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_LT(clock.elapsed(), 3000);
    ui::Operator::Remove();
    EXPECT_EQ(answers, 1);
    const auto failures = ui::Operator::TakeFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("Never Answered"), std::string::npos) << failures[0];
    EXPECT_NE(failures[0].find("100 ms"), std::string::npos) << failures[0];
    EXPECT_TRUE(ui::Operator::TakeFailures().empty()) << "taking clears them";
}

TEST(Watchdog, ModalWithNoResponderWhileArmedIsClosedAtOnce) {
    // The test main arms the seam; with no responder every modal fails.
    ASSERT_FALSE(ui::Operator::Installed());
    EXPECT_EQ(ui::MessageBox(nullptr, "Nobody reads this"), ui::IDOK);
    Probe dlg(uitest::SmallTemplate("Unwatched"));
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    const auto failures = ui::Operator::TakeFailures();
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_NE(failures[0].find("Nobody reads this"), std::string::npos) << failures[0];
    EXPECT_NE(failures[1].find("Unwatched"), std::string::npos) << failures[1];
}

TEST(Watchdog, ScriptWithNoStepLeftFailsAndClosesTheModal) {
    PatienceGuard patience(100);
    // The script's own failure is expected here: check it was reported.
    testing::TestPartResultArray results;
    {
        testing::ScopedFakeTestPartResultReporter reporter(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        testsupport::OperatorScript script;
        script.Then(testsupport::ClickOk());
        EXPECT_EQ(ui::MessageBox(nullptr, "first"), ui::IDOK);
        EXPECT_EQ(ui::MessageBox(nullptr, "second"), ui::IDOK);
        script.Finish();
    }
    ASSERT_EQ(results.size(), 1);
    EXPECT_NE(std::string(results.GetTestPartResult(0).message()).find("second"), std::string::npos);
}

TEST(Timers, KeepFiringInsideANestedMessageBox) {
    Probe dlg(uitest::SampleTemplate());
    dlg.onInit = [](Probe& p) {
        p.SetTimer(10, 20);
        p.SetTimer(11, 20);
        p.KillTimer(11);
    };
    int ticksInsideBox = 0;
    testsupport::OperatorScript script;
    script.Then([&](ui::ModalView&) {
              EXPECT_TRUE(dlg.HasTimer(10));
              EXPECT_FALSE(dlg.HasTimer(11));
              ui::MessageBox(&dlg, "waiting");
              dlg.EndDialog(1);
          })
        .Then([&](ui::ModalView& box) {
            const int before = dlg.timerTicks[10];
            ui::PumpEvents(150);
            ticksInsideBox = dlg.timerTicks[10] - before;
            box.ClickButton("OK");
        });
    dlg.DoModal();
    EXPECT_GE(ticksInsideBox, 3);
    EXPECT_EQ(dlg.timerTicks.count(11), 0u);
    EXPECT_FALSE(dlg.HasTimer(10)) << "timers die with the window";
}

TEST(Timers, StopWhenTheWindowIsDestroyedInsideItsOwnRun) {
    // The window of a running modal is deleted only once its loop has
    // returned; its timers must not tick in between.
    Probe dlg(uitest::SmallTemplate());
    int ticksBefore = 0;
    int ticksAfter = 0;
    const int result = RunModal(dlg, [&](ui::ModalView&) {
        dlg.SetTimer(10, 10);
        ui::PumpEvents(60);
        ticksBefore = dlg.timerTicks[10];
        dlg.DestroyWindow();
        ui::PumpEvents(60);
        ticksAfter = dlg.timerTicks[10];
    });
    EXPECT_EQ(result, ui::IDCANCEL);
    EXPECT_GE(ticksBefore, 2) << "the timer ran while the window lived";
    EXPECT_EQ(ticksAfter, ticksBefore);
    EXPECT_FALSE(dlg.IsWindow());
}

TEST(Timers, PostedDeviceEventsRunInsideModalLoops) {
    Probe dlg(uitest::SmallTemplate());
    bool ran = false;
    RunModal(dlg, [&](ui::ModalView&) {
        std::thread device([&] { com::PostToUiThread([&] { ran = true; }); });
        device.join();
        for (int i = 0; i < 50 && !ran; ++i) {
            ui::PumpEvents(10);
        }
    });
    EXPECT_TRUE(ran);
}

// A do-nothing automation object for the hosted control.
class NullControl : public com::IDispatch {
public:
    com::HResult Invoke(std::int32_t, com::InvokeKind, std::span<const com::Variant>, com::Variant*) override {
        return com::S_OK;
    }
    void Advise(com::IEventSink* sink) override { lastSink = sink; }
    com::IEventSink* lastSink = reinterpret_cast<com::IEventSink*>(1);
};

TEST(HostedControl, MissingClassMeansNoWindowAndNoInitialisation) {
    com::ClassTable::Instance().Unregister(uitest::kTestClsid);
    Probe dlg(uitest::SampleTemplate(true));
    testsupport::OperatorScript script;  // no modal may appear
    EXPECT_EQ(dlg.DoModal(), -1);
    script.Finish();
    EXPECT_TRUE(script.Seen().empty());
    EXPECT_EQ(dlg.inits, 0);
    EXPECT_FALSE(dlg.IsWindow());
}

TEST(HostedControl, CreatedByClsidAndReleasedFromItsSinkWithTheWindow) {
    NullControl* created = nullptr;
    com::ClassTable::Instance().Register(uitest::kTestClsid, [&created] {
        auto c = std::make_unique<NullControl>();
        created = c.get();
        return std::unique_ptr<com::IDispatch>(std::move(c));
    });
    {
        Probe dlg(uitest::SampleTemplate(true));
        RunModal(dlg, [&](ui::ModalView&) {
            ASSERT_NE(created, nullptr);
            EXPECT_EQ(dlg.HostedControl(uitest::kHosted), created);
            EXPECT_EQ(dlg.HostedControl(uitest::kPush), nullptr);
            EXPECT_TRUE(dlg.IsItemVisible(uitest::kHosted));
            EXPECT_EQ(dlg.Item(uitest::kHosted)->accessibleName().toStdString(), "Reader");
        });
        EXPECT_EQ(dlg.inits, 1);
        ASSERT_NE(dlg.HostedControl(uitest::kHosted), nullptr) << "kept until the dialog object goes";
        EXPECT_EQ(created->lastSink, nullptr) << "unadvised when the window went";
    }
    com::ClassTable::Instance().Unregister(uitest::kTestClsid);
}

struct MenuRow {
    const char* name;
    std::function<void(ui::Dialog&)> open;
    const char* choice;
    unsigned command;
    int result;  // of the modal run
};

// Row per way of opening the system menu and item chosen.
const MenuRow kMenuRows[] = {
    {"Alt+Space, program item", [](ui::Dialog& d) { ui::act::OpenSystemMenu(d); }, "&About Strivo...", 16u, 77},
    {"right click, Close", [](ui::Dialog& d) { ui::act::RightClickBackground(d); }, "&Close", ui::SC_CLOSE, 2},
    {"Alt+Space, Minimize", [](ui::Dialog& d) { ui::act::OpenSystemMenu(d); }, "Mi&nimize", ui::SC_MINIMIZE, 77},
};

TEST(SystemMenu, StandardItemsPlusAppendedOnesRouteToOnSysCommand) {
    for (const MenuRow& row : kMenuRows) {
        SCOPED_TRACE(row.name);
        Probe dlg(uitest::SampleTemplate());
        dlg.AppendSystemMenuSeparator();
        dlg.AppendSystemMenuItem(16, "&About Strivo...");
        std::vector<std::string> items;
        testsupport::OperatorScript script;
        script
            .Then([&](ui::ModalView&) {
                row.open(dlg);
                if (row.command == ui::SC_MINIMIZE) {
                    EXPECT_TRUE(dlg.IsIconic());
                }
                if (dlg.Widget()->isVisible()) {
                    dlg.EndDialog(77);
                }
            })
            .Then([&](ui::ModalView& menu) {
                EXPECT_EQ(menu.Kind(), ui::ModalKind::Menu);
                EXPECT_EQ(menu.Caption(), "Sample Dialog");
                items = menu.MenuItems();
                menu.ChooseMenuItem(row.choice);
            });
        const int result = dlg.DoModal();
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(items, (std::vector<std::string>{"&Restore", "&Move", "Mi&nimize", "", "&Close", "",
                                                   "&About Strivo..."}));
        EXPECT_EQ(dlg.sysCommands, std::vector<unsigned>{row.command});
    }
}

TEST(SystemMenu, MenuClosedUnchosenSendsNothing) {
    Probe dlg(uitest::SampleTemplate());
    testsupport::OperatorScript script;
    script
        .Then([&](ui::ModalView&) {
            ui::act::OpenSystemMenu(dlg);
            dlg.EndDialog(3);
        })
        .Then([](ui::ModalView& menu) { menu.PressEscape(); });
    EXPECT_EQ(dlg.DoModal(), 3);
    EXPECT_TRUE(dlg.sysCommands.empty());
}

}  // namespace
