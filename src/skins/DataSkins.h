#pragma once

#include "SkinControl.h"
#include "SkinItems.h"

#include "store/PersistentComponent.h"

#include <QList>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <functional>

namespace vestrel {

// The skin store ("Skin.dat") and the skinning of one window. Built with the window, it puts a
// skin surface into it and moves the window's controls onto the surface; applying a skin shapes
// the window and places its controls as the skin records them. A store built without a window
// (importing, tools) only holds data.
class TDataSkins : public store::TPersistentComponent {
public:
    using SkinNotify = std::function<void(TDataSkins* sender, TSkinItemEx* skin)>;

    explicit TDataSkins(QWidget* skinnedWindow = nullptr, QObject* owner = nullptr);
    ~TDataSkins() override;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Older layout: read only to be converted, empty after loading.
    TSkinItems& Skins() { return m_skins; }
    const TSkinItems& Skins() const { return m_skins; }
    TSkinItemsEx& SkinsEx() { return m_skinsEx; }
    const TSkinItemsEx& SkinsEx() const { return m_skinsEx; }

    // Raised after a skin has been applied.
    SkinNotify OnSkinChange;
    // Not raised by the store.
    Notify OnHide;
    // Raised after loading when there is no skin.
    Notify OnEmptySkin;

    // ASCII case ignored.
    TSkinItemEx* FindSkin(const QString& name) const;
    // The name itself when no skin bears it, otherwise the name followed by 1, 2, … (first free).
    QString UniqueSkinName(const QString& name) const;

    // With a picture a bitmap skin, without (nullptr or empty) a classic one of 450 × 200 in
    // navy; the controls are those of the window as they are now.
    TSkinItemEx* AddSkin(const QString& name, const QString& description, const TPicture* picture);
    void ModifySkin(TSkinItemEx* item, const QString& name, const TPicture* picture,
                    const QString& description);
    void ApplySkin(const QString& name);
    // Applies the skin even when it is the current one (after it was changed).
    void ReapplySkin(const QString& name);
    // Records place, font and button image of every named control of the window into the skin.
    void CaptureControls(TSkinItemEx* item);
    // The same from other widgets standing for the window's controls (the designer's copies).
    void CaptureControls(TSkinItemEx* item, const QList<QWidget*>& controls);
    // Stores the window's position in the current skin.
    void RememberPosition();
    void SetTransparent(TSkinItemEx* item, bool transparent);
    void ImportSkins(const QString& fileName);

    void DoLoaded() override;

    // The last skin applied, or nullptr.
    TSkinItemEx* CurrentSkin() const { return m_current; }
    QWidget* SkinnedWindow() const { return m_window; }
    TSkinControl* Surface() const { return m_surface; }
    // The window's controls: every named widget on the surface or directly on the window.
    QList<QWidget*> SkinnedControls() const;

    // Called by a skin item being destroyed.
    void ForgetSkin(const TSkinItemEx* item);

private:
    void captureInto(TSkinComponent& component, const QList<QWidget*>& controls);
    void shapeWindow(TSkinFileEx& file);
    void placeControls(const TSkinComponent& component);
    void positionWindow(TSkinFileEx& file);
    TSkinItemEx* addConverted(const TSkinItem& old, const QString& name, bool keepPosition);
    void addImported(const TSkinItemEx& source, const QString& name);

    // Working state first: it must outlive the collections, whose items report their end here.
    QPointer<QWidget> m_window;
    QPointer<TSkinControl> m_surface;
    TSkinItemEx* m_current = nullptr;
    bool m_shaped = false;
    Qt::WindowFlags m_originalFlags;
    QSize m_originalSize;

    TSkinItems m_skins{this};
    TSkinItemsEx m_skinsEx{this};
};

} // namespace vestrel
