#include "BuiltInSkins.h"

#include "DataSkins.h"
#include "MainWindowLayout.h"
#include "SkinArtwork.h"
#include "SkinConvert.h"

#include "config/ProfileItem.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

void setControl(TControlItem& item, const QPoint& at, int fontPixels, bool bold, qint32 color) {
    item.SetLeft(at.x());
    item.SetTop(at.y());
    store::TFont& font = item.Font();
    font.SetCharset(store::DEFAULT_CHARSET);
    font.SetName(QString::fromLatin1(DesignFontName));
    font.SetHeight(-fontPixels);
    font.SetPitch(store::fpDefault);
    font.SetStyle(bold ? 1u << store::fsBold : 0u);
    font.SetColor(color);
    item.Glyph().SetImage(ButtonArtwork(item.Name()));
}

void addDefaultSkin(TDataSkins& skins) {
    TPicture picture;
    picture.SetImage(DefaultSkinArtwork());
    picture.SetTransparent(true);
    TSkinItemEx* item = skins.AddSkin(
        DefaultSkinName(),
        u"La skin di Vestrel: un pesciolino che nuota tra i conti della bolletta"_s, &picture);
    TSkinFileEx& file = item->SkinFileEx();
    file.Unpack();
    for (const ArtworkPlacement& p : DefaultSkinPlacements())
        setControl(*file.Component()->Controls().FindOrAdd(QString::fromLatin1(p.name)), p.at,
                   p.fontPixels, p.bold, p.color);
    file.Pack();
    file.Release();
}

// The design layout with every control 23 pixels to the left and the elapsed time at Left 1:
// the four figures fill the navy strip, everything else lies outside it.
void addOldStyleSkin(TDataSkins& skins) {
    TSkinItemEx* item = skins.AddSkin(OldStyleSkinName(), u"Per i nostalgici... ;)"_s, nullptr);
    TSkinFileEx& file = item->SkinFileEx();
    file.SetColorForm(clNavy);
    file.SetHeightForm(14);
    file.SetWidthForm(199);
    file.Unpack();
    for (const DesignControl& d : MainWindowDesign()) {
        const QString name = QString::fromLatin1(d.name);
        const int left = name == u"lbTempoTrascorso"_s ? 1 : d.geometry.x() - 23;
        setControl(*file.Component()->Controls().FindOrAdd(name), QPoint(left, d.geometry.y()),
                   -DesignFontHeight, false, d.color);
    }
    file.Pack();
    file.Release();
}

} // namespace

QString OldStyleSkinName() {
    return u"Skin old style"_s;
}

void AddBuiltInSkins(TDataSkins& skins) {
    if (!skins.FindSkin(DefaultSkinName()))
        addDefaultSkin(skins);
    if (!skins.FindSkin(OldStyleSkinName()))
        addOldStyleSkin(skins);
}

} // namespace vestrel
