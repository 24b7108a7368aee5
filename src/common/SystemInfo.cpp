#include "SystemInfo.h"

#include "ProcessValues.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/utsname.h>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

// The leading digits of a release component ("45-generic" gives 45); 0 when there are none.
qint64 leadingNumber(const QString& part)
{
    qsizetype digits = 0;
    while (digits < part.size() && digits < 18 && part.at(digits).isDigit() &&
           part.at(digits).unicode() < 128)
        ++digits;
    return digits == 0 ? 0 : part.left(digits).toLongLong();
}

QString readOsRelease()
{
    for (const QString& path : {u"/etc/os-release"_s, u"/usr/lib/os-release"_s}) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            return QString::fromUtf8(file.readAll());
    }
    return {};
}

} // namespace

QString OSName()
{
    return u"Linux"_s;
}

QString OSDescription()
{
    utsname names{};
    QString release;
    QString sysname = OSName();
    if (uname(&names) == 0) {
        release = QString::fromLocal8Bit(names.release);
        sysname = QString::fromLocal8Bit(names.sysname);
    }
    QString platform = PrettyNameOf(readOsRelease());
    if (platform.isEmpty())
        platform = sysname;
    return OSDescriptionOf(release, platform);
}

QString OSDescriptionOf(const QString& kernelRelease, const QString& platform)
{
    const QStringList parts = kernelRelease.split(u'.');
    auto component = [&](int i) { return i < parts.size() ? leadingNumber(parts.at(i)) : 0; };
    return OSName() + u" -> "_s + u"MajorVersion: "_s + QString::number(component(0)) +
           u" MinorVersion: "_s + QString::number(component(1)) + u" BuildNumber: "_s +
           QString::number(component(2)) + u" PlatformId: "_s + platform;
}

QString PrettyNameOf(const QString& osRelease)
{
    for (const QString& raw : osRelease.split(u'\n')) {
        const QString line = raw.trimmed();
        if (!line.startsWith(u"PRETTY_NAME="_s))
            continue;
        QString value = line.mid(12);
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        QString out;
        for (qsizetype i = 0; i < value.size(); ++i) {
            if (value.at(i) == u'\\' && i + 1 < value.size())
                ++i;
            out += value.at(i);
        }
        return out.trimmed();
    }
    return {};
}

QString FileVersion(const QString& file)
{
    const QString self = QFileInfo(ExecutablePath()).canonicalFilePath();
    const QString other = QFileInfo(file).canonicalFilePath();
    return !other.isEmpty() && other == self ? ProgramVersion() : u"???"_s;
}

QString LeggiVersione()
{
    return ProgramVersion();
}

} // namespace vestrel
