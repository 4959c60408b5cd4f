// The main window itself: its start-up state and layout, tab switching,
// the ways out (Exit, Escape, close box), the About box of the system menu,
// a control that cannot be created, the page refresh order and the timer.
#include "console_session.h"

#include "msr/msr_dispids.h"
#include "msr/opos_constants.h"
#include "pages/tab_page_control.h"
#include "pages/tab_page_description.h"
#include "pages/tab_page_track_data.h"
#include "platform/ui/application.h"
#include "res/main_dialog_res.h"

#include <QWidget>

#include <algorithm>

namespace {

using consoletest::ConsoleTest;
using consoletest::Step;

bool Overlaps(const ui::Rect& a, const ui::Rect& b)
{
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

bool Inside(const ui::Rect& inner, const ui::Rect& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.cx <= outer.x + outer.cx &&
           inner.y + inner.cy <= outer.y + outer.cy;
}

// Where the shown page must be: 10 px right of the tab control, 10 px below
// its row of tabs.
ui::Rect PageSpot(const CMsrTestDlg& d)
{
    const ui::Rect tab = d.ItemRect(res::IDC_PROPERTY_TAB);
    const ui::Rect item = d.GetTabItemRect(res::IDC_PROPERTY_TAB, 0);
    return ui::Rect{tab.x + 10, tab.y + item.cy + 10, 0, 0};
}

TEST_F(ConsoleTest, StartsWithControlTabFocusOnClearReportAndDescriptionFilled)
{
    script->SetString(msrdisp::DeviceControlDescription, "Stand-in MSR control");
    script->SetI4(msrdisp::DeviceControlVersion, 1012003);
    script->SetI4(msrdisp::State, OPOS_S_CLOSED);
    script->SetString(msrdisp::Track1Data, "never shown before a refresh");

    Run([&](CMsrTestDlg& d) {
        EXPECT_EQ(d.Caption(), "Quellor USB Mini MSR OPOS Test  Program 2.51");
        ASSERT_EQ(d.GetTabCount(res::IDC_PROPERTY_TAB), 5);
        const char* const tabs[] = {"Description", "Control", "Track Control", "Track Data", "Parsed Data"};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(d.GetTabText(res::IDC_PROPERTY_TAB, i), tabs[i]);
            ASSERT_NE(d.Page(i), nullptr);
            EXPECT_EQ(d.Page(i)->IsWindowVisible(), i == CMsrTestDlg::kControl) << "page " << i;
        }
        EXPECT_EQ(d.GetTabCurSel(res::IDC_PROPERTY_TAB), CMsrTestDlg::kControl);
        EXPECT_EQ(d.CurrentPage(), d.Page(CMsrTestDlg::kControl));

        const ui::Rect spot = PageSpot(d);
        const ui::Rect page = d.CurrentPage()->GetWindowPlacement().rect;
        EXPECT_EQ(page.x, spot.x);
        EXPECT_EQ(page.y, spot.y);
        EXPECT_TRUE(Inside(page, d.ItemRect(res::IDC_PROPERTY_TAB))) << "the page must fit the tab control";

        EXPECT_EQ(d.FocusedId(), res::IDC_CLEAR_REPORT);
        EXPECT_EQ(d.GetDlgItemText(res::IDC_REPORT), "");

        // Only the control's description and the state are filled at start.
        EXPECT_EQ(d.PageDescription()->GetDlgItemText(1038), "Stand-in MSR control");
        EXPECT_EQ(d.PageControl()->GetDlgItemText(1033), "CLOSED");
        EXPECT_EQ(d.PageTrackData()->GetDlgItemText(1028), "");
        EXPECT_TRUE(script->CallsExceptGets().empty());
        EXPECT_EQ(GetsOf(msrdisp::Track1Data), 0);
        EXPECT_TRUE(script->Advised());
    });
}

TEST_F(ConsoleTest, TemplateStatesAndLayout)
{
    Run([&](CMsrTestDlg& d) {
        struct Row {
            int id;
            const char* text;
            bool enabled;
            bool visible;
        };
        const Row rows[] = {
            {res::IDC_CLEAR_REPORT, "Clear Report", true, true},
            {res::IDC_EXIT, "Exit", true, true},
            {res::IDC_OPEN, "Open", true, true},
            {res::IDC_CLAIM, "Claim", true, true},
            {res::IDC_CHECK_HEALTH, "CheckHealth...", true, true},
            {res::IDC_CLEAR_INPUT, "ClearInput", true, true},
            {res::IDC_DIRECT_IO, "DirectIO...", false, true},
            {res::IDC_RELEASE, "Release", true, true},
            {res::IDC_CLOSE, "Close", true, true},
            {res::IDC_DEFAULT_TEST, "DefaultTest", false, true},
            {res::IDC_TEMP, "Temp", true, false},
            {res::IDC_SAVE_REPORT, "Save Report...", true, true},
            {res::IDC_CREATE_THREAD, "Creat Thread", true, false},
        };
        for (const Row& r : rows) {
            SCOPED_TRACE(r.text);
            EXPECT_EQ(d.GetDlgItemText(r.id), r.text);
            EXPECT_EQ(d.IsItemEnabled(r.id), r.enabled);
            EXPECT_EQ(d.IsItemVisible(r.id), r.visible);
        }
        EXPECT_FALSE(d.IsItemVisible(res::IDC_DEVICE_NAME));
        // The six template items (shown in the list's own sorted order).
        std::vector<std::string> items;
        for (int i = 0; i < d.GetCount(res::IDC_DEVICE_NAME); ++i) {
            items.push_back(d.GetItemString(res::IDC_DEVICE_NAME, i));
        }
        std::sort(items.begin(), items.end());
        EXPECT_EQ(items, (std::vector<std::string>{"PS/2 KB: QUELLOR_MINI_PS/2KB", "RS232: QUELLOR_MINI_RS232",
                                                   "USB CDC: QUELLOR_MINI_USBCDC", "USB HID KB: QUELLORMiniMSR",
                                                   "USB HID KB: QUELLOR_MINI_USBKB", "USB HID: QUELLOR_MINI_USBHID"}));
        EXPECT_TRUE(d.IsItemVisible(res::IDC_MSR));
        ASSERT_NE(d.Item(res::IDC_REPORT), nullptr);
        EXPECT_EQ(d.Item(res::IDC_REPORT)->accessibleName().toStdString(), "Test Report");

        // No two controls overlap (hidden ones included) and none is clipped.
        const ui::Rect client{0, 0, d.ClientWidth(), d.ClientHeight()};
        std::vector<std::pair<int, ui::Rect>> laid;
        for (const ui::ControlTemplate& c : d.Template().controls) {
            if (c.id == ui::IDC_STATIC) {
                continue;
            }
            const ui::Rect r = d.ItemRect(c.id);
            EXPECT_TRUE(Inside(r, client)) << "control " << c.id << " clipped";
            for (const auto& [otherId, other] : laid) {
                EXPECT_FALSE(Overlaps(r, other)) << "controls " << c.id << " and " << otherId;
            }
            laid.emplace_back(c.id, r);
        }
        // The method column runs top to bottom in command order.
        const int order[] = {res::IDC_OPEN,          res::IDC_CLAIM,     res::IDC_CHECK_HEALTH,
                             res::IDC_CLEAR_INPUT,   res::IDC_CREATE_THREAD, res::IDC_DIRECT_IO,
                             res::IDC_RELEASE,       res::IDC_CLOSE};
        for (std::size_t i = 1; i < std::size(order); ++i) {
            EXPECT_LT(d.ItemRect(order[i - 1]).y, d.ItemRect(order[i]).y);
        }
        // The report spans the width below the tab control.
        EXPECT_GT(d.ItemRect(res::IDC_REPORT).y, d.ItemRect(res::IDC_PROPERTY_TAB).y);
    });
}

TEST_F(ConsoleTest, TabSwitchingKeepsPagesInPlace)
{
    Run([&](CMsrTestDlg& d) {
        const ui::Rect spot = PageSpot(d);
        const int sequence[] = {0, 2, 3, 4, 1, 4, 0, 1};
        for (int index : sequence) {
            SCOPED_TRACE(index);
            ui::act::SelectTab(d, res::IDC_PROPERTY_TAB, index);
            ASSERT_EQ(d.CurrentPage(), d.Page(index));
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(d.Page(i)->IsWindowVisible(), i == index) << "page " << i;
            }
            const ui::Rect r = d.CurrentPage()->GetWindowPlacement().rect;
            EXPECT_EQ(r.x, spot.x);
            EXPECT_EQ(r.y, spot.y);
            EXPECT_TRUE(Inside(r, d.ItemRect(res::IDC_PROPERTY_TAB)));
        }
    });
}

