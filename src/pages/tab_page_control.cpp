// The Control tab page. Refreshes only write what the control reports (a
// named field keeps its text when the value has no name); operator changes go
// through the main window's setters, and the page puts its own widget back
// only when a setter answers OPOS_E_CLOSED, because then nothing refreshed it.
#include "pages/tab_page_control.h"

#include "console/msr_test_dlg.h"
#include "msr/opos_constants.h"
#include "msr/opos_names.h"
#include "res/page_templates.h"

#include <string>

namespace {

// Combo 1031 lists "DISABLED", "ENABLED": the index is the PowerNotify value.
constexpr std::int32_t kPowerNotifyItems = 2;

int PowerNotifyIndex(std::int32_t value)
{
    return (value >= 0 && value < kPowerNotifyItems) ? static_cast<int>(value) : -1;
}

}  // namespace

CTabPageControl::CTabPageControl(CMsrTestDlg* owner)
    : ui::Dialog(res::PageTemplate129(), owner), m_pMain(owner)
{
    MapCommand(1010, [this] { OnCheckClicked(1010, &CMsrTestDlg::SetAutoDisable); });
    MapCommand(1013, [this] { OnCheckClicked(1013, &CMsrTestDlg::SetDeviceEnabled); });
    MapCommand(1014, [this] { OnCheckClicked(1014, &CMsrTestDlg::SetFreezeEvents); });
    MapCommand(1012, [this] { OnCheckClicked(1012, &CMsrTestDlg::SetDataEventEnabled); });
    MapSelChange(1031, [this] { OnPowerNotifyChange(); });
}

CTabPageControl::~CTabPageControl() = default;

void CTabPageControl::ShowClaimed() { CheckDlgButton(1011, m_pMain->m_msr.GetClaimed() ? 1 : 0); }

void CTabPageControl::ShowAutoDisable() { CheckDlgButton(1010, m_pMain->m_msr.GetAutoDisable() ? 1 : 0); }

void CTabPageControl::ShowDeviceEnabled() { CheckDlgButton(1013, m_pMain->m_msr.GetDeviceEnabled() ? 1 : 0); }

void CTabPageControl::ShowFreezeEvents() { CheckDlgButton(1014, m_pMain->m_msr.GetFreezeEvents() ? 1 : 0); }

void CTabPageControl::ShowDataEventEnabled()
{
    CheckDlgButton(1012, m_pMain->m_msr.GetDataEventEnabled() ? 1 : 0);
}

void CTabPageControl::ShowNamed(int id, const char* name)
{
    // A value outside the name table leaves the previous text in place.
    if (name != nullptr) {
        SetDlgItemText(id, name);
    }
}

void CTabPageControl::ShowCapPowerReporting()
{
    ShowNamed(1035, PowerReportingName(m_pMain->m_msr.GetCapPowerReporting()));
}

void CTabPageControl::ShowPowerNotify()
{
    const std::int32_t value = m_pMain->m_msr.GetPowerNotify();
    SetCurSel(1031, PowerNotifyIndex(value));
    m_lastPowerNotify = value;  // stored even when no item shows it
}

void CTabPageControl::ShowPowerState() { ShowNamed(1034, PowerStateName(m_pMain->m_msr.GetPowerState())); }

void CTabPageControl::ShowState() { ShowNamed(1033, DeviceStateName(m_pMain->m_msr.GetState())); }

void CTabPageControl::ShowDataCount() { SetDlgItemText(1036, std::to_string(m_pMain->m_msr.GetDataCount())); }

void CTabPageControl::ShowCheckHealthText()
{
    // c_str(): a text holding a NUL shows only up to it.
    SetDlgItemText(1037, m_pMain->m_msr.GetCheckHealthText().c_str());
}

void CTabPageControl::OnCheckClicked(int id, Setter setter)
{
    const int checked = IsDlgButtonChecked(id);  // state after the click
    const std::int32_t rc = (m_pMain->*setter)(checked ? 1 : 0);
    if (rc == OPOS_E_CLOSED) {
        // No refresh ran: undo the operator's click.
        CheckDlgButton(id, checked ? 0 : 1);
    }
}

void CTabPageControl::OnPowerNotifyChange()
{
    const int index = GetCurSel(1031);
    const std::int32_t rc = m_pMain->SetPowerNotify(index);
    if (rc == OPOS_E_CLOSED) {
        SetCurSel(1031, PowerNotifyIndex(m_lastPowerNotify));
    } else {
        // After the setter's refresh, so the operator's choice wins.
        m_lastPowerNotify = index;
    }
}
