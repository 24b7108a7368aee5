#pragma once

#include "Schema.h"

namespace vestrel::store {

// Colours are written by name where they have one (clWhite), character sets likewise.
const IdentMap& ColorIdents();
const IdentMap& CharsetIdents();

inline constexpr qint32 clWindowText = qint32(0x80000008u);
inline constexpr qint32 clWhite = 0xFFFFFF;
inline constexpr qint32 DEFAULT_CHARSET = 1;

} // namespace vestrel::store
