#pragma once

#include <QImage>

namespace vestrel {

// The 16 × 16 dial-up icon drawn beside every phonebook entry: a telephone handset over a
// modem box with its two lights.
QImage DialUpImage();

} // namespace vestrel
