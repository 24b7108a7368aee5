#include "SkinsFixture.h"

#include "skins/BuiltInSkins.h"
#include "skins/SkinArtwork.h"

#include "common/ProcessExit.h"
#include "config/ProfileItem.h"

#include <QFile>

using namespace vestrel;
using namespace vestrel::testing;
using namespace vestrel::store;
using namespace Qt::Literals::StringLiterals;

namespace {

void addBuiltIns(TPersistentComponent* s) {
    AddBuiltInSkins(*static_cast<TDataSkins*>(s));
}

QStringList skinNames(const TDataSkins& skins) {
    QStringList names;
    for (int i = 0; i < skins.SkinsEx().Count(); ++i)
        names << skins.SkinsEx()[i]->Nome();
    return names;
}

QString failure(const std::function<void()>& action) {
    try {
        action();
    } catch (const VestrelError& e) {
        return e.message();
    }
    return {};
}

// The packed part of a skin whose picture record carries `payload`.
QByteArray packedPicture(const QByteArray& payload) {
    return StreamBytes()
        .header("TSkinComponent", "")
        .str("Picture.Data")
        .tag(ValueTag::Binary)
        .int32(qint32(payload.size()))
        .raw(payload)
        .end();
}

QByteArray bitmapPayload(const QByteArray& bmp, QByteArrayView className = "TBitmap") {
    return StreamBytes().str(className).int32(qint32(bmp.size())).raw(bmp);
}

// A BMP file header and the start of an info header claiming the given size.
QByteArray bmpHeader(qint32 width, qint32 height) {
    return StreamBytes()
        .raw("BM")
        .int32(70)
        .int32(0)
        .int32(54)
        .int32(40)
        .int32(width)
        .int32(height)
        .raw(QByteArray(44, '\0'));
}

} // namespace

TEST_F(SkinsTest, BuiltInSkinsAreMadeOnFirstStartAndReadBackByteForByte) {
    QByteArray saved;
    {
        SkinnedWindow window;
        TDataSkins skins(&window);
        skins.OnEmptySkin = &addBuiltIns;
        skins.SetFileName(path());
        EXPECT_EQ(skinNames(skins), QStringList({u"<Predefinita>"_s, u"Skin old style"_s}));
        EXPECT_EQ(skins.Version(), 1);
        skins.Save();
        saved = ReadFile(path());
    }
    SkinnedWindow window;
    TDataSkins skins(&window);
    bool emptied = false;
    skins.OnEmptySkin = [&emptied](TPersistentComponent*) { emptied = true; };
    skins.SetFileName(path());
    EXPECT_FALSE(emptied);
    EXPECT_FALSE(skins.Modified());
    EXPECT_EQ(encode(skins), saved);

    const TSkinFileEx& predefinita = skins.FindSkin(u"<Predefinita>"_s)->SkinFileEx();
    EXPECT_EQ(predefinita.Kind(), skBitmap);
    EXPECT_TRUE(predefinita.Transparent());
    EXPECT_EQ(predefinita.TransparentColor(), RgbColor(255, 0, 255));
    const TSkinItemEx* oldStyle = skins.FindSkin(u"Skin old style"_s);
    EXPECT_EQ(oldStyle->Descrizione(), u"Per i nostalgici... ;)"_s);
    EXPECT_EQ(oldStyle->SkinFileEx().Kind(), skForm);
    EXPECT_EQ(oldStyle->SkinFileEx().ColorForm(), 0x800000);
    EXPECT_EQ(oldStyle->SkinFileEx().WidthForm(), 199);
    EXPECT_EQ(oldStyle->SkinFileEx().HeightForm(), 14);

    skins.ApplySkin(u"<Predefinita>"_s);
    EXPECT_EQ(window.size(), DefaultSkinArtwork().size());
    EXPECT_FALSE(window.mask().isEmpty());
    skins.ApplySkin(u"Skin old style"_s);
    EXPECT_EQ(window.size(), QSize(199, 14));
    EXPECT_TRUE(window.mask().isEmpty());
}

