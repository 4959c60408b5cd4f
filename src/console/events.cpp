// CMsrTestDlg: the control's events - dispatch from the event sink, the four
// handlers, and the hidden "Temp" button that fires two of them by hand.
// Events arrive on the user-interface thread; the error handler holds the
// control's call open while the operator answers in the Error Response
// dialog, and the answer goes back through the by-reference argument.
#include "console/msr_test_dlg.h"

#include "console/error_response_dlg.h"
#include "msr/msr_dispids.h"
#include "msr/opos_constants.h"
#include "msr/opos_names.h"

namespace {

// The argument at index, or an empty variant when the control sent fewer.
const com::Variant& Arg(std::span<com::Variant> args, std::size_t index)
{
    static const com::Variant kEmpty;
    return index < args.size() ? args[index] : kEmpty;
}

}  // namespace

void CMsrTestDlg::Invoke(std::int32_t dispid, std::span<com::Variant> args)
{
    // An event still queued when the window has gone finds nothing to show
    // it on, and no dialog may open for it.
    if (!IsWindow()) {
        return;
    }
    switch (dispid) {
    case msrdisp::DataEvent:
        OnMsrDataEvent(Arg(args, 0).i4());
        break;
    case msrdisp::DirectIOEvent:
        OnMsrDirectIOEvent(Arg(args, 0).i4(), Arg(args, 1).refI4(), Arg(args, 2).refBstr());
        break;
    case msrdisp::ErrorEvent:
        OnMsrErrorEvent(Arg(args, 0).i4(), Arg(args, 1).i4(), Arg(args, 2).i4(), Arg(args, 3).refI4());
        break;
    case msrdisp::StatusUpdateEvent:
        OnMsrStatusUpdateEvent(Arg(args, 0).i4());
        break;
    default:
        break;
    }
}

void CMsrTestDlg::OnMsrDataEvent(std::int32_t status)
{
    (void)status;
    m_msr.SetDataEventEnabled(true);
    RefreshAllPages();
    WriteReport("OnMsrDataEvent", "DataEvent is received.");
}

void CMsrTestDlg::OnMsrErrorEvent(std::int32_t resultCode, std::int32_t resultCodeExtended,
                                  std::int32_t errorLocus, std::int32_t* pErrorResponse)
{
    m_msr.SetDataEventEnabled(true);
    const std::int32_t reportingType = m_msr.GetErrorReportingType();

    if (reportingType == MSR_ERT_CARD) {
        RefreshAllPages();
        std::string text = "ErrorEvent is received.";
        text += "my messag";
        text += "\r\n\t\tResultCode = ";
        text += resultCode == OPOS_SUCCESS ? "OPOS_SUCCESS" : "OPOS_ else";
        CErrorResponseDlg dlg(this);
        dlg.DoModal();
        if (pErrorResponse != nullptr) {
            *pErrorResponse = dlg.m_nResponse;
        }
        WriteReport("OnMsrErrorEvent", text.c_str());
        return;
    }

    if (reportingType == MSR_ERT_TRACK) {
        RefreshAllPages();
        std::string first = "\r\n\t\tResultCode = ";
        if (resultCode == OPOS_SUCCESS) {
            first += "OPOS_SUCCESS";
        } else if (resultCode == OPOS_E_EXTENDED) {
            // One status byte per track, from the lowest byte (track 1).
            const auto bytes = static_cast<std::uint32_t>(resultCodeExtended);
            for (int track = 0; track < 4; ++track) {
                const int value = static_cast<int>((bytes >> (8 * track)) & 0xFFu);
                first += "\r\n\tTrac";
                first += std::to_string(track + 1);
                first += ' ';
                first += TrackErrorName(value);
            }
        } else {
            first += "OPOS_ ELSE";
        }
        WriteReport("OnMsrErrorEvent", first.c_str());

        std::string second = "\r\n\t\tErrorLocus = " + std::to_string(errorLocus);
        CErrorResponseDlg dlg(this);
        dlg.DoModal();
        if (pErrorResponse != nullptr) {
            *pErrorResponse = dlg.m_nResponse;
        }
        const char* response = ErrorResponseName(dlg.m_nResponse);
        second += "\r\n\t\tErrorResponse = ";
        second += response != nullptr ? response : "";
        WriteReport("OnMsrErrorEvent", second.c_str());
    }
    // Any other reporting type: the control keeps its own response.
}

void CMsrTestDlg::OnMsrStatusUpdateEvent(std::int32_t data)
{
    RefreshAllPages();
    if (const char* name = StatusUpdateName(data)) {
        std::string text = "StatusUpdateEvent is received.\r\n\t\tData = ";
        text += name;
        WriteReport("OnMsrStatusUpdateEvent", text.c_str());
    }
}

void CMsrTestDlg::OnMsrDirectIOEvent(std::int32_t eventNumber, std::int32_t* pData, com::OleString* pString)
{
    // The by-reference data and string are neither read nor written.
    (void)pData;
    (void)pString;
    RefreshAllPages();
    const std::string text = "DirectIOEvent is received.\r\n\t\tEventNumber = " + std::to_string(eventNumber);
    WriteReport("OnMsrDirectIOEvent", text.c_str());
}

void CMsrTestDlg::OnTemp()
{
    OnMsrStatusUpdateEvent(OPOS_SUE_POWER_OFF_OFFLINE);
    OnMsrDirectIOEvent(100, nullptr, nullptr);
}
