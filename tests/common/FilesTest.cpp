#include "common/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

using namespace vestrel;
using namespace Qt::Literals::StringLiterals;

namespace {

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

} // namespace

TEST(Files, DeleteFileForcedRemovesAReadOnlyFile)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(u"Connections.dat"_s);
    touch(name);
    ASSERT_TRUE(QFile::setPermissions(name, QFileDevice::ReadOwner));
    EXPECT_TRUE(DeleteFileForced(name));
    EXPECT_FALSE(QFile::exists(name));
    EXPECT_FALSE(DeleteFileForced(name));
}

TEST(Files, MakeOwnerWritableAddsOnlyTheOwnersWrite)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(u"Skin.dat"_s);
    touch(name);
    ASSERT_TRUE(QFile::setPermissions(name, QFileDevice::ReadOwner | QFileDevice::ReadOther));
    EXPECT_TRUE(MakeOwnerWritable(name));
    EXPECT_EQ(QFile::permissions(name) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    EXPECT_FALSE(MakeOwnerWritable(dir.filePath(u"missing"_s)));
}

TEST(Files, ListFilesMatchesEveryPattern)
{
    QTemporaryDir dir;
    const QString base = dir.path() + u"/Suoni"_s;
    ASSERT_TRUE(QDir().mkpath(base + u"/cartella.wav"_s));
    for (const QString& name : {u"a.wav"_s, u"B.WAV"_s, u"c.txt"_s, u".nascosto.wav"_s})
        touch(base + u'/' + name);
    const QString p = base + u'/';

    struct Case {
        const char* name;
        QString patterns;
        QStringList expected;
    };
    const Case cases[] = {
        {"one pattern, case ignored, hidden included, directories left out", p + u"*.wav"_s,
         {p + u".nascosto.wav"_s, p + u"a.wav"_s, p + u"B.WAV"_s}},
        {"several patterns in order", p + u"*.txt;"_s + p + u"a.*"_s,
         {p + u"c.txt"_s, p + u"a.wav"_s}},
        {"a file matched twice is listed once", p + u"a.*; "_s + p + u"*.wav"_s,
         {p + u"a.wav"_s, p + u".nascosto.wav"_s, p + u"B.WAV"_s}},
        {"no match", p + u"*.mid"_s, {}},
        {"missing directory", dir.path() + u"/nessuna/*.wav"_s, {}},
        {"empty patterns", u" ; ;"_s, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ListFiles(c.patterns), c.expected);
    }

    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(base));
    EXPECT_EQ(ListFiles(u"*.txt"_s), QStringList{u"c.txt"_s});
    QDir::setCurrent(saved);
}
