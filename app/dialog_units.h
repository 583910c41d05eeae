#pragma once

// Positions and sizes of the dialogs are drawn in dialog units: a quarter of
// the dialog font's average character width horizontally and an eighth of its
// character height vertically. Mapping through the font keeps the arrangement
// of the templates whatever font and resolution the desktop uses.

#include <QFont>
#include <QRect>
#include <QSize>

#include "dialog/dialog_layout.h"

namespace tallowbrook::app {

class DialogUnits {
public:
    // Base units in pixels: average character width and character height.
    DialogUnits(int baseWidth, int baseHeight) : m_baseWidth(baseWidth), m_baseHeight(baseHeight) {}

    // The base units of `font`; the average width is taken over the 52 Latin
    // letters, as the platform that defined dialog units does.
    static DialogUnits forFont(const QFont& font);

    // Horizontal and vertical dialog units to pixels, rounded to the nearest.
    int toPixelsX(int units) const { return scale(units, m_baseWidth, 4); }
    int toPixelsY(int units) const { return scale(units, m_baseHeight, 8); }

    QRect toPixels(int x, int y, int width, int height) const {
        return {toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height)};
    }
    QRect toPixels(const dialog::DialogRect& r) const { return toPixels(r.x, r.y, r.width, r.height); }
    QSize toPixels(const dialog::DialogSize& s) const { return {toPixelsX(s.width), toPixelsY(s.height)}; }

private:
    static int scale(int units, int base, int divisor) { return (units * base + divisor / 2) / divisor; }

    int m_baseWidth;
    int m_baseHeight;
};

} // namespace tallowbrook::app
