#pragma once

#include <QString>

#include <functional>

class QMenu;

namespace vestrel {

class TDataSkins;
class TProfileItem;
class TTaxItem;

// The skin the main window shows: the current tariff's when it names one, else the profile's.
QString ShownSkinName(const TTaxItem* tax, const TProfileItem& profile);

// What the main window does around a change of skin.
struct SkinChangeHooks {
    // Hides the window; returns whether it was visible.
    std::function<bool()> hideWindow;
    // Sets the figure labels to their empty texts.
    std::function<void()> resetFigures;
    std::function<void(bool wasVisible)> restoreWindow;
};

// Applies the shown skin unless it is the current one, and stores its name as the profile's
// skin. When it cannot be applied: with a single skin the skin file is deleted (and no longer
// saved) and the corruption is raised; otherwise the user is told, the failing reference (the
// tariff's or the profile's) is replaced with the first other skin, and that one is applied,
// its own failure passing on.
void ApplyShownSkin(TDataSkins& skins, TTaxItem* tax, TProfileItem& profile,
                    const SkinChangeHooks& hooks);

// The "S&kin..." submenu: one checkable item per skin, the current one checked; choosing one
// calls `choose` with its name.
void FillSkinMenu(QMenu* menu, const TDataSkins& skins, const QString& current,
                  const std::function<void(const QString&)>& choose);

} // namespace vestrel
