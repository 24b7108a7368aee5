#include "OnlyOne.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <unistd.h>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int HandOverTimeoutMs = 1000;
constexpr qint64 MessageSize = 8;

} // namespace

TOnlyOne::TOnlyOne(QObject* owner, const QString& directory)
    : QObject(owner), m_mutex(QString::fromUtf16(DefaultMutex)), m_directory(directory)
{
    if (m_directory.isEmpty())
        m_directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (m_directory.isEmpty())
        m_directory = QDir::tempPath();
}

TOnlyOne::~TOnlyOne() = default;

QString TOnlyOne::serverName() const
{
    return m_mutex + u"-"_s + QString::number(::getuid());
}

bool TOnlyOne::CheckInstance(quint32 first, quint32 second)
{
    m_lock = std::make_unique<QLockFile>(QDir(m_directory).filePath(serverName() + u".lock"_s));
    // A lock left by a copy that died is taken over by QLockFile.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        listen();
        return true;
    }
    handOver(first, second);
    if (OnAlreadyRun)
        OnAlreadyRun();
    return false;
}

void TOnlyOne::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a copy that died would refuse the name.
    QLocalServer::removeServer(serverName());
    if (!m_server->listen(serverName()))
        qWarning("TOnlyOne: %s", qPrintable(m_server->errorString()));
    QObject::connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, this, [this, socket] { receive(socket); });
            // The values may have arrived with the connection itself.
            receive(socket);
        }
    });
}

void TOnlyOne::receive(QLocalSocket* socket)
{
    if (socket->bytesAvailable() < MessageSize)
        return;
    QDataStream in(socket);
    in.setByteOrder(QDataStream::LittleEndian);
    quint32 first = 0;
    quint32 second = 0;
    in >> first >> second;
    socket->disconnectFromServer();
    if (OnNotifyRun)
        OnNotifyRun(first, second);
}

void TOnlyOne::handOver(quint32 first, quint32 second)
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(HandOverTimeoutMs))
        return;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << first << second;
    socket.write(message);
    socket.waitForBytesWritten(HandOverTimeoutMs);
    socket.waitForDisconnected(HandOverTimeoutMs);
}

} // namespace vestrel
