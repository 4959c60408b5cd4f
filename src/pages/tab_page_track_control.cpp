// The Track Control tab page. Check boxes and the ErrorReportingType and
// BinaryConversion lists follow the control on every refresh; the
// TracksToRead list changes only through SetupTracksToRead, the operator and
// its own undo. A setter answer of OPOS_E_CLOSED means no refresh ran, so the
// page puts its widget back itself (a box to its previous state, a list to
// the remembered value); any other answer keeps the setter's refresh.
#include "pages/tab_page_track_control.h"

#include "console/msr_test_dlg.h"
#include "msr/opos_constants.h"
#include "pages/setter_widgets.h"
#include "res/page_templates.h"

#include <array>

namespace {

// Masks of the 15 items of list 1022, in item order (1 track 1, 2 track 2,
// 4 track 3, 8 track 4).
constexpr std::array<std::int32_t, 15> kIndexToTracks = {1, 2, 4, 8, 3, 5, 9, 6, 10, 12, 7, 11, 13, 14, 15};
// The inverse: list item for each mask 0..15 (0 has no item).
constexpr std::array<int, 16> kTracksToIndex = {-1, 0, 1, 4, 2, 5, 7, 10, 3, 6, 8, 11, 9, 12, 13, 14};

constexpr std::int32_t kTrack3 = 4;  // the mask of "MSR_TR_3"

}  // namespace

CTabPageTrackControl::CTabPageTrackControl(CMsrTestDlg* owner)
    : ui::Dialog(res::PageTemplate130(), owner), m_pMain(owner)
{
    MapCommand(1019, [this] { OnCheckClicked(1019, &CMsrTestDlg::SetDecodeData); });
    MapCommand(1020, [this] { OnCheckClicked(1020, &CMsrTestDlg::SetParseDecodeData); });
    MapCommand(1021, [this] { OnCheckClicked(1021, &CMsrTestDlg::SetTransmitSentinels); });
    MapSelChange(1022, [this] { OnTracksToReadChange(); });
    MapSelChange(1024, [this] {
        pages::ValueListThroughSetter(*this, *m_pMain, 1024, &CMsrTestDlg::SetErrorReportingType,
                                      m_lastErrorReportingType);
    });
    MapSelChange(1195, [this] {
        pages::ValueListThroughSetter(*this, *m_pMain, 1195, &CMsrTestDlg::SetBinaryConversion,
                                      m_lastBinaryConversion);
    });
}

CTabPageTrackControl::~CTabPageTrackControl() = default;

std::int32_t CTabPageTrackControl::TracksToReadValue(int index)
{
    if (index < 0 || index >= static_cast<int>(kIndexToTracks.size())) {
        return 0;
    }
    return kIndexToTracks[static_cast<std::size_t>(index)];
}

int CTabPageTrackControl::TracksToReadIndex(std::int32_t value)
{
    if (value < 0 || value >= static_cast<std::int32_t>(kTracksToIndex.size())) {
        return -1;
    }
    return kTracksToIndex[static_cast<std::size_t>(value)];
}

void CTabPageTrackControl::ShowTrackCapabilities()
{
    CheckDlgButton(1015, m_pMain->m_msr.GetCapISO() ? 1 : 0);
    CheckDlgButton(1016, m_pMain->m_msr.GetCapJISOne() ? 1 : 0);
    CheckDlgButton(1017, m_pMain->m_msr.GetCapJISTwo() ? 1 : 0);
}

void CTabPageTrackControl::ShowCapTransmitSentinels()
{
    CheckDlgButton(1018, m_pMain->m_msr.GetCapTransmitSentinels() ? 1 : 0);
}

void CTabPageTrackControl::ShowDecodeData() { CheckDlgButton(1019, m_pMain->m_msr.GetDecodeData() ? 1 : 0); }

void CTabPageTrackControl::ShowParseDecodeData()
{
    CheckDlgButton(1020, m_pMain->m_msr.GetParseDecodeData() ? 1 : 0);
}

void CTabPageTrackControl::ShowTransmitSentinels()
{
    CheckDlgButton(1021, m_pMain->m_msr.GetTransmitSentinels() ? 1 : 0);
}

void CTabPageTrackControl::ShowErrorReportingType()
{
    const std::int32_t value = m_pMain->m_msr.GetErrorReportingType();
    pages::SelectValueItem(*this, 1024, value);
    m_lastErrorReportingType = value;
}

void CTabPageTrackControl::ShowBinaryConversion()
{
    const std::int32_t value = m_pMain->m_msr.GetBinaryConversion();
    pages::SelectValueItem(*this, 1195, value);
    m_lastBinaryConversion = value;
}

void CTabPageTrackControl::SetupTracksToRead()
{
    const std::int32_t v = m_pMain->m_msr.GetTracksToRead();
    // Take track 3 out of the mask. Clearing the bit (rather than
    // subtracting its value) keeps every mask a valid mask: a control that
    // does not read track 3 keeps its tracks (1 stays 1, 11 stays 11)
    // instead of turning into a negative or different set.
    const std::int32_t w = v & ~kTrack3;
    SetCurSel(1022, TracksToReadIndex(w));
    m_lastTracksToRead = w;
    (void)m_pMain->SetTracksToRead(w);  // its report line is the only outcome
}

void CTabPageTrackControl::OnCheckClicked(int id, pages::Setter setter)
{
    pages::CheckBoxThroughSetter(*this, *m_pMain, id, setter);
}

void CTabPageTrackControl::OnTracksToReadChange()
{
    const std::int32_t value = TracksToReadValue(GetCurSel(1022));
    const std::int32_t rc = m_pMain->SetTracksToRead(value);
    if (rc == OPOS_E_CLOSED) {
        SetCurSel(1022, TracksToReadIndex(m_lastTracksToRead));
    } else {
        // Also on other failures: the list is not refreshed and keeps the
        // operator's choice, so the refused value is what it shows.
        m_lastTracksToRead = value;
    }
}
