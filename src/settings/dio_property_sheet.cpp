// The reader settings sheet's command map.
#include "settings/dio_property_sheet.h"

#include <utility>

CDIOPropertySheet::CDIOPropertySheet(std::string caption, ui::Dialog* parent, int firstPage)
    : ui::PropertySheet(std::move(caption), parent, firstPage)
{
    MapCommand(ui::IDOK, [this] { EndDialog(ui::IDOK); });
    MapCommand(ui::IDCANCEL, [this] { EndDialog(ui::IDCANCEL); });
    MapCommand(ui::ID_APPLY_NOW, [this] { EndDialog(ui::ID_APPLY_NOW); });
    MapCommand(ui::IDHELP, [] {});
}

CDIOPropertySheet::~CDIOPropertySheet() = default;
