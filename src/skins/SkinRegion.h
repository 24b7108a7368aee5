#pragma once

#include <QImage>
#include <QRegion>

namespace vestrel {

// The outline of a transparent bitmap skin: the picture's rectangle less its last column and
// row, with every horizontal run of the see-through colour cut out. The picture is looked at in
// 8 bits per pixel, and the see-through colour is the palette index of its bottom-left pixel.
QRegion OutlineRegion(const QImage& picture);

// Cut-outs are subtracted this many at a time.
inline constexpr int OutlineBatch = 4064;

} // namespace vestrel
