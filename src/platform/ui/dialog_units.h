// Dialog units: the font-relative measure of dialog templates. A horizontal
// unit is a quarter of the dialog font's average character width, a vertical
// unit an eighth of its height, so layouts scale with the font.
#pragma once

#include "platform/ui/dialog_template.h"

#include <QFont>

namespace ui {

// The dialog font's base units in pixels: the average width of the letters
// "A".."Z" and "a".."z" (rounded) and the font's height.
struct BaseUnits {
    int cx = 0;
    int cy = 0;
};

// The font a template asks for. Its face rarely exists here, so the
// application's default face is used at the template's point size.
QFont DialogFont(const DialogTemplate& tpl);
BaseUnits BaseUnitsOf(const QFont& font);

// The one conversion of dialog units to pixels: du * base / divisor, rounded
// to the nearest pixel (divisor 4 horizontally, 8 vertically).
int DuToPixels(int du, int base, int divisor);

}  // namespace ui
