// Dialog-unit conversion from the dialog font's average character size.
#include "platform/ui/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>

namespace ui {

QFont DialogFont(const DialogTemplate& tpl) {
    QFont font = QApplication::font();
    if (tpl.pointSize > 0) {
        font.setPointSize(tpl.pointSize);
    }
    return font;
}

BaseUnits BaseUnitsOf(const QFont& font) {
    static const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics fm(font);
    // The width of the 52 letters over 52, rounded to the nearest pixel.
    const int width = fm.horizontalAdvance(kLetters);
    BaseUnits units;
    units.cx = (width / 26 + 1) / 2;
    units.cy = fm.height();
    if (units.cx <= 0) {
        units.cx = 1;
    }
    if (units.cy <= 0) {
        units.cy = 1;
    }
    return units;
}

int DuToPixels(int du, int base, int divisor) {
    const long long product = static_cast<long long>(du) * base;
    // Round half away from zero, as the platform's multiply-divide does.
    const long long half = divisor / 2;
    const long long rounded = product >= 0 ? (product + half) / divisor : -((-product + half) / divisor);
    return static_cast<int>(rounded);
}

}  // namespace ui
