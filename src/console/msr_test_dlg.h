// CMsrTestDlg: the main console window. It hosts the MSR control (wrapped by
// m_msr), runs the device lifecycle commands of the method column, the
// eleven property setters the pages call, the test report and its file, the
// five tab pages and their refresh cycle, and receives the control's events
// through its event sink.
//
// Everything runs on the user-interface thread; a handler that shows a modal
// box keeps the timer and the control's events flowing in the box's nested
// loop, so their report entries may fall between the handler's own.
#pragma once

#include "msr/msr_co.h"
#include "platform/com/dispatch.h"
#include "platform/ui/dialog.h"
#include "settings/reader_settings.h"

#include <QIcon>

#include <cstdint>
#include <span>
#include <string>

class CTabPageDescription;
class CTabPageControl;
class CTabPageTrackControl;
class CTabPageTrackData;
class CTabPageParsedData;

class CMsrTestDlg : public ui::Dialog, public com::IEventSink {
public:
    // Tab indices of the pages, in tab order.
    enum PageIndex { kDescription = 0, kControl = 1, kTrackControl = 2, kTrackData = 3, kParsedData = 4 };
    static constexpr int kPageCount = 5;
    // The refresh timer that runs while the device is open.
    static constexpr int kRefreshTimerId = 10;
    static constexpr int kRefreshPeriodMs = 1000;
    // The system-menu command of the About item.
    static constexpr unsigned kIdmAboutBox = 16;
    // The logical device name the Open command always uses.
    static constexpr const char* kDeviceName = "QuellorUSBMiniMSR";

    explicit CMsrTestDlg(ui::Dialog* parent = nullptr);
    ~CMsrTestDlg() override;

    // ---- test report (report.cpp) ---------------------------------------
    // Appends "HH:MM:SS\t<name>:\t<text>\r\n" to the report box and scrolls
    // its view to the end. A null name or text counts as empty.
    void WriteReport(const char* name, const char* text);
    // Reports "Succeeded!" for 0, otherwise "Failed!" plus the error-code
    // line for 101..114 and the extended-code line for 114.
    void WriteResult(const char* name, std::int32_t resultCode, std::int32_t resultCodeExtended);
    void OnClearReport();
    // Asks for a file and writes the report's exact bytes to it; the old file
    // stays untouched unless the whole new report was written.
    void OnSaveReport();

    // ---- pages and refresh (msr_test_dlg.cpp) ---------------------------
    void CreateTabPages();
    void RefreshAllPages();
    void RefreshStatusPages();
    void RefreshDataPages();
    void OnTabSelChange();
    void OnRefreshTimer(int timerId);
    void OnExit();
    void OnCreateThread();
    void OnDeviceNameChange();

    CTabPageDescription* PageDescription() const;
    CTabPageControl* PageControl() const;
    CTabPageTrackControl* PageTrackControl() const;
    CTabPageTrackData* PageTrackData() const;
    CTabPageParsedData* PageParsedData() const;
    ui::Dialog* Page(int index) const;
    ui::Dialog* CurrentPage() const { return m_pCurPage; }

    // ---- property setters (setters.cpp) ----------------------------------
    // Each writes one property, reads ResultCode, refreshes all pages unless
    // it is 101 (OPOS_E_CLOSED), reports the result under its own name and
    // returns the code.
    std::int32_t SetAutoDisable(std::int32_t v);
    std::int32_t SetDeviceEnabled(std::int32_t v);
    std::int32_t SetFreezeEvents(std::int32_t v);
    std::int32_t SetDataEventEnabled(std::int32_t v);
    std::int32_t SetPowerNotify(std::int32_t v);
    std::int32_t SetDecodeData(std::int32_t v);
    std::int32_t SetParseDecodeData(std::int32_t v);
    std::int32_t SetTransmitSentinels(std::int32_t v);
    std::int32_t SetTracksToRead(std::int32_t v);
    std::int32_t SetErrorReportingType(std::int32_t v);
    std::int32_t SetBinaryConversion(std::int32_t v);

    // ---- device lifecycle commands (lifecycle.cpp) -----------------------
    void OnOpenDevice();
    void OnClaimDevice();
    void OnCheckHealth();
    void OnClearInput();
    void OnReleaseDevice();
    void OnCloseDevice();
    // Opens the reader settings sheet; defined with the sheet's code.
    void OnDirectIO();

    // ---- control events (events.cpp) -------------------------------------
    void OnMsrDataEvent(std::int32_t status);
    void OnMsrErrorEvent(std::int32_t resultCode, std::int32_t resultCodeExtended,
                         std::int32_t errorLocus, std::int32_t* pErrorResponse);
    void OnMsrStatusUpdateEvent(std::int32_t data);
    void OnMsrDirectIOEvent(std::int32_t eventNumber, std::int32_t* pData, com::OleString* pString);
    void OnTemp();

    // com::IEventSink: DataEvent, DirectIOEvent, ErrorEvent and
    // StatusUpdateEvent go to their handlers; other DISPIDs are ignored.
    void Invoke(std::int32_t dispid, std::span<com::Variant> args) override;

    // ---- ui::Dialog ------------------------------------------------------
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(int timerId) override;
    void OnSysCommand(unsigned command) override;
    void OnPaint() override;

    // The report box, the tab control and the hosted control are reached by
    // their IDs (1009, 1007, 1040) through the dialog layer.
    CMSRCO m_msr;
    QIcon m_hIcon;
    ui::Dialog* m_pages[kPageCount] = {};
    ui::Dialog* m_pCurPage = nullptr;
    int m_bOpened = 0;
    int m_bClaimed = 0;
    ReaderSettings m_settings{};
    std::string m_strDeviceName;

private:
    // Steps 2-5 of every setter, after the put.
    std::int32_t FinishSetter(const char* name);
    // Shows an OK-only message box captioned with the program's name.
    void Message(const char* text);
    void MapHandlers();

    // The control whose events this window receives (null when none).
    com::IDispatch* m_pAdvised = nullptr;
};