TEST_F(SkinsTest, PackedPartHoldsTheBitmapAsABmpFileImage) {
    TDataSkins skins;
    AddBuiltInSkins(skins);
    TSkinFileEx& file = skins.FindSkin(u"<Predefinita>"_s)->SkinFileEx();
    EXPECT_FALSE(file.Unpacked());
    const QByteArray head =
        StreamBytes().header("TSkinComponent", "").str("Picture.Data").tag(ValueTag::Binary);
    ASSERT_TRUE(file.Data().startsWith(head));
    const QByteArray payload = file.Data().mid(head.size() + 4);
    EXPECT_TRUE(payload.startsWith(QByteArray("\x07TBitmap")));
    EXPECT_EQ(payload.mid(12, 2), "BM");

    file.Unpack();
    EXPECT_EQ(file.Component()->Picture().Image().convertToFormat(QImage::Format_RGB32),
              DefaultSkinArtwork());
    EXPECT_EQ(file.Component()->Controls().Count(), int(MainWindowDesign().size()));
    const TControlItem* start = file.Component()->Controls().Find(u"speedbuttonstart"_s);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->Glyph().Image().size(), QSize(16, 16));
    EXPECT_TRUE(file.Component()->Controls().Find(u"lbSpesa"_s)->Glyph().Empty());
}

TEST_F(SkinsTest, AddSkinRefusesANameTakenIgnoringAsciiCase) {
    TDataSkins skins;
    skins.AddSkin(u"Skin old style"_s, {}, nullptr);
    skins.AddSkin(u"Àrgo"_s, {}, nullptr);
    struct Row {
        QString name;
        bool refused;
    };
    for (const Row& row : {Row{u"Skin old style"_s, true}, Row{u"SKIN OLD STYLE"_s, true},
                           Row{u"skin OLD style"_s, true}, Row{u"àrgo"_s, false}}) {
        SCOPED_TRACE(row.name.toStdString());
        const int before = skins.SkinsEx().Count();
        const QString message = failure([&] { skins.AddSkin(row.name, {}, nullptr); });
        if (row.refused) {
            EXPECT_EQ(message, u"Impossibile aggiungere la skin: "_s + row.name +
                                   u"\r\rE' già presente una skin con questo nome!"_s);
            EXPECT_EQ(skins.SkinsEx().Count(), before);
        } else {
            EXPECT_EQ(message, QString());
            EXPECT_EQ(skins.SkinsEx().Count(), before + 1);
        }
    }
}

TEST_F(SkinsTest, AddSkinMakesABitmapSkinFromAPictureAndAClassicOneWithout) {
    TDataSkins skins;
    const TPicture picture =
        MakePicture(PlainPicture(30, 20, qRgb(1, 2, 3), qRgb(0x12, 0x34, 0x56)), true);
    const TSkinFileEx& bitmap = skins.AddSkin(u"Bitmap"_s, u"d"_s, &picture)->SkinFileEx();
    EXPECT_TRUE(skins.Modified());
    EXPECT_EQ(bitmap.Kind(), skBitmap);
    EXPECT_EQ(bitmap.TransparentColor(), 0x563412);
    EXPECT_TRUE(bitmap.Transparent());
    EXPECT_FALSE(bitmap.Unpacked());
    EXPECT_FALSE(bitmap.Data().isEmpty());

    const TSkinFileEx& classic = skins.AddSkin(u"Classica"_s, u"d"_s, nullptr)->SkinFileEx();
    EXPECT_EQ(classic.Kind(), skForm);
    EXPECT_EQ(classic.WidthForm(), 450);
    EXPECT_EQ(classic.HeightForm(), 200);
    EXPECT_EQ(classic.ColorForm(), 0x800000);
}

