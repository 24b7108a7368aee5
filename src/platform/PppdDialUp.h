#pragma once

#include "DialUpService.h"

#include <QMap>
#include <QMutex>
#include <QObject>

#include <functional>
#include <memory>

namespace vestrel {
class Timer;
}

namespace vestrel::platform {

// Where the pppd backend looks and what it runs; tests point these at a temporary folder and at
// small scripts of their own.
struct PppdPaths {
    QString peersDir = QStringLiteral("/etc/ppp/peers");
    // pppd's pid files: pppN.pid (pid, then the interface on the second line when pppd wrote it),
    // and ppp-NAME.pid or NAME.pid when it was started with `linkname NAME`.
    QString runDir = QStringLiteral("/run");
    QString netDir = QStringLiteral("/sys/class/net");
    // Where the command line of a pid is read, to tell which peer a pppN.pid belongs to.
    QString procDir = QStringLiteral("/proc");
    QString pon = QStringLiteral("pon");
    QString poff = QStringLiteral("poff");
};

// The IPv4 address of an interface as dotted text; empty when it has none.
using InterfaceAddressLookup = std::function<QString(const QString& interfaceName)>;
// The machine's own answer, from getifaddrs().
QString InterfaceIPv4Address(const QString& interfaceName);

// The number a peer dials: from the chat script its `connect` line runs, either the chat file it
// names with -f (a relative name counts from `peersDir`) or the inline script, the digits after
// ATD / ATDT / ATDP (or the -T number where the script dials \T). Empty when it names none.
QString PppdPeerNumber(const QString& peerFileText, const QString& peersDir);

// Dial-up through pppd, for machines without NetworkManager. The entries are the peer files;
// a connection is a peer whose pppd is alive, connected once its interface exists and has an
// IPv4 address. Dialling runs `pon PEER` and follows the peer on the Clock until it connects or
// `dialTimeoutMs` pass (then DialUpNoAnswer, and the attempt is stopped with `poff PEER`);
// hanging up runs `poff PEER`. The logins live in root-only secrets files: DialUpUnavailable.
class PppdDialUp final : public QObject, public DialUpService {
    Q_OBJECT
public:
    explicit PppdDialUp(PppdPaths paths = PppdPaths(),
                        InterfaceAddressLookup address = InterfaceIPv4Address, int pollMs = 500,
                        int dialTimeoutMs = 60'000);
    ~PppdDialUp() override;

    DialUpResult<QStringList> entries() override;
    DialUpResult<DialUpCredentials> entryCredentials(const QString& entry) override;
    DialUpCode setEntryCredentials(const QString& entry, const QString& userName,
                                   const QString& password, bool removePassword) override;
    DialUpResult<DialUpEntryProperties> entryProperties(const QString& entry) override;
    DialUpResult<std::vector<DialUpConnection>> connections() override;
    DialUpResult<qint32> connectionState(DialUpHandle handle) override;
    DialUpResult<QString> ipAddress(DialUpHandle handle) override;
    DialUpResult<QString> interfaceName(DialUpHandle handle) override;
    DialUpResult<DialUpHandle> dial(const QString& entry, const QString& userName,
                                    const QString& password, DialUpProgress progress) override;
    DialUpCode hangUp(DialUpHandle handle) override;

private:
    // What the run folder says of one peer.
    struct Link {
        bool alive = false;
        QString interfaceName;
    };
    struct Dialling {
        DialUpHandle handle = 0;
        QString peer;
        DialUpProgress progress;
        qint64 deadline = 0;
        qint32 lastState = -1;
        bool seenAlive = false;
    };

    QMap<QString, Link> links();
    // Connected, ConnectingDevice, or -1 when the peer has no live pppd.
    qint32 stateOf(const Link& link) const;
    DialUpHandle handleOf(const QString& peer);
    QString peerOf(DialUpHandle handle) const;
    bool isDialling(DialUpHandle handle) const;
    bool run(const QString& program, const QString& peer) const;
    void poll();

    PppdPaths m_paths;
    InterfaceAddressLookup m_address;
    int m_dialTimeoutMs;
    mutable QMutex m_mutex;
    QMap<QString, DialUpHandle> m_handles;
    DialUpHandle m_nextHandle = 1;
    std::vector<Dialling> m_dialling;
    std::unique_ptr<Timer> m_poll;
};

} // namespace vestrel::platform
