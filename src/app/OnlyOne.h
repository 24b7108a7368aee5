#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace vestrel {

// The single-instance guard. The first copy holds a lock file and listens on a local socket,
// both named by MutexStr (and the user, so two users each run their own copy); a later copy finds
// the lock held, hands its two 32-bit values to the first through the socket and is told so by
// OnAlreadyRun. The first copy receives them in OnNotifyRun.
class TOnlyOne : public QObject {
public:
    static constexpr const char16_t* DefaultMutex = u"{341C5EB0-4A0F-11D2-9381-004033275914}";

    // `directory` holds the lock file (default: the user's runtime directory, else the temporary
    // one).
    explicit TOnlyOne(QObject* owner = nullptr, const QString& directory = {});
    ~TOnlyOne() override;

    QString MutexStr() const { return m_mutex; }
    void SetMutexStr(const QString& name) { m_mutex = name; }

    // True when this copy is the first; otherwise the values have been handed over (as far as
    // the first copy could be reached) and OnAlreadyRun has been raised.
    bool CheckInstance(quint32 first, quint32 second);
    bool IsFirst() const { return m_server != nullptr; }

    std::function<void(quint32 first, quint32 second)> OnNotifyRun;
    std::function<void()> OnAlreadyRun;

private:
    QString serverName() const;
    void handOver(quint32 first, quint32 second);
    void listen();
    void receive(QLocalSocket* socket);

    QString m_mutex;
    QString m_directory;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace vestrel