TEST_F(SkinsTest, ModifySkinRefusesAnotherSkinsNameAndKeepsItsOwn) {
    struct Row {
        QString newName;
        bool refused;
    };
    for (const Row& row : {Row{u"Due"_s, true}, Row{u"DUE"_s, true}, Row{u"Uno"_s, false},
                           Row{u"UNO"_s, false}, Row{u"Tre"_s, false}}) {
        SCOPED_TRACE(row.newName.toStdString());
        TDataSkins skins;
        TSkinItemEx* uno = skins.AddSkin(u"Uno"_s, u"prima"_s, nullptr);
        skins.AddSkin(u"Due"_s, {}, nullptr);
        const QString message =
            failure([&] { skins.ModifySkin(uno, row.newName, nullptr, u"dopo"_s); });
        if (row.refused) {
            EXPECT_EQ(message,
                      u"Impossibile modificare la skin "_s + row.newName + u" è già presente!"_s);
            EXPECT_EQ(uno->Nome(), u"Uno"_s);
            EXPECT_EQ(uno->Descrizione(), u"prima"_s);
        } else {
            EXPECT_EQ(message, QString());
            EXPECT_EQ(uno->Nome(), row.newName);
            EXPECT_EQ(uno->Descrizione(), u"dopo"_s);
            EXPECT_EQ(uno->SkinFileEx().Kind(), skForm);
        }
    }
}

TEST_F(SkinsTest, ModifySkinNeedsAPictureForABitmapSkinAndStoresANewOne) {
    TDataSkins skins;
    const TPicture first = MakePicture(PlainPicture(10, 10));
    TSkinItemEx* item = skins.AddSkin(u"Quadro"_s, {}, &first);
    EXPECT_EQ(
        failure([&] { skins.ModifySkin(item, u"Altro"_s, nullptr, {}); }),
        u"Impossibile modificare la skin: Altro\r\rImpossibile salvare la skin: non ha un'immagine associata!"_s);
    EXPECT_EQ(item->Nome(), u"Quadro"_s);

    TSkinItemEx* classic = skins.AddSkin(u"Classica"_s, {}, nullptr);
    const TPicture second = MakePicture(PlainPicture(12, 7, qRgb(9, 9, 9), qRgb(0, 0, 255)), true);
    skins.ModifySkin(classic, u"Classica"_s, &second, u"ora bitmap"_s);
    TSkinFileEx& file = classic->SkinFileEx();
    EXPECT_EQ(file.Kind(), skBitmap);
    EXPECT_EQ(file.TransparentColor(), RgbColor(0, 0, 255));
    EXPECT_TRUE(file.Transparent());
    EXPECT_FALSE(file.Unpacked());
    file.Unpack();
    EXPECT_EQ(file.Component()->Picture().Image(), second.Image());
}

TEST_F(SkinsTest, ImportSkinsAddsEveryOneUnderAFreeNameAtPositionZero) {
    {
        TDataSkins source;
        source.SetVersion(1);
        for (const QString& name : {u"A"_s, u"B"_s, u"a"_s}) {
            TSkinItemEx* item = source.SkinsEx().Add();
            item->SetNome(name);
            item->SetDescrizione(u"da "_s + name);
            item->SkinFileEx().SetKind(skForm);
            item->SkinFileEx().SetTopForm(50);
            item->SkinFileEx().SetLeftForm(60);
            item->SkinFileEx().SetWidthForm(77);
        }
        TSkinItem* old = source.Skins().Add();
        old->SetNome(u"Vecchia"_s);
        old->SkinFile().SetKind(skForm);
        old->SkinFile().SetTopForm(5);
        WriteStoreFile(path(u"import.dat"_s), source);
    }
    TDataSkins skins;
    skins.AddSkin(u"A"_s, {}, nullptr);
    skins.AddSkin(u"A1"_s, {}, nullptr);
    skins.Save();
    skins.ImportSkins(path(u"import.dat"_s));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(skinNames(skins),
              QStringList({u"A"_s, u"A1"_s, u"Vecchia"_s, u"A2"_s, u"B"_s, u"a3"_s}));
    for (const QString& name : {u"Vecchia"_s, u"A2"_s, u"B"_s, u"a3"_s}) {
        const TSkinFileEx& file = skins.FindSkin(name)->SkinFileEx();
        EXPECT_EQ(file.TopForm(), 0) << name.toStdString();
        EXPECT_EQ(file.LeftForm(), 0) << name.toStdString();
    }
    EXPECT_EQ(skins.FindSkin(u"a3"_s)->Descrizione(), u"da a"_s);
    EXPECT_EQ(skins.FindSkin(u"B"_s)->SkinFileEx().WidthForm(), 77);
}

