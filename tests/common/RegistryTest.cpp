#include "common/Registry.h"

#include "common/ProcessValues.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace vestrel;
using namespace Qt::Literals::StringLiterals;

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath(u"conf/Vestrel.ini"_s);
        SetRegistryFile(file);
    }
    void TearDown() override { SetRegistryFile({}); }

    // What another reader of the INI file sees.
    QVariant raw(const QString& key) const { return QSettings(file, QSettings::IniFormat).value(key); }
    void setRaw(const QString& key, const QVariant& value) const
    {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue(key, value);
    }

    QTemporaryDir dir;
    QString file;
};

} // namespace

TEST_F(Registry, ValuesRoundTripInTheirDocumentedForm)
{
    EXPECT_TRUE(WriteRegInteger(u"Settings\\fmMain\\1024x768"_s, u"Top"_s, -20));
    EXPECT_TRUE(WriteRegBool(u"Options"_s, u"Suoni"_s, true));
    WriteRegString(u"Options\\Statistiche"_s, u"Titolo"_s, u"Città, \"più\" @casa\r2"_s);
    const TDateTime date = EncodeDateTime(2024, 4, 1, 9, 5, 3, 7) + 1e-12;
    WriteRegDate(u"Options"_s, u"UltimoControllo"_s, date);

    EXPECT_EQ(ReadRegInteger(u"Settings\\fmMain\\1024x768"_s, u"Top"_s, 0), -20);
    EXPECT_TRUE(ReadRegBool(u"Options"_s, u"Suoni"_s, false));
    EXPECT_EQ(ReadRegString(u"Options\\Statistiche"_s, u"Titolo"_s, {}),
              u"Città, \"più\" @casa\r2"_s);
    EXPECT_EQ(ReadRegDate(u"Options"_s, u"UltimoControllo"_s, 0.0), date);

    EXPECT_EQ(raw(u"Settings/fmMain/1024x768/Top"_s), QVariant(u"-20"_s));
    EXPECT_EQ(raw(u"Options/Suoni"_s), QVariant(u"1"_s));
    WriteRegBool(u"Options"_s, u"Suoni"_s, false);
    EXPECT_EQ(raw(u"Options/Suoni"_s), QVariant(u"0"_s));
    const QByteArray bytes = raw(u"Options/UltimoControllo"_s).toByteArray();
    ASSERT_EQ(bytes.size(), 8);
    double stored = 0;
    std::memcpy(&stored, bytes.constData(), 8); // this machine is little-endian
    EXPECT_EQ(stored, date);
}

TEST_F(Registry, ExtremeIntegersRoundTrip)
{
    for (const int value : {std::numeric_limits<int>::min(), 0, std::numeric_limits<int>::max()}) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(WriteRegInteger(u"Options"_s, u"N"_s, value));
        EXPECT_EQ(ReadRegInteger(u"Options"_s, u"N"_s, 7), value);
    }
}

TEST_F(Registry, MissingValuesGiveTheDefault)
{
    WriteRegInteger(u"Options"_s, u"Other"_s, 1);
    EXPECT_EQ(ReadRegInteger(u"Options"_s, u"Top"_s, 20), 20);
    EXPECT_EQ(ReadRegInteger(u"NoSection"_s, u"Top"_s, 20), 20);
    EXPECT_TRUE(ReadRegBool(u"Options"_s, u"Flag"_s, true));
    EXPECT_EQ(ReadRegString(u"Options"_s, u"Text"_s, u"def"_s), u"def"_s);
    EXPECT_EQ(ReadRegDate(u"Options"_s, u"When"_s, 123.5), 123.5);
}

TEST_F(Registry, MalformedValuesGiveTheDefault)
{
    struct Case {
        const char* name;
        QVariant stored;
    };
    const Case notNumbers[] = {
        {"word", u"abc"_s},
        {"number with trailing text", u"12abc"_s},
        {"empty", u""_s},
        {"too large for an integer", u"99999999999"_s},
        {"binary", QByteArray("\x01\x02", 2)},
    };
    for (const Case& c : notNumbers) {
        SCOPED_TRACE(c.name);
        setRaw(u"Options/Value"_s, c.stored);
        EXPECT_EQ(ReadRegInteger(u"Options"_s, u"Value"_s, 42), 42);
        EXPECT_TRUE(ReadRegBool(u"Options"_s, u"Value"_s, true));
        EXPECT_FALSE(ReadRegBool(u"Options"_s, u"Value"_s, false));
    }
    const Case notDates[] = {
        {"text", u"45000.5"_s},
        {"seven bytes", QByteArray(7, '\0')},
        {"nine bytes", QByteArray(9, '\0')},
        {"not a number", QByteArray("\0\0\0\0\0\0\xf8\x7f", 8)},
    };
    for (const Case& c : notDates) {
        SCOPED_TRACE(c.name);
        setRaw(u"Options/When"_s, c.stored);
        EXPECT_EQ(ReadRegDate(u"Options"_s, u"When"_s, 1.25), 1.25);
    }
}

TEST_F(Registry, HandWrittenFileIsRead)
{
    QDir().mkpath(dir.filePath(u"conf"_s));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("[Options]\nWidth = 640\nEnabled=1\nName=uno, due\n");
    out.close();
    EXPECT_EQ(ReadRegInteger(u"Options"_s, u"Width"_s, 0), 640);
    EXPECT_TRUE(ReadRegBool(u"Options"_s, u"Enabled"_s, false));
    EXPECT_EQ(ReadRegString(u"Options"_s, u"Name"_s, {}), u"uno, due"_s);
}

TEST_F(Registry, FailedWritesReportFalseAndNeverThrow)
{
    QFile blocker(dir.filePath(u"blocker"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SetRegistryFile(dir.filePath(u"blocker/sub/Vestrel.ini"_s));
    EXPECT_FALSE(WriteRegInteger(u"Options"_s, u"Top"_s, 1));
    EXPECT_FALSE(WriteRegBool(u"Options"_s, u"Flag"_s, true));
    EXPECT_NO_THROW(WriteRegString(u"Options"_s, u"Text"_s, u"x"_s));
    EXPECT_NO_THROW(WriteRegDate(u"Options"_s, u"When"_s, 1.0));
    EXPECT_EQ(ReadRegInteger(u"Options"_s, u"Top"_s, 5), 5);
}

TEST_F(Registry, DefaultFileIsUnderTheConfigDirectory)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    SetRegistryFile({});
    EXPECT_EQ(RegistryFile(), dir.path() + u"/Kelvane/"_s + ApplicationTitle() + u".ini"_s);
    EXPECT_TRUE(WriteRegInteger(u"Options"_s, u"Top"_s, 3));
    EXPECT_TRUE(QFile::exists(RegistryFile()));
    qputenv("XDG_CONFIG_HOME", saved);
}
