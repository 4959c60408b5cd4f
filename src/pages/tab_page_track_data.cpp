// The Track Data tab page: each refresh reads the six track properties once
// and writes them unchanged into their read-only fields.
// Texts go to the fields through c_str(), so a value holding a NUL shows
// only up to it.
#include "pages/tab_page_track_data.h"

#include "console/msr_test_dlg.h"
#include "res/page_templates.h"

CTabPageTrackData::CTabPageTrackData(CMsrTestDlg* owner)
    : ui::Dialog(res::PageTemplate131(), owner), m_pMain(owner)
{
}

CTabPageTrackData::~CTabPageTrackData() = default;

void CTabPageTrackData::ShowTrackData()
{
    CMSRCO& msr = m_pMain->m_msr;
    SetDlgItemText(1028, msr.GetTrack1Data().c_str());
    SetDlgItemText(1026, msr.GetTrack1DiscretionaryData().c_str());
    SetDlgItemText(1010, msr.GetTrack2Data().c_str());
    SetDlgItemText(1027, msr.GetTrack2DiscretionaryData().c_str());
    SetDlgItemText(1011, msr.GetTrack3Data().c_str());
    SetDlgItemText(1012, msr.GetTrack4Data().c_str());
}
