// CDIOPropertySheet: the modal reader settings sheet opened by the main
// window's DirectIO handler. OK, Cancel and Apply end the modal run with
// their own IDs; Help does nothing. No page is asked to apply anything.
#pragma once

#include "platform/ui/property_sheet.h"

#include <string>

class CDIOPropertySheet : public ui::PropertySheet {
public:
    CDIOPropertySheet(std::string caption, ui::Dialog* parent, int firstPage);
    ~CDIOPropertySheet() override;
};
