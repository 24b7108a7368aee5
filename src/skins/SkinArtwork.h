#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

#include <vector>

namespace vestrel {

// The see-through colour of the built-in pictures and button images.
inline constexpr QRgb ArtworkKey = 0xFFFF00FF;

// The built-in skin's background, drawn afresh (the same pixels every time): a rounded
// dark-teal panel with a fish, framed slots for the figures and a row for the buttons; outside
// the panel the see-through colour, also at the bottom-left pixel.
QImage DefaultSkinArtwork();

// The 16 × 16 image of one of the main window's buttons, on the see-through colour; empty for a
// name that is not a button.
QImage ButtonArtwork(const QString& buttonName);

// Where the built-in skin puts a control, in which font size and colour.
struct ArtworkPlacement {
    const char* name = nullptr;
    QPoint at;
    int fontPixels = 11;
    bool bold = false;
    qint32 color = 0; // stored form, 0x00BBGGRR
};
const std::vector<ArtworkPlacement>& DefaultSkinPlacements();

} // namespace vestrel