// Each way out ends the run with 2; while the device is open the Close
// command runs first, and a failed close does not keep the window open.
TEST_F(ConsoleTest, ExitEscapeAndCloseBoxEndTheRun)
{
    enum class How { ExitButton, Escape, CloseBox };
    struct Row {
        const char* name;
        How how;
        bool open;
        std::int32_t closeRc;
    };
    const Row rows[] = {
        {"Exit, closed", How::ExitButton, false, 0},
        {"Escape, closed", How::Escape, false, 0},
        {"close box, closed", How::CloseBox, false, 0},
        {"Exit, open", How::ExitButton, true, 0},
        {"Escape, open", How::Escape, true, 0},
        {"close box, open", How::CloseBox, true, 0},
        {"Exit, open, close fails", How::ExitButton, true, OPOS_E_ILLEGAL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        script->SetMethodResult(msrdisp::Close, row.closeRc);
        script->ClearCalls();
        std::vector<Step> answers;
        if (row.closeRc != 0) {
            answers.push_back(Box("Could not close the device. Some error occurs!"));
        }
        std::string report;
        const int result = Run(
            [&](CMsrTestDlg& d) {
                if (row.open) {
                    d.OnOpenDevice();
                }
                d.OnClearReport();
                switch (row.how) {
                case How::ExitButton:
                    ui::act::Click(d, res::IDC_EXIT);
                    break;
                case How::Escape:
                    ui::act::PressEscape(d);
                    break;
                case How::CloseBox:
                    ui::act::CloseBox(d);
                    break;
                }
                ui::PumpEvents(0);
                report = Report();
            },
            answers);
        EXPECT_EQ(result, ui::IDCANCEL);
        int closes = 0;
        for (const auto& c : script->CallsExceptGets()) {
            closes += c.dispid == msrdisp::Close ? 1 : 0;
        }
        EXPECT_EQ(closes, row.open ? 1 : 0);
        if (row.open) {
            const std::string last = row.closeRc == 0 ? "T\tClose:\tSucceeded!\r\n" : "T\tClose:\tFailed!\r\n";
            EXPECT_EQ(report, "T\tClose:\t...\r\nT\tClose:\tSet DeviceEnabled to FALSE;\r\nT\tClose:\tRelease...\r\n" + last);
        } else {
            EXPECT_EQ(report, "");
        }
    }
}

TEST_F(ConsoleTest, SystemMenuShowsAboutBox)
{
    bool aboutShown = false;
    Run(
        [&](CMsrTestDlg& d) { ui::act::OpenSystemMenu(d); },
        {
            [](ui::ModalView& menu) {
                ASSERT_EQ(menu.Kind(), ui::ModalKind::Menu);
                const auto items = menu.MenuItems();
                ASSERT_GE(items.size(), 2u);
                EXPECT_EQ(items[items.size() - 2], "");
                EXPECT_EQ(items.back(), "&About Strivo...");
                menu.ChooseMenuItem("&About Strivo...");
            },
            [&](ui::ModalView& about) {
                aboutShown = true;
                EXPECT_EQ(about.TemplateId(), 100);
                about.PressEscape();
            },
        });
    EXPECT_TRUE(aboutShown);
}

TEST_F(ConsoleTest, ControlCreationFailureEndsWithoutWindow)
{
    testsupport::UnregisterStandInMsr();
    // No step: any modal shown (the window included) fails the test.
    testsupport::OperatorScript noModal;
    CMsrTestDlg window(nullptr);
    EXPECT_EQ(window.DoModal(), -1);
    noModal.Finish();
    EXPECT_TRUE(noModal.Seen().empty());
    EXPECT_FALSE(window.IsWindow());
    EXPECT_EQ(window.Page(0), nullptr) << "initialisation must not have run";
}

// One RefreshAllPages reads the status pages' properties in page order and
// then the data pages' fields; TracksToRead is never among them.
TEST_F(ConsoleTest, RefreshReadsPagesInOrder)
{
    Run([&](CMsrTestDlg& d) {
        script->ClearCalls();
        d.RefreshAllPages();
        std::vector<std::int32_t> gets;
        for (const auto& c : script->Calls()) {
            EXPECT_EQ(c.kind, com::InvokeKind::PropertyGet);
            gets.push_back(c.dispid);
        }
        using namespace msrdisp;
        const std::vector<std::int32_t> status = {
            DeviceControlDescription, DeviceControlVersion, DeviceServiceDescription, DeviceServiceVersion,
            PhysicalDeviceDescription, PhysicalDeviceName, Claimed, AutoDisable, DeviceEnabled,
            FreezeEvents, DataEventEnabled, CapPowerReporting, PowerNotify, PowerState, State, DataCount,
            CheckHealthText, CapISO, CapJISOne, CapJISTwo, CapTransmitSentinels, DecodeData,
            ParseDecodeData, TransmitSentinels, ErrorReportingType, BinaryConversion,
        };
        std::vector<std::int32_t> data = {
            Track1Data, Track1DiscretionaryData, Track2Data, Track2DiscretionaryData, Track3Data, Track4Data,
            AccountNumber, ExpirationDate, FirstName, MiddleInitial, ServiceCode, Suffix, Surname, Title,
        };
        ASSERT_EQ(gets.size(), 40u);
        EXPECT_EQ(std::vector<std::int32_t>(gets.begin(), gets.begin() + 26), status);
        std::vector<std::int32_t> tail(gets.begin() + 26, gets.end());
        std::sort(tail.begin(), tail.end());
        std::sort(data.begin(), data.end());
        EXPECT_EQ(tail, data);
    });
}

// Timer 10 runs exactly from a successful Open to a successful Close, and a
// tick refreshes only while the device is open.
TEST_F(ConsoleTest, RefreshTimerRunsWhileOpen)
{
    Run(
        [&](CMsrTestDlg& d) {
            EXPECT_FALSE(d.HasTimer(CMsrTestDlg::kRefreshTimerId));
            script->ClearCalls();
            d.OnRefreshTimer(CMsrTestDlg::kRefreshTimerId);
            EXPECT_TRUE(script->Calls().empty()) << "a tick while closed refreshes nothing";

            script->SetMethodResult(msrdisp::Open, OPOS_E_NOSERVICE);
            d.OnOpenDevice();
            EXPECT_FALSE(d.HasTimer(CMsrTestDlg::kRefreshTimerId));

            script->SetMethodResult(msrdisp::Open, 0);
            d.OnOpenDevice();
            EXPECT_TRUE(d.HasTimer(CMsrTestDlg::kRefreshTimerId));
            script->ClearCalls();
            ui::PumpEvents(1300);
            EXPECT_GE(GetsOf(msrdisp::Track1Data), 1) << "the timer refreshes the pages";

            script->SetMethodResult(msrdisp::Close, OPOS_E_FAILURE);
            d.OnCloseDevice();
            EXPECT_TRUE(d.HasTimer(CMsrTestDlg::kRefreshTimerId)) << "a failed close keeps the timer";

            script->SetMethodResult(msrdisp::Close, 0);
            d.OnCloseDevice();
            EXPECT_FALSE(d.HasTimer(CMsrTestDlg::kRefreshTimerId));
        },
        {Box("This device has not been registered, or cannot use."),
         Box("Could not close the device. Some error occurs!")});
}

TEST_F(ConsoleTest, HiddenDeviceNameListAndThreadButton)
{
    Run([&](CMsrTestDlg& d) {
        for (int i = 0; i < d.GetCount(res::IDC_DEVICE_NAME); ++i) {
            d.SetCurSel(res::IDC_DEVICE_NAME, i);
            d.OnDeviceNameChange();
            const std::string item = d.GetItemString(res::IDC_DEVICE_NAME, i);
            EXPECT_EQ(d.m_strDeviceName, item.substr(item.find("QUELLOR")));
        }
        d.SetCurSel(res::IDC_DEVICE_NAME, d.GetCount(res::IDC_DEVICE_NAME) > 0 ? 0 : -1);
        d.OnDeviceNameChange();
        EXPECT_EQ(d.m_strDeviceName.rfind("QUELLOR", 0), 0u);

        // The worker only looks at the window handle: nothing is called or
        // written.
        script->ClearCalls();
        d.SendCommand(res::IDC_CREATE_THREAD);
        d.SendCommand(res::IDC_CREATE_THREAD);
        EXPECT_TRUE(script->Calls().empty());
        EXPECT_EQ(d.GetDlgItemText(res::IDC_REPORT), "");
    });
}

TEST_F(ConsoleTest, MinimisedWindowPaintsWithoutTouchingTheControl)
{
    Run([&](CMsrTestDlg& d) {
        script->ClearCalls();
        d.Widget()->showMinimized();
        ui::PumpEvents(50);
        d.OnPaint();
        d.Widget()->showNormal();
        ui::PumpEvents(50);
        EXPECT_TRUE(script->Calls().empty());
        EXPECT_FALSE(d.m_hIcon.isNull()) << "the application icon is loaded";
    });
}

}  // namespace
