#include "MainWindowSkin.h"

#include "DataSkins.h"

#include "common/Dialogs.h"
#include "common/VestrelError.h"
#include "config/ProfileItem.h"
#include "tariff/TaxItem.h"

#include <QActionGroup>
#include <QMenu>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

void applyNamed(TDataSkins& skins, const QString& name, TProfileItem& profile,
                const SkinChangeHooks& hooks) {
    const bool wasVisible = hooks.hideWindow ? hooks.hideWindow() : false;
    if (hooks.resetFigures)
        hooks.resetFigures();
    try {
        skins.ApplySkin(name);
    } catch (...) {
        if (hooks.restoreWindow)
            hooks.restoreWindow(wasVisible);
        throw;
    }
    profile.SetSkinName(name);
    if (hooks.restoreWindow)
        hooks.restoreWindow(wasVisible);
}

} // namespace

QString ShownSkinName(const TTaxItem* tax, const TProfileItem& profile) {
    if (tax && !tax->SkinName().isEmpty())
        return tax->SkinName();
    return profile.SkinName();
}

void ApplyShownSkin(TDataSkins& skins, TTaxItem* tax, TProfileItem& profile,
                    const SkinChangeHooks& hooks) {
    const QString name = ShownSkinName(tax, profile);
    if (skins.CurrentSkin() && SameSkinName(skins.CurrentSkin()->Nome(), name))
        return;
    try {
        applyNamed(skins, name, profile, hooks);
        return;
    } catch (const VestrelError&) {
        if (skins.SkinsEx().Count() <= 1) {
            // Deleted and unbound, so the damaged skin is not written back on the way out.
            skins.RestoreFactoryDefaults();
            throw VestrelError(
                u"L'unica skin disponibile è corrotta!\rIl file skin.dat verrà ricreato al prossimo riavvio di Vestrel"_s);
        }
    }
    ShowWarningBox(u"Impossibile caricare la skin "_s + name + u"\r"_s +
                   u"Carico la prima disponibile..."_s);
    // The first skin other than the failing one, so a damaged first skin cannot loop.
    QString first;
    for (int i = 0; i < skins.SkinsEx().Count() && first.isEmpty(); ++i)
        if (!SameSkinName(skins.SkinsEx()[i]->Nome(), name))
            first = skins.SkinsEx()[i]->Nome();
    if (tax && !tax->SkinName().isEmpty())
        tax->SetSkinName(first);
    else
        profile.SetSkinName(first);
    applyNamed(skins, first, profile, hooks);
}

void FillSkinMenu(QMenu* menu, const TDataSkins& skins, const QString& current,
                  const std::function<void(const QString&)>& choose) {
    const QString groupName = u"SkinMenuGroup"_s;
    for (QActionGroup* old :
         menu->findChildren<QActionGroup*>(groupName, Qt::FindDirectChildrenOnly))
        delete old;
    menu->clear();
    auto* group = new QActionGroup(menu);
    group->setObjectName(groupName);
    group->setExclusive(true);
    for (int i = 0; i < skins.SkinsEx().Count(); ++i) {
        const QString name = skins.SkinsEx()[i]->Nome();
        QString caption = name;
        caption.replace(u'&', u"&&"_s); // a skin name has no mnemonic
        QAction* action = menu->addAction(caption);
        action->setCheckable(true);
        action->setChecked(SameSkinName(name, current));
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, menu, [choose, name] {
            if (choose)
                choose(name);
        });
    }
}

} // namespace vestrel
