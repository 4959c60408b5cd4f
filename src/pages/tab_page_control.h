// CTabPageControl: the "Control" tab of the main console window. Shows the
// device-control properties of the hosted MSR control and passes the
// operator's ticks on AutoDisable, DeviceEnabled, FreezeEvents and
// DataEventEnabled (and a PowerNotify choice) to the main window's setters.
#pragma once

#include "pages/setter_widgets.h"
#include "platform/ui/dialog.h"

#include <cstdint>

class CMsrTestDlg;

class CTabPageControl : public ui::Dialog {
public:
    explicit CTabPageControl(CMsrTestDlg* owner);
    ~CTabPageControl() override;

    // Refresh operations, each reading one property through the main
    // window's wrapper; the main window calls them in this order.
    void ShowClaimed();
    void ShowAutoDisable();
    void ShowDeviceEnabled();
    void ShowFreezeEvents();
    void ShowDataEventEnabled();
    void ShowCapPowerReporting();
    void ShowPowerNotify();
    void ShowPowerState();
    void ShowState();
    void ShowDataCount();
    void ShowCheckHealthText();

    // The PowerNotify value last shown or last accepted (-1: none yet).
    std::int32_t LastPowerNotify() const { return m_lastPowerNotify; }

    // Enter and Escape inside the embedded page do nothing.
    void OnOK() override {}
    void OnCancel() override {}

private:
    void OnCheckClicked(int id, pages::Setter setter);
    void ShowNamed(int id, const char* name);

    CMsrTestDlg* m_pMain = nullptr;  // not owned
    std::int32_t m_lastPowerNotify = -1;
};
