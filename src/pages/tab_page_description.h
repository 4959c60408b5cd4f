// CTabPageDescription: the "Description" tab of the main console window. Shows
// the control's, the service's and the physical device's descriptions and
// versions, read through the main window's control wrapper. Display only.
#pragma once

#include "platform/ui/dialog.h"

class CMsrTestDlg;

class CTabPageDescription : public ui::Dialog {
public:
    explicit CTabPageDescription(CMsrTestDlg* owner);
    ~CTabPageDescription() override;

    // DeviceControlDescription (1038) and DeviceControlVersion (1010).
    void ShowControlInfo();
    // DeviceServiceDescription (1011), DeviceServiceVersion (1012),
    // PhysicalDeviceDescription (1013) and PhysicalDeviceName (1014).
    void ShowServiceInfo();

    // Enter and Escape inside the embedded page do nothing.
    void OnOK() override {}
    void OnCancel() override {}

private:
    CMsrTestDlg* m_pMain = nullptr;  // not owned
};
