// CMsrTestDlg: the property setters that the pages call. Each writes one
// property, takes the control's verdict from ResultCode, refreshes the pages
// unless the device turned out to be closed (101), reports the outcome under
// its own name and returns the code to the page.
#include "console/msr_test_dlg.h"

#include "msr/opos_constants.h"

std::int32_t CMsrTestDlg::FinishSetter(const char* name)
{
    const std::int32_t rc = m_msr.GetResultCode();
    if (rc != OPOS_E_CLOSED) {
        RefreshAllPages();
    }
    WriteResult(name, rc, 0);
    return rc;
}

std::int32_t CMsrTestDlg::SetAutoDisable(std::int32_t v)
{
    m_msr.SetAutoDisable(v != 0);
    return FinishSetter("SetAutoDisable");
}

std::int32_t CMsrTestDlg::SetDeviceEnabled(std::int32_t v)
{
    m_msr.SetDeviceEnabled(v != 0);
    return FinishSetter("SetDeviceEnabled");
}

std::int32_t CMsrTestDlg::SetFreezeEvents(std::int32_t v)
{
    m_msr.SetFreezeEvents(v != 0);
    return FinishSetter("SetFreezeEvents");
}

std::int32_t CMsrTestDlg::SetDataEventEnabled(std::int32_t v)
{
    m_msr.SetDataEventEnabled(v != 0);
    return FinishSetter("SetDataEventEnabled");
}

std::int32_t CMsrTestDlg::SetPowerNotify(std::int32_t v)
{
    m_msr.SetPowerNotify(v);
    return FinishSetter("SetPowerNotify");
}

std::int32_t CMsrTestDlg::SetDecodeData(std::int32_t v)
{
    m_msr.SetDecodeData(v != 0);
    return FinishSetter("SetDecodeData");
}

std::int32_t CMsrTestDlg::SetParseDecodeData(std::int32_t v)
{
    m_msr.SetParseDecodeData(v != 0);
    return FinishSetter("SetParseDecodeData");
}

std::int32_t CMsrTestDlg::SetTransmitSentinels(std::int32_t v)
{
    m_msr.SetTransmitSentinels(v != 0);
    return FinishSetter("SetTransmitSentinels");
}

std::int32_t CMsrTestDlg::SetTracksToRead(std::int32_t v)
{
    m_msr.SetTracksToRead(v);
    return FinishSetter("SetTracksToRead");
}

std::int32_t CMsrTestDlg::SetErrorReportingType(std::int32_t v)
{
    m_msr.SetErrorReportingType(v);
    return FinishSetter("SetErrorReportingType");
}

std::int32_t CMsrTestDlg::SetBinaryConversion(std::int32_t v)
{
    m_msr.SetBinaryConversion(v);
    return FinishSetter("SetBinaryConversion");
}
