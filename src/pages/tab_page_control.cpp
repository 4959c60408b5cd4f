// The Control tab page. Refreshes only write what the control reports (a
// named field keeps its text when the value has no name); operator changes go
// through the main window's setters, and the page puts its own widget back
// only when a setter answers OPOS_E_CLOSED, because then nothing refreshed it.
#include "pages/tab_page_control.h"

#include "console/msr_test_dlg.h"
#include "msr/opos_names.h"
#include "pages/setter_widgets.h"
#include "res/page_templates.h"

#include <string>

CTabPageControl::CTabPageControl(CMsrTestDlg* owner)
    : ui::Dialog(res::PageTemplate129(), owner), m_pMain(owner)
{
    MapCommand(1010, [this] { OnCheckClicked(1010, &CMsrTestDlg::SetAutoDisable); });
    MapCommand(1013, [this] { OnCheckClicked(1013, &CMsrTestDlg::SetDeviceEnabled); });
    MapCommand(1014, [this] { OnCheckClicked(1014, &CMsrTestDlg::SetFreezeEvents); });
    MapCommand(1012, [this] { OnCheckClicked(1012, &CMsrTestDlg::SetDataEventEnabled); });
    // Combo 1031 lists "DISABLED", "ENABLED": the index is the PowerNotify value.
    MapSelChange(1031, [this] {
        pages::ValueListThroughSetter(*this, *m_pMain, 1031, &CMsrTestDlg::SetPowerNotify, m_lastPowerNotify);
    });
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
    pages::SelectValueItem(*this, 1031, value);
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

void CTabPageControl::OnCheckClicked(int id, pages::Setter setter)
{
    pages::CheckBoxThroughSetter(*this, *m_pMain, id, setter);
}
