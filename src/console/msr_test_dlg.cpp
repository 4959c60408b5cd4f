// CMsrTestDlg: construction, initialisation, the tab pages and their
// refresh, the refresh timer, the system menu, the minimised icon, the hidden
// thread and device-name controls, Exit and teardown.
#include "console/msr_test_dlg.h"

#include "app/about_dlg.h"
#include "pages/tab_page_control.h"
#include "pages/tab_page_description.h"
#include "pages/tab_page_parsed_data.h"
#include "pages/tab_page_track_control.h"
#include "pages/tab_page_track_data.h"
#include "res/app_icon.h"
#include "res/main_dialog_res.h"
#include "res/main_strings.h"


#include <QWidget>

#include <thread>

CMsrTestDlg::CMsrTestDlg(ui::Dialog* parent) : ui::Dialog(res::MainDialogTemplate(), parent)
{
    m_hIcon = res::AppIcon();
    SetDefaultReaderSettings(m_settings);
    MapHandlers();
}

CMsrTestDlg::~CMsrTestDlg()
{
    // Stop receiving events before the pages and this object go away. The
    // control lives as long as the window, so it is reached only while the
    // window still holds it.
    if (m_pAdvised != nullptr && HostedControl(res::IDC_MSR) == m_pAdvised) {
        m_pAdvised->Advise(nullptr);
    }
    m_pAdvised = nullptr;
    m_msr.Attach(nullptr);

    m_pCurPage = nullptr;
    for (auto& page : m_pages) {
        if (page != nullptr) {
            page->DestroyWindow();
            delete page;
            page = nullptr;
        }
    }
}

void CMsrTestDlg::MapHandlers()
{
    MapCommand(res::IDC_CLEAR_REPORT, [this] { OnClearReport(); });
    MapCommand(res::IDC_EXIT, [this] { OnExit(); });
    MapCommand(res::IDC_OPEN, [this] { OnOpenDevice(); });
    MapCommand(res::IDC_CLAIM, [this] { OnClaimDevice(); });
    MapCommand(res::IDC_CHECK_HEALTH, [this] { OnCheckHealth(); });
    MapCommand(res::IDC_CLEAR_INPUT, [this] { OnClearInput(); });
    MapCommand(res::IDC_DIRECT_IO, [this] { OnDirectIO(); });
    MapCommand(res::IDC_RELEASE, [this] { OnReleaseDevice(); });
    MapCommand(res::IDC_CLOSE, [this] { OnCloseDevice(); });
    MapCommand(res::IDC_TEMP, [this] { OnTemp(); });
    MapCommand(res::IDC_SAVE_REPORT, [this] { OnSaveReport(); });
    MapCommand(res::IDC_CREATE_THREAD, [this] { OnCreateThread(); });
    MapSelChange(res::IDC_PROPERTY_TAB, [this] { OnTabSelChange(); });
    MapSelChange(res::IDC_DEVICE_NAME, [this] { OnDeviceNameChange(); });
}

bool CMsrTestDlg::OnInitDialog()
{
    // The layer has created the controls (the combo box holds its template
    // items); bind the wrapper to the hosted control and take its events.
    com::IDispatch* control = HostedControl(res::IDC_MSR);
    m_msr.Attach(control);
    if (control != nullptr) {
        control->Advise(this);
        m_pAdvised = control;
    }

    if ((Template().style & ui::DS_SysMenu) != 0) {
        const std::string about = res::MainString(res::IDS_ABOUTBOX);
        if (!about.empty()) {
            AppendSystemMenuSeparator();
            AppendSystemMenuItem(kIdmAboutBox, about);
        }
    }

    SetIcon(m_hIcon);

    CreateTabPages();

    if (CTabPageDescription* page = PageDescription()) {
        page->ShowControlInfo();
    }
    if (CTabPageControl* page = PageControl()) {
        page->ShowState();
    }

    SetFocusTo(res::IDC_CLEAR_REPORT);
    return false;
}

void CMsrTestDlg::CreateTabPages()
{
    static const char* const kTabTexts[kPageCount] = {
        "Description", "Control", "Track Control", "Track Data", "Parsed Data",
    };
    for (int i = 0; i < kPageCount; ++i) {
        InsertTabItem(res::IDC_PROPERTY_TAB, i, kTabTexts[i]);
    }

    // Pages are children of the main window, not of the tab control; each
    // starts hidden at the top-left corner of the client area.
    m_pages[kDescription] = new CTabPageDescription(this);
    m_pages[kDescription]->Create(this);
    m_pages[kControl] = new CTabPageControl(this);
    m_pages[kControl]->Create(this);
    m_pages[kTrackControl] = new CTabPageTrackControl(this);
    m_pages[kTrackControl]->Create(this);
    m_pages[kTrackData] = new CTabPageTrackData(this);
    m_pages[kTrackData]->Create(this);
    m_pages[kParsedData] = new CTabPageParsedData(this);
    m_pages[kParsedData]->Create(this);

    const ui::Rect tab = ItemRect(res::IDC_PROPERTY_TAB);
    const ui::Rect item = GetTabItemRect(res::IDC_PROPERTY_TAB, 0);
    const int x = tab.x + 10;
    const int y = tab.y + item.cy + 10;

    SetTabCurSel(res::IDC_PROPERTY_TAB, kControl);
    m_pCurPage = m_pages[kControl];
    m_pCurPage->MoveWindow(x, y);
    m_pCurPage->ShowWindow(true);
}

