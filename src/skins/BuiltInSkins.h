#pragma once

#include <QString>

namespace vestrel {

class TDataSkins;

QString OldStyleSkinName();

// Adds the skins the program comes with, each unless one of its name is already there: the
// transparent bitmap skin "<Predefinita>" and the classic strip "Skin old style". The main
// window's handler of OnEmptySkin.
void AddBuiltInSkins(TDataSkins& skins);

} // namespace vestrel
