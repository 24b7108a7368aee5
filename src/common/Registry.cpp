#include "Registry.h"

#include "ProcessValues.h"

#include <QByteArray>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>
#include <QtEndian>

#include <bit>
#include <cmath>
#include <optional>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

QString& replacedFile()
{
    static QString path;
    return path;
}

QString key(const QString& section, const QString& name)
{
    QString group = section;
    group.replace(u'\\', u'/');
    while (group.endsWith(u'/'))
        group.chop(1);
    return group.isEmpty() ? name : group + u'/' + name;
}

QVariant read(const QString& section, const QString& name)
{
    QSettings settings(RegistryFile(), QSettings::IniFormat);
    return settings.value(key(section, name));
}

bool write(const QString& section, const QString& name, const QVariant& value)
{
    QSettings settings(RegistryFile(), QSettings::IniFormat);
    if (!settings.isWritable())
        return false;
    settings.setValue(key(section, name), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

// The text of a value; an unquoted comma in a hand-edited file makes QSettings read a list.
std::optional<QString> text(const QVariant& value)
{
    if (!value.isValid())
        return std::nullopt;
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u", "_s);
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return std::nullopt;
}

std::optional<int> integer(const QVariant& value)
{
    const std::optional<QString> s = text(value);
    if (!s)
        return std::nullopt;
    bool ok = false;
    const int number = s->trimmed().toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

} // namespace

QString RegistryFile()
{
    if (!replacedFile().isEmpty())
        return replacedFile();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/Kelvane/"_s + ApplicationTitle() + u".ini"_s;
}

void SetRegistryFile(const QString& path)
{
    replacedFile() = path;
}

int ReadRegInteger(const QString& section, const QString& name, int defaultValue)
{
    return integer(read(section, name)).value_or(defaultValue);
}

bool WriteRegInteger(const QString& section, const QString& name, int value)
{
    return write(section, name, QString::number(value));
}

bool ReadRegBool(const QString& section, const QString& name, bool defaultValue)
{
    const std::optional<int> number = integer(read(section, name));
    return number ? *number != 0 : defaultValue;
}

bool WriteRegBool(const QString& section, const QString& name, bool value)
{
    return write(section, name, value ? u"1"_s : u"0"_s);
}

QString ReadRegString(const QString& section, const QString& name, const QString& defaultValue)
{
    return text(read(section, name)).value_or(defaultValue);
}

void WriteRegString(const QString& section, const QString& name, const QString& value)
{
    write(section, name, value);
}

TDateTime ReadRegDate(const QString& section, const QString& name, TDateTime defaultValue)
{
    const QVariant value = read(section, name);
    if (value.typeId() != QMetaType::QByteArray)
        return defaultValue;
    const QByteArray bytes = value.toByteArray();
    if (bytes.size() != 8)
        return defaultValue;
    const double date = std::bit_cast<double>(qFromLittleEndian<quint64>(bytes.constData()));
    return std::isfinite(date) ? date : defaultValue;
}

void WriteRegDate(const QString& section, const QString& name, TDateTime value)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian(std::bit_cast<quint64>(value), bytes.data());
    write(section, name, bytes);
}

} // namespace vestrel
