#include "TrafficSysfs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

// ARPHRD_PPP: the link type of every pppd interface.
constexpr int PppLinkType = 512;

std::optional<QByteArray> readSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(4096);
}

std::optional<quint64> readNumber(const QString& path)
{
    const std::optional<QByteArray> text = readSmallFile(path);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const quint64 value = text->trimmed().toULongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

bool isWwan(const QString& dir)
{
    const std::optional<QByteArray> uevent = readSmallFile(dir + u"/uevent"_s);
    return uevent && uevent->split('\n').contains(QByteArrayLiteral("DEVTYPE=wwan"));
}

} // namespace

TrafficSysfs::TrafficSysfs(QString root) : m_root(std::move(root)) {}

QStringList TrafficSysfs::dialUpInterfaces()
{
    std::vector<std::pair<quint64, QString>> found;
    const QDir root(m_root);
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        const QString dir = root.filePath(name);
        if (readNumber(dir + u"/type"_s) == quint64(PppLinkType) || isWwan(dir))
            found.emplace_back(readNumber(dir + u"/ifindex"_s).value_or(0), name);
    }
    std::sort(found.begin(), found.end());
    QStringList names;
    for (const auto& entry : found)
        names << entry.second;
    return names;
}

TrafficReading TrafficSysfs::read(const QString& interfaceName)
{
    TrafficReading reading;
    const QString dir = m_root + u'/' + interfaceName;
    if (interfaceName.isEmpty() || interfaceName.contains(u'/') || !QFileInfo(dir).isDir())
        return reading;

    const QString sentFile = dir + u"/statistics/tx_bytes"_s;
    const QString receivedFile = dir + u"/statistics/rx_bytes"_s;
    const std::optional<quint64> sent = readNumber(sentFile);
    const std::optional<quint64> received = readNumber(receivedFile);
    const std::optional<quint64> index = readNumber(dir + u"/ifindex"_s);
    if (!sent || !received) {
        // The interface may have gone between the check and the reading.
        if (!QFileInfo(dir).isDir())
            return reading;
        reading.status = TrafficReading::Status::Failed;
        reading.error = u"Impossibile leggere "_s + (sent ? receivedFile : sentFile);
        return reading;
    }
    reading.status = TrafficReading::Status::Ok;
    reading.ifIndex = int(index.value_or(0));
    reading.bytesSent = *sent;
    reading.bytesReceived = *received;
    return reading;
}

QString TrafficSysfs::description() const
{
    return u"Contatori: "_s + m_root + u"/*/statistics"_s;
}

} // namespace vestrel::platform
