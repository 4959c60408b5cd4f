// The widgets of the pages that change a property: a check box or a list
// whose operator change goes through one of the main window's setters. The
// setter refreshes the pages unless it answers OPOS_E_CLOSED, so only then
// does the page put its widget back itself.
#pragma once

#include "platform/ui/dialog.h"

#include <cstdint>

class CMsrTestDlg;

namespace pages {

using Setter = std::int32_t (CMsrTestDlg::*)(std::int32_t);

// Selects the item whose index is value in list id of page; a value without
// an item leaves no selection.
void SelectValueItem(ui::Dialog& page, int id, std::int32_t value);

// A click on check box id: passes its state after the click to setter and
// undoes the click when the setter answers OPOS_E_CLOSED.
void CheckBoxThroughSetter(ui::Dialog& page, CMsrTestDlg& main, int id, Setter setter);

// A selection change in list id, whose item index is the property value:
// passes the index to setter. On OPOS_E_CLOSED the list goes back to the
// remembered value; otherwise the index becomes the remembered value, after
// the setter's refresh so that the operator's choice wins.
void ValueListThroughSetter(ui::Dialog& page, CMsrTestDlg& main, int id, Setter setter,
                            std::int32_t& remembered);

}  // namespace pages