TEST_F(SkinsTest, ImportSkinsTellsAboutAMissingOrDamagedFile) {
    TDataSkins skins;
    skins.ImportSkins(path(u"nessuno.dat"_s));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, u"Il file "_s + path(u"nessuno.dat"_s) + u" non esiste!"_s);
    EXPECT_EQ(skins.SkinsEx().Count(), 0);

    WriteFile(path(u"rotto.dat"_s), StreamBytes()
                                        .header("TDataSkins", "DataSkins")
                                        .str("Nope")
                                        .tag(ValueTag::Int8)
                                        .byte(1)
                                        .end());
    skins.ImportSkins(path(u"rotto.dat"_s));
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].text,
              u"Il file "_s + path(u"rotto.dat"_s) + u" non contiene skin valide!"_s);
    EXPECT_EQ(skins.SkinsEx().Count(), 0);
}

TEST_F(SkinsTest, OlderLayoutSkinsAreConvertedWhenLoaded) {
    const QImage picture = PlainPicture(40, 30, qRgb(20, 40, 60), qRgb(255, 0, 255));
    {
        TDataSkins old;
        old.SetVersion(1);
        TSkinItemEx* taken = old.SkinsEx().Add();
        taken->SetNome(u"Vecchia"_s);
        taken->SkinFileEx().SetKind(skForm);

        TSkinItem* bitmap = old.Skins().Add();
        bitmap->SetNome(u"Vecchia"_s);
        bitmap->SetDescrizione(u"di una volta"_s);
        TSkinFile& file = bitmap->SkinFile();
        file.SetKind(skBitmap);
        file.Picture().SetImage(picture);
        file.SetTransparent(true);
        file.SetTopForm(30);
        file.SetLeftForm(40);
        TControlItem* spesa = file.Controls().Add();
        spesa->SetName(u"lbSpesa"_s);
        spesa->SetLeft(5);
        spesa->SetTop(6);
        spesa->Font().SetHeight(-13);
        spesa->Font().SetColor(0xFFFF);

        TSkinItem* classic = old.Skins().Add();
        classic->SetNome(u"Classica"_s);
        classic->SkinFile().SetKind(skForm);
        classic->SkinFile().SetWidthForm(300);
        classic->SkinFile().SetHeightForm(20);
        classic->SkinFile().SetColorForm(0x808000);
        WriteStoreFile(path(), old);
    }
    ASSERT_TRUE(ReadFile(path()).contains("SkinFile.Picture.Data"));

    SkinnedWindow window;
    TDataSkins skins(&window);
    skins.SetFileName(path());
    EXPECT_EQ(skins.Skins().Count(), 0);
    EXPECT_EQ(skinNames(skins), QStringList({u"Vecchia"_s, u"Vecchia1"_s, u"Classica"_s}));

    TSkinFileEx& converted = skins.FindSkin(u"Vecchia1"_s)->SkinFileEx();
    EXPECT_EQ(skins.FindSkin(u"Vecchia1"_s)->Descrizione(), u"di una volta"_s);
    EXPECT_EQ(converted.Kind(), skBitmap);
    EXPECT_TRUE(converted.Transparent());
    EXPECT_EQ(converted.TransparentColor(), RgbColor(255, 0, 255));
    EXPECT_EQ(converted.TopForm(), 30);
    EXPECT_EQ(converted.LeftForm(), 40);
    converted.Unpack();
    EXPECT_EQ(converted.Component()->Picture().Image(), picture);
    const TControlItem* spesa = converted.Component()->Controls().Find(u"lbSpesa"_s);
    EXPECT_EQ(spesa->Left(), 5);
    EXPECT_EQ(spesa->Top(), 6);
    EXPECT_EQ(spesa->Font().Height(), -13);
    EXPECT_EQ(spesa->Font().Color(), 0xFFFF);
    // Controls the older skin did not know keep the window's place.
    EXPECT_EQ(converted.Component()->Controls().Find(u"lbVestrel"_s)->Left(),
              window.control("lbVestrel")->x());

    const TSkinFileEx& classic = skins.FindSkin(u"Classica"_s)->SkinFileEx();
    EXPECT_EQ(classic.Kind(), skForm);
    EXPECT_EQ(classic.WidthForm(), 300);
    EXPECT_EQ(classic.HeightForm(), 20);
    EXPECT_EQ(classic.ColorForm(), 0x808000);
}

