// The Description tab page: six read-only fields filled from the control on
// every refresh, versions as plain signed decimal numbers.
// Texts go to the fields through c_str(), so a value holding a NUL shows
// only up to it.
#include "pages/tab_page_description.h"

#include "console/msr_test_dlg.h"
#include "res/page_templates.h"

#include <string>

CTabPageDescription::CTabPageDescription(CMsrTestDlg* owner)
    : ui::Dialog(res::PageTemplate133(), owner), m_pMain(owner)
{
}

CTabPageDescription::~CTabPageDescription() = default;

void CTabPageDescription::ShowControlInfo()
{
    SetDlgItemText(1038, m_pMain->m_msr.GetDeviceControlDescription().c_str());
    SetDlgItemText(1010, std::to_string(m_pMain->m_msr.GetDeviceControlVersion()));
}

void CTabPageDescription::ShowServiceInfo()
{
    SetDlgItemText(1011, m_pMain->m_msr.GetDeviceServiceDescription().c_str());
    SetDlgItemText(1012, std::to_string(m_pMain->m_msr.GetDeviceServiceVersion()));
    SetDlgItemText(1013, m_pMain->m_msr.GetPhysicalDeviceDescription().c_str());
    SetDlgItemText(1014, m_pMain->m_msr.GetPhysicalDeviceName().c_str());
}
