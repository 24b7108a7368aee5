#pragma once

#include <QIcon>

namespace vestrel {

// The four 16 × 16 fish of the tray: the colour tells the band (green reduced, yellow full,
// red peak); the transparent one blinks while the mouse passes over the icon.
enum class Fish { Green, Yellow, Red, Transparent };

QIcon FishIcon(Fish fish);
// Drawn at any size; the tray uses 16.
QImage FishImage(Fish fish, int size = 16);

} // namespace vestrel
