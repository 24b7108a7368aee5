#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vestrel::store {

// Windows-1252, with a table of our own so no system codec is needed. The five bytes the code
// page leaves undefined map to the C1 controls of the same value, so every byte round-trips.
QString FromCp1252(QByteArrayView bytes);
// Characters outside the code page become '?'.
QByteArray ToCp1252(const QString& text);
char ToCp1252Char(char16_t c);

} // namespace vestrel::store