TEST_F(SkinsTest, AFileOfAnotherVersionIsSetAsideAndTheProgramStops) {
    {
        TDataSkins other;
        other.SetVersion(2);
        WriteStoreFile(path(), other);
    }
    WriteFile(path(u"Skin.dat@error"_s), "vecchio");
    const QByteArray bytes = ReadFile(path());
    int exitCode = -1;
    SetTerminateHook([&exitCode](int code) { exitCode = code; });
    TDataSkins skins;
    EXPECT_THROW(skins.SetFileName(path()), ProcessTerminated);
    SetTerminateHook({});
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, DialogKind::Warning);
    EXPECT_EQ(
        dialogs.shown[0].text,
        u"La versione del file "_s + path() +
            u" non coincide!\rRiavviare l'applicazione e il file verrà ricreato correttamente."_s);
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_EQ(ReadFile(path(u"Skin.dat@error"_s)).size(), bytes.size());
}

TEST_F(SkinsTest, DamagedPackedBytesRaiseTheDecodersErrorAndLeaveNoCurrentSkin) {
    QByteArray bmp = TPicture::EncodeBmp(PlainPicture(4, 4));
    struct Row {
        const char* name;
        QByteArray data;
        QString message;
    };
    const QString where = u"Error reading TSkinComponent.Picture.Data: "_s;
    const std::vector<Row> rows = {
        {"not a stream", "garbage", u"Invalid stream format"_s},
        {"other graphic class", packedPicture(bitmapPayload(bmp, "TIcon")),
         where + u"Tipo di immagine non supportato: TIcon"_s},
        {"length past the end", packedPicture(bitmapPayload(bmp).left(40)),
         where + u"Stream read error"_s},
        {"not a BMP", packedPicture(bitmapPayload(QByteArray(60, 'x'))),
         where + u"Immagine bitmap non valida"_s},
        {"absurd size", packedPicture(bitmapPayload(bmpHeader(100000, 10))),
         where + u"Immagine bitmap non valida: dimensioni 100000 x 10"_s},
        {"truncated pixels", packedPicture(bitmapPayload(bmpHeader(50, 50))),
         where + u"Immagine bitmap non valida"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SkinnedWindow window;
        TDataSkins skins(&window);
        TSkinItemEx* item = skins.AddSkin(u"Rotta"_s, {}, nullptr);
        item->SkinFileEx().SetKind(skBitmap);
        item->SkinFileEx().SetData(row.data);
        EXPECT_EQ(failure([&] { skins.ApplySkin(u"Rotta"_s); }), row.message);
        EXPECT_EQ(skins.CurrentSkin(), nullptr);
        EXPECT_FALSE(item->SkinFileEx().Unpacked());
    }
}
