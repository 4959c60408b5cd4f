// CMsrTestDlg: the device lifecycle commands of the method column - Open,
// Claim, Release, Close, CheckHealth and ClearInput. Each checks that the
// device is open, calls one method of the control, refreshes the pages where
// the command does so, and reports the outcome; most failures also show a
// message box, which comes before the report lines of the same outcome.
#include "console/msr_test_dlg.h"

#include "console/health_level_dlg.h"
#include "msr/opos_constants.h"
#include "msr/opos_names.h"
#include "pages/tab_page_control.h"
#include "pages/tab_page_track_control.h"
#include "platform/ui/message_box.h"

namespace {

constexpr const char* kMustOpenFirst = "You must open the device at first!";

// The name written on the second line of a failed Open: the OPOS error codes
// and the two bases of the error ranges; nullptr for anything else.
const char* OpenFailureName(std::int32_t rc)
{
    if (rc == OPOSERR) {
        return "OPOSERR";
    }
    if (rc == OPOSERREXT) {
        return "OPOSERREXT";
    }
    return ResultCodeName(rc);
}

}  // namespace

void CMsrTestDlg::Message(const char* text)
{
    ui::MessageBox(this, text, ui::MB_OK);
}

void CMsrTestDlg::OnOpenDevice()
{
    if (m_bOpened == 1) {
        return;
    }
    m_msr.Open(kDeviceName);
    const std::int32_t rc = m_msr.GetResultCode();
    if (rc == OPOS_SUCCESS) {
        m_bOpened = 1;
        SetTimer(kRefreshTimerId, kRefreshPeriodMs);
        if (CTabPageTrackControl* page = PageTrackControl()) {
            page->SetupTracksToRead();
        }
        m_msr.SetDataEventEnabled(true);
        WriteReport("Open", "Succeeded!");
        return;
    }
    Message("This device has not been registered, or cannot use.");
    WriteReport("Open", "Failed!");
    if (const char* name = OpenFailureName(rc)) {
        WriteReport("Open", name);
    }
}

void CMsrTestDlg::OnClaimDevice()
{
    if (m_bOpened == 0) {
        Message(kMustOpenFirst);
        return;
    }
    if (m_bClaimed == 1) {
        return;
    }
    m_msr.ClaimDevice(1000);
    const std::int32_t rc = m_msr.GetResultCode();
    RefreshAllPages();
    if (rc != OPOS_SUCCESS) {
        Message(rc == OPOS_E_NOHARDWARE ? " Connect The Msr Reader To Computer !"
                                        : "Fails to get the exclusive right for the device.");
        WriteResult("Claim", rc, 0);
        return;
    }
    m_bClaimed = 1;
    WriteReport("Claim", "Succeeded!");
}

void CMsrTestDlg::OnReleaseDevice()
{
    if (m_bOpened == 0) {
        Message(kMustOpenFirst);
        return;
    }
    const std::int32_t rc = m_msr.ReleaseDevice();
    RefreshAllPages();
    if (rc == OPOS_SUCCESS) {
        m_bClaimed = 0;
        WriteReport("Release", "Succeeded!");
    } else if (rc == OPOS_E_NOTCLAIMED) {
        WriteResult("Release", rc, 0);
    } else {
        Message("Could not Release the exclusive right of the device. Some error occurs! ");
        WriteReport("Release", "Failed!");
    }
}

void CMsrTestDlg::OnCloseDevice()
{
    if (m_bOpened == 0) {
        Message(kMustOpenFirst);
        return;
    }
    WriteReport("Close", "...");
    m_msr.SetDeviceEnabled(false);
    WriteReport("Close", "Set DeviceEnabled to FALSE;");
    WriteReport("Close", "Release...");
    if (m_bClaimed == 1) {
        OnReleaseDevice();
    }
    const std::int32_t rc = m_msr.Close();
    if (rc != OPOS_SUCCESS) {
        Message("Could not close the device. Some error occurs!");
        RefreshAllPages();
        WriteReport("Close", "Failed!");
        return;
    }
    m_bOpened = 0;
    // A closed device holds no claim, whatever the release before answered.
    m_bClaimed = 0;
    KillTimer(kRefreshTimerId);
    if (CTabPageControl* page = PageControl()) {
        page->ShowState();
        page->ShowDataEventEnabled();
    }
    WriteReport("Close", "Succeeded!");
}

void CMsrTestDlg::OnCheckHealth()
{
    if (m_bOpened == 0) {
        Message(kMustOpenFirst);
        return;
    }
    CHealthLevelDlg dlg(this);
    if (dlg.DoModal() == ui::IDCANCEL) {
        return;
    }
    const std::int32_t rc = m_msr.CheckHealth(dlg.m_nLevel);
    RefreshAllPages();

    const char* level = HealthLevelName(dlg.m_nLevel);
    std::string text = "Level = ";
    text += level != nullptr ? level : "";
    text += rc != OPOS_SUCCESS ? "\tFailed!" : "\tSucceeded!";
    WriteReport("CheckHealth", text.c_str());
    WriteResult("CheckHealth", rc, 0);
}

void CMsrTestDlg::OnClearInput()
{
    if (m_bOpened == 0) {
        Message(kMustOpenFirst);
        return;
    }
    const std::int32_t rc = m_msr.ClearInput();
    RefreshAllPages();
    WriteResult("ClearInput", rc, 0);
}
