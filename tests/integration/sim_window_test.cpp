// The simulated reader's own window next to the console: it opens with the
// device, its Swipe button delivers a card to the console while the console
// runs modally, and it closes with the device.
#include "integration_session.h"

#include "opos/simwindow/sim_reader_window.h"
#include "platform/ui/application.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QPointer>

namespace integration {
namespace {

simwindow::SimReaderWindow* FindSimWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* sim = dynamic_cast<simwindow::SimReaderWindow*>(w); sim != nullptr && sim->isVisible()) {
            return sim;
        }
    }
    return nullptr;
}

TEST_F(IntegrationTest, SimReaderWindowOpensWithDeviceSwipesIntoConsoleAndCloses)
{
    simwindow::InstallSimReaderWindow();
    Run([&](CMsrTestDlg& d) {
        ASSERT_EQ(FindSimWindow(), nullptr) << "no window before the device is open";
        Press(1000);
        ASSERT_TRUE(WaitUntil([] { return FindSimWindow() != nullptr; }, 2000)) << "the reader's window never opened";
        QPointer<simwindow::SimReaderWindow> window = FindSimWindow();
        for (const char* name : {"cards", "swipe", "badSwipe", "unplug", "plug"}) {
            EXPECT_NE(window->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
        }
        auto* cards = window->findChild<QListWidget*>(QStringLiteral("cards"));
        ASSERT_NE(cards, nullptr);
        EXPECT_EQ(cards->count(), static_cast<int>(opos::BuiltInTestCards().size()));

        Press(1001);
        TickControlPage(kCheckDeviceEnabled);
        ASSERT_TRUE(ReportHas("SetDeviceEnabled", "Succeeded!")) << Report();

        // The window is usable while the console runs modally.
        cards->setCurrentRow(3);
        const opos::TestCard edited = window->EditedCard();
        EXPECT_EQ(edited.tracks, Card(3).tracks);
        auto* swipe = window->findChild<QAbstractButton*>(QStringLiteral("swipe"));
        ASSERT_NE(swipe, nullptr);
        ASSERT_TRUE(swipe->isEnabled());
        swipe->click();
        ASSERT_TRUE(WaitUntil([&] { return ReportHas("OnMsrDataEvent", "DataEvent is received."); }, 3000))
            << Report() << "\nwindow status: " << window->StatusText().toStdString();
        EXPECT_EQ(d.Page(CMsrTestDlg::kTrackData)->GetDlgItemText(kTrack1Data), edited.tracks[0]);
        EXPECT_EQ(d.Page(CMsrTestDlg::kTrackData)->GetDlgItemText(kTrack2Data), edited.tracks[1]);
        EXPECT_EQ(d.Page(CMsrTestDlg::kParsedData)->GetDlgItemText(kSurname), "CHAN");

        Press(1006);
        ASSERT_TRUE(ReportHas("Close", "Succeeded!")) << Report();
        EXPECT_TRUE(WaitUntil([&] { return window.isNull() || !window->isVisible(); }, 2000))
            << "the reader's window stayed open after Close";
        EXPECT_EQ(FindSimWindow(), nullptr);
    });
}

}  // namespace
}  // namespace integration
