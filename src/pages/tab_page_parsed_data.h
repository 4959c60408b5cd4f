// CTabPageParsedData: the "Parsed Data" tab of the main console window. Shows
// the card fields that the control parsed out of the track data. Display
// only.
#pragma once

#include "platform/ui/dialog.h"

class CMsrTestDlg;

class CTabPageParsedData : public ui::Dialog {
public:
    explicit CTabPageParsedData(CMsrTestDlg* owner);
    ~CTabPageParsedData() override;

    // Rewrites all eight fields from the control.
    void ShowParsedData();

    // Enter and Escape inside the embedded page do nothing.
    void OnOK() override {}
    void OnCancel() override {}

private:
    CMsrTestDlg* m_pMain = nullptr;  // not owned
};
