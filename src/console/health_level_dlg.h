// CHealthLevelDlg: the modal dialog (template 136) that asks the level of a
// CheckHealth call: Internal (1), External (2) or InterActive (3).
#pragma once

#include "platform/ui/dialog.h"

#include <cstdint>

class CHealthLevelDlg : public ui::Dialog {
public:
    explicit CHealthLevelDlg(ui::Dialog* parent);

    bool OnInitDialog() override;

    // The chosen OPOS health-check level; starts at 1 (internal) and is
    // changed only by the operator's clicks on the radio buttons.
    std::int32_t m_nLevel = 1;
};
