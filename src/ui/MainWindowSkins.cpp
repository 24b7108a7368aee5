// The main window's skins: the built-in ones when the store is empty, which skin it wears, the
// "S&kin..." submenu and the remembered position.
#include "MainWindow.h"

#include "MainMenu.h"

#include "config/ProfileItem.h"
#include "monitor/DataShare.h"
#include "monitor/Status.h"
#include "skins/BuiltInSkins.h"
#include "skins/DataSkins.h"
#include "skins/MainWindowSkin.h"

namespace vestrel {

void TfmMain::WireSkins()
{
    if (!m_skins)
        return;
    m_skins->OnEmptySkin = [this](store::TPersistentComponent*) { AddBuiltInSkins(*m_skins); };
    m_skins->OnSkinChange = [this](TDataSkins*, TSkinItemEx*) {
        m_redrawBytes = true;
        BuildSkinsMenu();
    };
}

SkinChangeHooks TfmMain::skinHooks()
{
    SkinChangeHooks hooks;
    hooks.hideWindow = [this] {
        const bool visible = isVisible();
        hide();
        return visible;
    };
    hooks.resetFigures = [this] {
        m_figures.ResetForSkin();
        m_redrawBytes = true;
    };
    hooks.restoreWindow = [this](bool wasVisible) {
        if (wasVisible && !m_hidden)
            show();
    };
    return hooks;
}

void TfmMain::ApplyCurrentSkin()
{
    TStatus& status = m_ctx.data.Status();
    TProfileItem* profile = status.Profile();
    if (m_skins && profile && m_skins->SkinsEx().Count() > 0)
        ApplyShownSkin(*m_skins, status.Tax(), *profile, skinHooks());
}

void TfmMain::BuildSkinsMenu()
{
    if (!m_skins)
        return;
    const TSkinItemEx* current = m_skins->CurrentSkin();
    FillSkinMenu(m_menu->Skins(), *m_skins, current ? current->Nome() : QString(), [this](const QString& name) {
        TProfileItem* profile = m_ctx.data.Status().Profile();
        if (!profile)
            return;
        // A skin chosen by hand becomes the profile's, worn until a tariff names its own.
        profile->SetSkinName(name);
        ApplyShownSkin(*m_skins, nullptr, *profile, skinHooks());
    });
}

void TfmMain::rememberSkinPosition()
{
    if (m_skins)
        m_skins->RememberPosition();
}

} // namespace vestrel