void CMsrTestDlg::OnTabSelChange()
{
    const int index = GetTabCurSel(res::IDC_PROPERTY_TAB);
    ui::Dialog* next = Page(index);
    if (next == nullptr || m_pCurPage == nullptr) {
        return;
    }
    ui::Placement placement = m_pCurPage->GetWindowPlacement();
    m_pCurPage->ShowWindow(false);
    // The new page takes the old page's position and show state but keeps
    // its own size.
    const ui::Rect own = next->GetWindowPlacement().rect;
    placement.rect.cx = own.cx;
    placement.rect.cy = own.cy;
    next->SetWindowPlacement(placement);
    m_pCurPage = next;
}

ui::Dialog* CMsrTestDlg::Page(int index) const
{
    if (index < 0 || index >= kPageCount) {
        return nullptr;
    }
    return m_pages[index];
}

CTabPageDescription* CMsrTestDlg::PageDescription() const
{
    return static_cast<CTabPageDescription*>(m_pages[kDescription]);
}

CTabPageControl* CMsrTestDlg::PageControl() const
{
    return static_cast<CTabPageControl*>(m_pages[kControl]);
}

CTabPageTrackControl* CMsrTestDlg::PageTrackControl() const
{
    return static_cast<CTabPageTrackControl*>(m_pages[kTrackControl]);
}

CTabPageTrackData* CMsrTestDlg::PageTrackData() const
{
    return static_cast<CTabPageTrackData*>(m_pages[kTrackData]);
}

CTabPageParsedData* CMsrTestDlg::PageParsedData() const
{
    return static_cast<CTabPageParsedData*>(m_pages[kParsedData]);
}

void CMsrTestDlg::RefreshAllPages()
{
    RefreshStatusPages();
    RefreshDataPages();
}

void CMsrTestDlg::RefreshStatusPages()
{
    if (CTabPageDescription* page = PageDescription()) {
        page->ShowControlInfo();
        page->ShowServiceInfo();
    }
    if (CTabPageControl* page = PageControl()) {
        page->ShowClaimed();
        page->ShowAutoDisable();
        page->ShowDeviceEnabled();
        page->ShowFreezeEvents();
        page->ShowDataEventEnabled();
        page->ShowCapPowerReporting();
        page->ShowPowerNotify();
        page->ShowPowerState();
        page->ShowState();
        page->ShowDataCount();
        page->ShowCheckHealthText();
    }
    if (CTabPageTrackControl* page = PageTrackControl()) {
        page->ShowTrackCapabilities();
        page->ShowCapTransmitSentinels();
        page->ShowDecodeData();
        page->ShowParseDecodeData();
        page->ShowTransmitSentinels();
        page->ShowErrorReportingType();
        page->ShowBinaryConversion();
    }
}

void CMsrTestDlg::RefreshDataPages()
{
    if (CTabPageTrackData* page = PageTrackData()) {
        page->ShowTrackData();
    }
    if (CTabPageParsedData* page = PageParsedData()) {
        page->ShowParsedData();
    }
}

void CMsrTestDlg::OnTimer(int timerId)
{
    OnRefreshTimer(timerId);
}

void CMsrTestDlg::OnRefreshTimer(int timerId)
{
    // The only timer is the refresh timer; its ID is not examined.
    (void)timerId;
    if (m_bOpened == 1) {
        RefreshAllPages();
    }
}

void CMsrTestDlg::OnCancel()
{
    // Escape and the close box arrive as command 2, which is mapped to
    // OnExit; a direct cancel takes the same road.
    OnExit();
}

void CMsrTestDlg::OnExit()
{
    if (m_bOpened == 1) {
        OnCloseDevice();
    }
    EndDialog(ui::IDCANCEL);
}

void CMsrTestDlg::OnSysCommand(unsigned command)
{
    if ((command & 0xFFF0u) == kIdmAboutBox) {
        CAboutDlg about(this);
        about.DoModal();
        return;
    }
    ui::Dialog::OnSysCommand(command);
}

void CMsrTestDlg::OnPaint()
{
    if (!IsIconic()) {
        return;
    }
    const int size = SystemIconSize();
    const int x = (ClientWidth() - size + 1) / 2;
    const int y = (ClientHeight() - size + 1) / 2;
    DrawIcon(x, y, m_hIcon);
}

void CMsrTestDlg::OnCreateThread()
{
    // The worker's only action is to obtain the window's drawing context;
    // here that is taking the window's handle value. It touches nothing of
    // this object, and it is joined so that no thread outlives the window.
    const void* handle = Widget();
    std::thread worker([handle] {
        const void* volatile drawingContext = handle;
        (void)drawingContext;
    });
    worker.join();
}

void CMsrTestDlg::OnDeviceNameChange()
{
    const int index = GetCurSel(res::IDC_DEVICE_NAME);
    if (index < 0) {
        return;
    }
    m_strDeviceName = GetItemString(res::IDC_DEVICE_NAME, index);
    const auto pos = m_strDeviceName.find("QUELLOR");
    if (pos != std::string::npos) {
        m_strDeviceName.erase(0, pos);
    }
}
