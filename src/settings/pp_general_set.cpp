// The General Settings page. Each field's radio buttons are found by code
// minus '0' in a table of IDs; checking a radio from code stores nothing, only
// an operator click does. Terminal type and inter-character delay are shown
// but disabled.
#include "settings/pp_general_set.h"

#include "res/settings_templates.h"

#include <array>
#include <cstddef>
#include <span>

namespace {

// Radio IDs of each field, indexed by code - '0'.
constexpr std::array<int, 2> kMsrReadingIds = {1070, 1069};
constexpr std::array<int, 6> kTerminalTypeIds = {1050, 1053, 1054, 1055, 1051, 1052};
constexpr std::array<int, 4> kDecodingMethodIds = {1071, 1074, 1072, 1073};
constexpr std::array<int, 3> kBeepIds = {1056, 1057, 1058};
constexpr std::array<int, 6> kInterCharDelayIds = {1060, 1061, 1062, 1063, 1064, 1065};

// The radio of a code; 0 for a code outside the field's range (which the
// codes never are: only the radio handlers and the defaults store them).
int RadioFor(std::span<const int> ids, char code)
{
    const int index = code - '0';
    if (index < 0 || static_cast<std::size_t>(index) >= ids.size()) {
        return 0;
    }
    return ids[static_cast<std::size_t>(index)];
}

}  // namespace

CPPGeneralSet::CPPGeneralSet(CMsrTestDlg* owner, const ReaderSettings& settings)
    : ui::PropertyPage(res::SettingsTemplate138()), m_pMain(owner), m_settings(settings)
{
    // A click stores the radio's code into its field; nothing else.
    const auto mapField = [this](std::span<const int> ids, char ReaderSettings::*field) {
        for (std::size_t i = 0; i < ids.size(); ++i) {
            const char code = static_cast<char>('0' + i);
            MapCommand(ids[i], [this, field, code] { m_settings.*field = code; });
        }
    };
    mapField(kMsrReadingIds, &ReaderSettings::msrReading);
    mapField(kTerminalTypeIds, &ReaderSettings::terminalType);
    mapField(kDecodingMethodIds, &ReaderSettings::decodingMethod);
    mapField(kBeepIds, &ReaderSettings::beep);
    mapField(kInterCharDelayIds, &ReaderSettings::interCharDelay);
    MapCommand(1067, [this] { OnDefault(); });
}

CPPGeneralSet::~CPPGeneralSet() = default;

bool CPPGeneralSet::OnInitDialog()
{
    ui::PropertyPage::OnInitDialog();
    CheckDlgButton(RadioFor(kMsrReadingIds, m_settings.msrReading), 1);
    CheckDlgButton(RadioFor(kTerminalTypeIds, m_settings.terminalType), 1);
    for (int id : kTerminalTypeIds) {
        EnableItem(id, false);
    }
    CheckDlgButton(RadioFor(kDecodingMethodIds, m_settings.decodingMethod), 1);
    CheckDlgButton(RadioFor(kBeepIds, m_settings.beep), 1);
    CheckDlgButton(RadioFor(kInterCharDelayIds, m_settings.interCharDelay), 1);
    for (int id : kInterCharDelayIds) {
        EnableItem(id, false);
    }
    return true;
}

void CPPGeneralSet::OnDefault()
{
    ReaderSettings defaults{};
    SetDefaultReaderSettings(defaults);
    const struct {
        std::span<const int> ids;
        char ReaderSettings::*field;
    } shown[] = {
        {kMsrReadingIds, &ReaderSettings::msrReading},
        {kDecodingMethodIds, &ReaderSettings::decodingMethod},
        {kBeepIds, &ReaderSettings::beep},
    };
    for (const auto& f : shown) {
        const char current = m_settings.*(f.field);
        const char wanted = defaults.*(f.field);
        if (current != wanted) {
            CheckDlgButton(RadioFor(f.ids, current), 0);
            CheckDlgButton(RadioFor(f.ids, wanted), 1);
        }
    }
    // Terminal type and inter-character delay are disabled, so their codes
    // are still those the page was built with; their radios stay as they are.
    m_settings = defaults;
}
