// CErrorResponseDlg: the modal dialog (template 135) in which the operator
// answers a read error: Retry (11), Clear (12) or Continue Input (13).
#pragma once

#include "platform/ui/dialog.h"

#include <cstdint>

class CErrorResponseDlg : public ui::Dialog {
public:
    explicit CErrorResponseDlg(ui::Dialog* parent);

    bool OnInitDialog() override;

    // The chosen error response. It starts as Continue Input, the choice the
    // dialog shows selected when it opens, so that OK without a click
    // returns what the operator sees; clicks on the radio buttons change it.
    std::int32_t m_nResponse;
};
