#include "SkinsFixture.h"

#include "skins/BuiltInSkins.h"
#include "skins/MainWindowSkin.h"
#include "skins/SkinControl.h"
#include "skins/SkinRegion.h"

#include "config/ProfileItem.h"
#include "tariff/TaxItem.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

using namespace vestrel;
using namespace vestrel::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QRgb Key = qRgb(255, 0, 255);

QRegion regionOfPixels(const QImage& image, const std::function<bool(int, int)>& inside) {
    QRegion region;
    for (int y = 0; y < image.height() - 1; ++y)
        for (int x = 0; x < image.width() - 1; ++x)
            if (inside(x, y))
                region += QRect(x, y, 1, 1);
    return region;
}

// A skin with a picture and two controls placed by hand.
TSkinItemEx* addPlacedSkin(TDataSkins& skins, const QString& name, const QImage& picture,
                           bool transparent) {
    const TPicture p = MakePicture(picture, transparent);
    TSkinItemEx* item = skins.AddSkin(name, {}, &p);
    TSkinFileEx& file = item->SkinFileEx();
    file.Unpack();
    TControlItem* spesa = file.Component()->Controls().Find(u"lbSpesa"_s);
    spesa->SetLeft(3);
    spesa->SetTop(4);
    spesa->Font().SetHeight(-15);
    spesa->Font().SetStyle(1u << store::fsBold);
    spesa->Font().SetColor(0xFF); // red
    TControlItem* info = file.Component()->Controls().Find(u"SpeedButton1"_s);
    info->SetLeft(30);
    info->SetTop(2);
    info->Glyph().SetImage(PlainPicture(20, 12));
    file.Pack();
    file.Release();
    return item;
}

class MainSkinTest : public SkinsTest {
protected:
    MainSkinTest() {
        AddBuiltInSkins(skins);
        hooks.hideWindow = [this] {
            calls << u"hide"_s;
            return true;
        };
        hooks.resetFigures = [this] { calls << u"reset"_s; };
        hooks.restoreWindow = [this](bool visible) {
            calls << (visible ? u"restore"_s : u"keep hidden"_s);
        };
    }

    SkinnedWindow window;
    TDataSkins skins{&window};
    TProfileItem profile;
    TTaxItem tax;
    SkinChangeHooks hooks;
    QStringList calls;
};

} // namespace

TEST_F(SkinsTest, SurfaceHoldsTheControlsAndPassesMouseButtonsToTheWindow) {
    SkinnedWindow window;
    TDataSkins skins(&window);
    TSkinControl* surface = skins.Surface();
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(surface->isHidden());
    for (const DesignControl& d : MainWindowDesign())
        EXPECT_EQ(window.control(d.name)->parentWidget(), surface) << d.name;
    EXPECT_EQ(window.control("ProgressBar")->parentWidget(), window.control("pnProgress"));
    EXPECT_EQ(skins.SkinnedControls().size(), qsizetype(MainWindowDesign().size()));

    skins.AddSkin(u"Classica"_s, {}, nullptr);
    skins.ApplySkin(u"Classica"_s);
    EXPECT_FALSE(surface->isHidden());
    EXPECT_EQ(surface->geometry(), window.rect());
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(200, 100), QPointF(200, 100),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(200, 100), QPointF(200, 100),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &release);
    EXPECT_EQ(window.presses, 1);
    EXPECT_EQ(window.releases, 1);
}

