// CTabPageTrackControl: the "Track Control" tab of the main console window.
// Shows the track capabilities and passes the operator's changes of
// DecodeData, ParseDecodeData, TransmitSentinels, TracksToRead,
// ErrorReportingType and BinaryConversion to the main window's setters. Also
// sets the tracks to read once after a successful Open.
#pragma once

#include "pages/setter_widgets.h"
#include "platform/ui/dialog.h"

#include <cstdint>

class CMsrTestDlg;

class CTabPageTrackControl : public ui::Dialog {
public:
    explicit CTabPageTrackControl(CMsrTestDlg* owner);
    ~CTabPageTrackControl() override;

    // Refresh operations in the main window's call order. None of them
    // reads TracksToRead.
    void ShowTrackCapabilities();
    void ShowCapTransmitSentinels();
    void ShowDecodeData();
    void ShowParseDecodeData();
    void ShowTransmitSentinels();
    void ShowErrorReportingType();
    void ShowBinaryConversion();

    // Run by Open: reads TracksToRead, clears track 3 from it, shows the
    // result in the TracksToRead list and writes it back through the
    // main window's SetTracksToRead.
    void SetupTracksToRead();

    // The TracksToRead mask (never a list index) for each list item, and the
    // list item for a mask (-1: no item, also for masks outside 0..15).
    static std::int32_t TracksToReadValue(int index);
    static int TracksToReadIndex(std::int32_t value);

    // Remembered values used to undo a refused change.
    std::int32_t LastTracksToRead() const { return m_lastTracksToRead; }
    std::int32_t LastErrorReportingType() const { return m_lastErrorReportingType; }
    std::int32_t LastBinaryConversion() const { return m_lastBinaryConversion; }

    // Enter and Escape inside the embedded page do nothing.
    void OnOK() override {}
    void OnCancel() override {}

private:
    void OnCheckClicked(int id, pages::Setter setter);
    void OnTracksToReadChange();

    CMsrTestDlg* m_pMain = nullptr;  // not owned
    std::int32_t m_lastTracksToRead = 0;
    std::int32_t m_lastErrorReportingType = -1;
    std::int32_t m_lastBinaryConversion = 0;
};
