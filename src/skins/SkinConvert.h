#pragma once

#include "store/NestedObjects.h"

#include <QColor>
#include <QFont>
#include <QImage>

class QAbstractButton;
class QWidget;

namespace vestrel {

// A colour as stored: 0x00BBGGRR, system colours 0x800000nn, clNone for "no colour".
inline constexpr qint32 clNone = 0x1FFFFFFF;
inline constexpr qint32 clNavy = 0x800000;

constexpr qint32 RgbColor(int r, int g, int b) {
    return qint32((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// clNone gives an invalid QColor; system colours come from the application's palette.
QColor ToQColor(qint32 color);
// An invalid QColor gives clNone; alpha is dropped.
qint32 FromQColor(const QColor& color);

// Height < 0 is the character height in pixels, > 0 the cell height; Size is not used.
QFont ToQFont(const store::TFont& font);
// Records family, pixel height, style and pitch of the font and the colour; the character set
// is kept.
void AssignFont(store::TFont& target, const QFont& font, const QColor& color);

// The colour a control's text is drawn in, and setting it (labels and buttons alike).
QColor TextColorOf(const QWidget& control);
void SetTextColor(QWidget& control, const QColor& color);

// A button image as the skins keep it: the colour of its bottom-left pixel is see-through.
// Setting a non-empty image also makes the button 2 pixels wider and taller than it; an empty
// one removes the image and keeps the size.
void SetButtonGlyph(QAbstractButton& button, const QImage& glyph);
QImage ButtonGlyph(const QAbstractButton& button);

// The bottom-left pixel of an image as a stored colour; clNone for an empty image.
qint32 BottomLeftColor(const QImage& image);

} // namespace vestrel