TEST(OutlineRegionTest, CutsTheKeyColourOutOfThePictureLessItsLastColumnAndRow) {
    struct Row {
        const char* name;
        QImage picture;
        QRegion expected;
    };
    QImage bordered = PlainPicture(8, 6, qRgb(0, 80, 80), Key);
    for (int x = 0; x < 8; ++x)
        bordered.setPixel(x, 0, Key), bordered.setPixel(x, 5, Key);
    for (int y = 0; y < 6; ++y)
        bordered.setPixel(0, y, Key), bordered.setPixel(7, y, Key);
    bordered.setPixel(3, 2, Key);

    // More than 256 colours: the 8-bit copy is quantised, the key must still be cut out exactly.
    QImage gradient(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            gradient.setPixel(x, y,
                              x == 0 || y == 0 || y == 29 ? Key : qRgb(x * 3, 60 + y * 4, 90 + x));

    // Far more runs than one batch.
    QImage checks(130, 130, QImage::Format_RGB32);
    for (int y = 0; y < 130; ++y)
        for (int x = 0; x < 130; ++x)
            checks.setPixel(x, y, (x + y) % 2 ? Key : qRgb(0, 90, 90));
    checks.setPixel(0, 129, Key);

    const std::vector<Row> rows = {
        {"key only at the bottom left", PlainPicture(7, 5), QRegion(0, 0, 6, 4)},
        {"transparent border and a hole", bordered, QRegion(1, 1, 6, 4) - QRegion(3, 2, 1, 1)},
        {"many colours", gradient, QRegion(1, 1, 38, 28)},
        {"more runs than a batch", checks,
         regionOfPixels(checks, [](int x, int y) { return (x + y) % 2 == 0; })},
        {"one pixel", PlainPicture(1, 1), QRegion()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(OutlineRegion(row.picture), row.expected);
    }
}

TEST_F(SkinsTest, ApplyingABitmapSkinShapesTheWindowAndPlacesTheControls) {
    SkinnedWindow window;
    TDataSkins skins(&window);
    QImage picture = PlainPicture(120, 40, qRgb(0, 90, 90), Key);
    for (int y = 0; y < 40; ++y)
        picture.setPixel(119, y, Key), picture.setPixel(118, y, Key);
    TSkinItemEx* item = addPlacedSkin(skins, u"Forma"_s, picture, true);
    TSkinItemEx* changed = nullptr;
    skins.OnSkinChange = [&changed](TDataSkins*, TSkinItemEx* skin) { changed = skin; };

    skins.ApplySkin(u"FORMA"_s);
    EXPECT_EQ(changed, item);
    EXPECT_EQ(skins.CurrentSkin(), item);
    EXPECT_TRUE(item->SkinFileEx().Unpacked());
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window.size(), QSize(120, 40));
    EXPECT_EQ(window.mask(), QRegion(0, 0, 118, 39));
    EXPECT_EQ(skins.Surface()->Picture(), picture);
    EXPECT_EQ(skins.Surface()->TransparentColor(), RgbColor(255, 0, 255));

    auto* spesa = window.control<QLabel>("lbSpesa");
    EXPECT_EQ(spesa->pos(), QPoint(3, 4));
    EXPECT_EQ(spesa->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(spesa->font().pixelSize(), 15);
    EXPECT_TRUE(spesa->font().bold());
    EXPECT_EQ(TextColorOf(*spesa), QColor(255, 0, 0));
    auto* info = window.control<QAbstractButton>("SpeedButton1");
    EXPECT_EQ(info->geometry(), QRect(30, 2, 22, 14));
    EXPECT_EQ(info->iconSize(), QSize(20, 12));

    skins.SetTransparent(item, false);
    skins.ReapplySkin(u"Forma"_s);
    EXPECT_TRUE(window.mask().isEmpty());
    EXPECT_EQ(skins.Surface()->TransparentColor(), clNone);

    skins.AddSkin(u"Classica"_s, {}, nullptr);
    skins.ApplySkin(u"Classica"_s);
    EXPECT_FALSE(item->SkinFileEx().Unpacked());
    EXPECT_EQ(window.size(), QSize(450, 200));
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(0, 0, 0x80));
}

TEST_F(SkinsTest, ARememberedPositionOffTheDesktopIsResetWhenApplied) {
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    struct Row {
        const char* name;
        QPoint remembered;
        QPoint placed;
    };
    const std::vector<Row> rows = {
        {"on the desktop", QPoint(100, 50), QPoint(100, 50)},
        {"partly off", QPoint(-100, -5), QPoint(-100, -5)},
        {"right of it", QPoint(desktop.right() + 10, 10), QPoint(0, 0)},
        {"above it", QPoint(10, -500), QPoint(0, 0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SkinnedWindow window;
        TDataSkins skins(&window);
        TSkinFileEx& file = skins.AddSkin(u"Posto"_s, {}, nullptr)->SkinFileEx();
        file.SetWidthForm(199);
        file.SetHeightForm(14);
        file.SetLeftForm(row.remembered.x());
        file.SetTopForm(row.remembered.y());
        skins.Save();
        skins.SetModified(false);
        skins.ApplySkin(u"Posto"_s);
        EXPECT_EQ(window.pos(), row.placed);
        EXPECT_EQ(QPoint(file.LeftForm(), file.TopForm()), row.placed);
        EXPECT_EQ(skins.Modified(), row.placed != row.remembered);
    }
}

TEST_F(SkinsTest, TheWindowsPositionAndControlsAreRecordedIntoTheSkin) {
    SkinnedWindow window;
    TDataSkins skins(&window);
    AddBuiltInSkins(skins);
    skins.ApplySkin(u"<Predefinita>"_s);
    window.move(120, 80);
    skins.RememberPosition();
    const TSkinFileEx& file = skins.CurrentSkin()->SkinFileEx();
    EXPECT_EQ(QPoint(file.LeftForm(), file.TopForm()), QPoint(120, 80));

    // What applying placed, capturing records again.
    TSkinFileEx& captured = skins.AddSkin(u"Copia"_s, {}, nullptr)->SkinFileEx();
    captured.Unpack();
    const TControlItems& applied = skins.CurrentSkin()->SkinFileEx().Component()->Controls();
    for (int i = 0; i < applied.Count(); ++i) {
        const TControlItem* a = applied[i];
        SCOPED_TRACE(a->Name().toStdString());
        const TControlItem* c = captured.Component()->Controls().Find(a->Name());
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(QPoint(c->Left(), c->Top()), QPoint(a->Left(), a->Top()));
        EXPECT_EQ(c->Font().Height(), a->Font().Height());
        EXPECT_EQ(c->Font().Style(), a->Font().Style());
        EXPECT_EQ(c->Font().Color(), a->Font().Color());
        EXPECT_EQ(c->Font().Name(), a->Font().Name());
        EXPECT_EQ(c->Glyph().Image(), a->Glyph().Image());
    }
}

TEST_F(SkinsTest, OldStyleShowsTheFourFiguresSideBySideInItsStrip) {
    SkinnedWindow window;
    TDataSkins skins(&window);
    AddBuiltInSkins(skins);
    skins.ApplySkin(u"Skin old style"_s);
    const QRect strip(0, 0, 199, 14);
    QRect previous;
    for (const char* name : {"lbTempoTrascorso", "lbNumeroScatti", "lbVestrel", "lbSpesa"}) {
        SCOPED_TRACE(name);
        const QRect r = window.control(name)->geometry();
        EXPECT_TRUE(strip.contains(r))
            << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
        EXPECT_FALSE(r.intersects(previous));
        previous = r;
    }
    EXPECT_EQ(window.control("lbTempoTrascorso")->x(), 1);
    for (const char* name : {"LabelBytesTransmitted", "pnProgress", "SpeedButtonStart"})
        EXPECT_FALSE(strip.intersects(window.control(name)->geometry())) << name;
}

TEST_F(MainSkinTest, TheTariffsSkinComesBeforeTheProfiles) {
    profile.SetSkinName(u"Del profilo"_s);
    EXPECT_EQ(ShownSkinName(nullptr, profile), u"Del profilo"_s);
    EXPECT_EQ(ShownSkinName(&tax, profile), u"Del profilo"_s);
    tax.SetSkinName(u"Della tariffa"_s);
    EXPECT_EQ(ShownSkinName(&tax, profile), u"Della tariffa"_s);
    EXPECT_EQ(ShownSkinName(nullptr, TProfileItem()), u"<Predefinita>"_s);
}

TEST_F(MainSkinTest, ApplyingHidesResetsAndStoresTheNameOnce) {
    tax.SetSkinName(u"skin OLD style"_s);
    ApplyShownSkin(skins, &tax, profile, hooks);
    EXPECT_EQ(calls, QStringList({u"hide"_s, u"reset"_s, u"restore"_s}));
    EXPECT_EQ(skins.CurrentSkin()->Nome(), u"Skin old style"_s);
    EXPECT_EQ(profile.SkinName(), u"skin OLD style"_s);

    calls.clear();
    ApplyShownSkin(skins, &tax, profile, hooks);
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainSkinTest, ASkinThatFailsGivesWayToTheFirstOne) {
    struct Row {
        const char* name;
        QString taxSkin;
        QString profileSkin;
        QString failing;
        QString fallback;
    };
    const std::vector<Row> rows = {
        {"missing tariff skin", u"Sparita"_s, u"Skin old style"_s, u"Sparita"_s,
         u"<Predefinita>"_s},
        {"missing profile skin", QString(), u"Sparita"_s, u"Sparita"_s, u"<Predefinita>"_s},
        {"damaged first skin", QString(), u"<Predefinita>"_s, u"<Predefinita>"_s,
         u"Skin old style"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SkinnedWindow w;
        TDataSkins s(&w);
        AddBuiltInSkins(s);
        if (row.name == std::string("damaged first skin"))
            s.FindSkin(row.failing)->SkinFileEx().SetData("rotta");
        TTaxItem t;
        t.SetSkinName(row.taxSkin);
        TProfileItem p;
        p.SetSkinName(row.profileSkin);
        ScriptedDialogs boxes;
        ApplyShownSkin(s, &t, p, hooks);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, u"Impossibile caricare la skin "_s + row.failing +
                                           u"\rCarico la prima disponibile..."_s);
        EXPECT_EQ(s.CurrentSkin()->Nome(), row.fallback);
        EXPECT_EQ(p.SkinName(), row.fallback);
        EXPECT_EQ(t.SkinName(), row.taxSkin.isEmpty() ? QString() : row.fallback);
    }
}

TEST_F(MainSkinTest, TheOnlySkinFailingDeletesTheSkinFile) {
    TDataSkins single(&window);
    single.SetFileName(path());
    TSkinItemEx* only = single.AddSkin(u"Unica"_s, {}, nullptr);
    only->SkinFileEx().SetData("rotta");
    single.Save();
    profile.SetSkinName(u"Unica"_s);
    try {
        ApplyShownSkin(single, nullptr, profile, hooks);
        FAIL() << "no error raised";
    } catch (const VestrelError& e) {
        EXPECT_EQ(
            e.message(),
            u"L'unica skin disponibile è corrotta!\rIl file skin.dat verrà ricreato al prossimo riavvio di Vestrel"_s);
    }
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_TRUE(single.FileName().isEmpty());
    EXPECT_EQ(calls.last(), u"restore"_s);
}

TEST_F(MainSkinTest, SkinMenuListsEverySkinWithTheCurrentOneChecked) {
    skins.AddSkin(u"Blu & Oro"_s, {}, nullptr);
    QMenu menu;
    QString chosen;
    const auto choose = [&chosen](const QString& name) { chosen = name; };
    FillSkinMenu(&menu, skins, u"blu & oro"_s, choose);
    FillSkinMenu(&menu, skins, u"blu & oro"_s, choose); // refilled, not added to
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), u"<Predefinita>"_s);
    EXPECT_EQ(actions[2]->text(), u"Blu && Oro"_s);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(actions[i]->isChecked(), i == 2) << i;
    actions[1]->trigger();
    EXPECT_EQ(chosen, u"Skin old style"_s);
    EXPECT_TRUE(actions[1]->isChecked());
    EXPECT_FALSE(actions[2]->isChecked());
}

// Renders the window in both built-in skins to /tmp for a look; outside the outline is drawn as
// a checkerboard.
TEST_F(MainSkinTest, BuiltInSkinsRenderReadably) {
    window.control<QLabel>("lbTempoTrascorso")->setText(u"1.23.45"_s);
    window.control<QLabel>("lbNumeroScatti")->setText(u"37"_s);
    window.control<QLabel>("lbVestrel")->setText(u"-0.12.34"_s);
    window.control<QLabel>("lbSpesa")->setText(u"£ 4.321"_s);
    window.control<QLabel>("LabelBytesTransmitted")->setText(u"1.234.567"_s);
    window.control<QLabel>("LabelBytesReceived")->setText(u"12.345.678"_s);
    window.show();
    for (const auto& [name, file] : {std::pair{u"<Predefinita>"_s, u"/tmp/skin-predefinita.png"_s},
                                     std::pair{u"Skin old style"_s, u"/tmp/skin-oldstyle.png"_s}}) {
        skins.ApplySkin(name);
        QApplication::processEvents();
        const QImage shot = window.grab().toImage();
        QImage scaled(shot.size() * 3, QImage::Format_RGB32);
        QPainter p(&scaled);
        for (int y = 0; y < scaled.height(); y += 6)
            for (int x = 0; x < scaled.width(); x += 6)
                p.fillRect(x, y, 6, 6,
                           (x / 6 + y / 6) % 2 ? QColor(220, 220, 220) : QColor(255, 255, 255));
        const QRegion outline = window.mask().isEmpty() ? QRegion(window.rect()) : window.mask();
        QImage shaped = shot.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < shaped.height(); ++y)
            for (int x = 0; x < shaped.width(); ++x)
                if (!outline.contains(QPoint(x, y)))
                    shaped.setPixel(x, y, 0);
        p.drawImage(scaled.rect(), shaped);
        p.end();
        EXPECT_TRUE(scaled.save(file));
    }
    skins.ApplySkin(u"<Predefinita>"_s);
    const QRegion outline = window.mask();
    EXPECT_FALSE(outline.contains(QPoint(0, window.height() - 1)));
    for (const char* name : {"lbTempoTrascorso", "lbSpesa", "SpeedButtonStart", "pnProgress"})
        EXPECT_TRUE(outline.contains(window.control(name)->geometry())) << name;
}
