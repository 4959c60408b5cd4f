// CTabPageTrackData: the "Track Data" tab of the main console window. Shows
// the raw data of tracks 1 to 4 and the discretionary data of tracks 1 and 2
// as the control reports them. Display only.
#pragma once

#include "platform/ui/dialog.h"

class CMsrTestDlg;

class CTabPageTrackData : public ui::Dialog {
public:
    explicit CTabPageTrackData(CMsrTestDlg* owner);
    ~CTabPageTrackData() override;

    // Rewrites all six fields from the control.
    void ShowTrackData();

    // Enter and Escape inside the embedded page do nothing.
    void OnOK() override {}
    void OnCancel() override {}

private:
    CMsrTestDlg* m_pMain = nullptr;  // not owned
};
