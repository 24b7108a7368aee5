#include "PppdDialUp.h"

#include "common/Clock.h"
#include "common/Timer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <signal.h>

namespace vestrel::platform {

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString unquoted(QString word)
{
    if (word.size() >= 2 && (word.front() == u'"' || word.front() == u'\'')
        && word.back() == word.front())
        word = word.mid(1, word.size() - 2);
    return word;
}

// Text without the lines that are comments (pppd options and chat files both use #).
QString withoutComments(const QString& text)
{
    QStringList kept;
    for (const QString& line : text.split(u'\n'))
        if (!line.trimmed().startsWith(u'#'))
            kept << line;
    return kept.join(u'\n');
}

bool isBackupName(const QString& name)
{
    return name.endsWith(u'~') || name.endsWith(u".dpkg-old"_s) || name.endsWith(u".dpkg-new"_s)
           || name.endsWith(u".dpkg-dist"_s) || name.endsWith(u".bak"_s);
}

bool processAlive(qint64 pid)
{
    if (pid <= 0 || pid > 0x7fffffff)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// The peer a pppd process was started for: the word after `call` in its command line.
QString calledPeer(const QString& procDir, qint64 pid)
{
    const QList<QByteArray> args =
        readFile(u"%1/%2/cmdline"_s.arg(procDir).arg(pid)).split('\0');
    if (args.isEmpty() || !QFileInfo(QString::fromLocal8Bit(args.constFirst())).fileName()
                               .startsWith(u"pppd"_s))
        return {};
    for (qsizetype i = 1; i + 1 < args.size(); ++i)
        if (args.at(i) == "call")
            return QString::fromLocal8Bit(args.at(i + 1));
    return {};
}

} // namespace

QString InterfaceIPv4Address(const QString& interfaceName)
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return {};
    const QByteArray wanted = interfaceName.toLocal8Bit();
    QString result;
    for (const ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET || !a->ifa_name
            || wanted != a->ifa_name)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        sockaddr_in address{};
        std::memcpy(&address, a->ifa_addr, sizeof address);
        if (inet_ntop(AF_INET, &address.sin_addr, text, sizeof text)) {
            result = QString::fromLatin1(text);
            break;
        }
    }
    freeifaddrs(list);
    return result;
}

QString PppdPeerNumber(const QString& peerFileText, const QString& peersDir)
{
    QString command;
    for (const QString& raw : withoutComments(peerFileText).split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u"connect"_s) && line.size() > 7 && line.at(7).isSpace())
            command = unquoted(line.mid(7).trimmed());
    }
    if (command.isEmpty())
        return {};
    QString script = command;
    QString telephone; // chat's -T value, dialled where the script says \T
    const QStringList words = command.split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        if (words.at(i) == u"-f"_s) {
            const QString name = unquoted(words.at(i + 1));
            script = withoutComments(QString::fromLocal8Bit(
                readFile(QDir::isAbsolutePath(name) ? name : QDir(peersDir).filePath(name))));
        } else if (words.at(i) == u"-T"_s) {
            telephone = unquoted(words.at(i + 1));
        }
    }
    static const QRegularExpression dial(u"ATD[TP]?([0-9*#+][0-9*#,]*)"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = dial.match(script);
    if (match.hasMatch())
        return match.captured(1);
    if (script.contains(u"\\T"_s))
        return telephone;
    return {};
}

PppdDialUp::PppdDialUp(PppdPaths paths, InterfaceAddressLookup address, int pollMs,
                       int dialTimeoutMs)
    : m_paths(std::move(paths)), m_address(std::move(address)), m_dialTimeoutMs(dialTimeoutMs),
      m_poll(std::make_unique<Timer>(nullptr, u"PppdDialUp"_s, pollMs))
{
    connect(m_poll.get(), &Timer::timeout, this, &PppdDialUp::poll);
}

PppdDialUp::~PppdDialUp() = default;

DialUpResult<QStringList> PppdDialUp::entries()
{
    const QDir dir(m_paths.peersDir);
    if (!dir.exists())
        return {DialUpUnavailable, {}};
    QStringList names;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        if (!isBackupName(name))
            names << name;
    return {DialUpOk, names};
}

DialUpResult<DialUpCredentials> PppdDialUp::entryCredentials(const QString&)
{
    return {DialUpUnavailable, {}}; // pap-secrets and chap-secrets are root's alone
}

DialUpCode PppdDialUp::setEntryCredentials(const QString&, const QString&, const QString&, bool)
{
    return DialUpUnavailable;
}

DialUpResult<DialUpEntryProperties> PppdDialUp::entryProperties(const QString& entry)
{
    const DialUpResult<QStringList> all = entries();
    if (!all.ok())
        return {all.code, {}};
    if (!all.value.contains(entry))
        return {DialUpNoEntry, {}};
    DialUpEntryProperties properties;
    // A peer file only root may read (often so) tells no number; the entry is still there.
    properties.localPhoneNumber = PppdPeerNumber(
        QString::fromLocal8Bit(readFile(QDir(m_paths.peersDir).filePath(entry))),
        m_paths.peersDir);
    return {DialUpOk, properties};
}

QMap<QString, PppdDialUp::Link> PppdDialUp::links()
{
    QMap<QString, Link> result;
    const DialUpResult<QStringList> peers = entries();
    if (!peers.ok())
        return result;
    static const QRegularExpression unitName(u"^ppp[0-9]+$"_s);
    const QDir run(m_paths.runDir);
    for (const QString& file : run.entryList({u"*.pid"_s}, QDir::Files)) {
        const QString base = file.chopped(4);
        const QList<QByteArray> lines = readFile(run.filePath(file)).split('\n');
        bool numeric = false;
        const qint64 pid = lines.value(0).trimmed().toLongLong(&numeric);
        if (!numeric)
            continue;
        QString peer;
        QString interfaceName = QString::fromLocal8Bit(lines.value(1).trimmed());
        if (unitName.match(base).hasMatch()) {
            peer = calledPeer(m_paths.procDir, pid);
            if (interfaceName.isEmpty())
                interfaceName = base;
        } else if (base.startsWith(u"ppp-"_s) && peers.value.contains(base.mid(4))) {
            peer = base.mid(4);
        } else if (peers.value.contains(base)) {
            peer = base;
        }
        if (peer.isEmpty() || !peers.value.contains(peer))
            continue;
        Link& link = result[peer];
        const bool alive = processAlive(pid);
        link.alive = link.alive || alive;
        if (alive && link.interfaceName.isEmpty())
            link.interfaceName = interfaceName;
    }
    return result;
}

qint32 PppdDialUp::stateOf(const Link& link) const
{
    if (!link.alive)
        return -1;
    if (!link.interfaceName.isEmpty() && !link.interfaceName.contains(u'/')
        && QFileInfo::exists(QDir(m_paths.netDir).filePath(link.interfaceName))
        && m_address && !m_address(link.interfaceName).isEmpty())
        return DialUpState::Connected;
    return DialUpState::ConnectingDevice;
}

DialUpHandle PppdDialUp::handleOf(const QString& peer)
{
    const QMutexLocker lock(&m_mutex);
    auto it = m_handles.constFind(peer);
    if (it == m_handles.cend())
        it = m_handles.insert(peer, m_nextHandle++);
    return *it;
}

QString PppdDialUp::peerOf(DialUpHandle handle) const
{
    const QMutexLocker lock(&m_mutex);
    for (auto it = m_handles.cbegin(); it != m_handles.cend(); ++it)
        if (*it == handle)
            return it.key();
    return {};
}

bool PppdDialUp::isDialling(DialUpHandle handle) const
{
    const QMutexLocker lock(&m_mutex);
    return std::any_of(m_dialling.begin(), m_dialling.end(),
                       [handle](const Dialling& d) { return d.handle == handle; });
}

bool PppdDialUp::run(const QString& program, const QString& peer) const
{
    QProcess process;
    process.setProgram(program);
    process.setArguments({peer});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

DialUpResult<std::vector<DialUpConnection>> PppdDialUp::connections()
{
    const DialUpResult<QStringList> peers = entries();
    if (!peers.ok())
        return {peers.code, {}};
    std::vector<DialUpConnection> result;
    const QMap<QString, Link> all = links();
    for (auto it = all.cbegin(); it != all.cend(); ++it)
        if (stateOf(*it) >= 0)
            result.push_back({handleOf(it.key()), it.key()});
    // Oldest first: the handles grow as the connections are first seen.
    std::sort(result.begin(), result.end(),
              [](const DialUpConnection& a, const DialUpConnection& b) {
                  return a.handle < b.handle;
              });
    return {DialUpOk, std::move(result)};
}

DialUpResult<qint32> PppdDialUp::connectionState(DialUpHandle handle)
{
    const QString peer = peerOf(handle);
    if (peer.isEmpty())
        return {DialUpInvalidHandle, {}};
    const qint32 state = stateOf(links().value(peer));
    if (state >= 0)
        return {DialUpOk, state};
    if (isDialling(handle))
        return {DialUpOk, DialUpState::OpeningPort}; // pon ran, pppd has not written its pid yet
    return {DialUpInvalidHandle, {}};
}

DialUpResult<QString> PppdDialUp::ipAddress(DialUpHandle handle)
{
    const QString peer = peerOf(handle);
    if (peer.isEmpty())
        return {DialUpInvalidHandle, {}};
    const Link link = links().value(peer);
    if (stateOf(link) < 0)
        return {DialUpInvalidHandle, {}};
    if (stateOf(link) != DialUpState::Connected)
        return {DialUpOk, {}}; // no address yet
    return {DialUpOk, m_address(link.interfaceName)};
}

DialUpResult<QString> PppdDialUp::interfaceName(DialUpHandle handle)
{
    const QString peer = peerOf(handle);
    if (peer.isEmpty())
        return {DialUpInvalidHandle, {}};
    const Link link = links().value(peer);
    if (stateOf(link) < 0)
        return {DialUpInvalidHandle, {}};
    // From the pid file; a name that is no interface name is none.
    return {DialUpOk, link.interfaceName.contains(u'/') ? QString() : link.interfaceName};
}

DialUpResult<DialUpHandle> PppdDialUp::dial(const QString& entry, const QString&, const QString&,
                                            DialUpProgress progress)
{
    // pppd dials with the login of its own secrets files.
    const DialUpResult<QStringList> peers = entries();
    if (!peers.ok())
        return {peers.code, 0};
    if (!peers.value.contains(entry))
        return {DialUpNoEntry, 0};
    const DialUpHandle handle = handleOf(entry);
    if (!isDialling(handle) && stateOf(links().value(entry)) < 0 && !run(m_paths.pon, entry))
        return {DialUpUnavailable, 0};
    {
        const QMutexLocker lock(&m_mutex);
        std::erase_if(m_dialling, [handle](const Dialling& d) { return d.handle == handle; });
        Dialling dialling;
        dialling.handle = handle;
        dialling.peer = entry;
        dialling.progress = std::move(progress);
        dialling.deadline = Clock::instance().tickMs() + m_dialTimeoutMs;
        m_dialling.push_back(std::move(dialling));
    }
    m_poll->start();
    return {DialUpOk, handle};
}

void PppdDialUp::poll()
{
    struct Event {
        DialUpProgress progress;
        DialUpHandle handle = 0;
        qint32 state = 0;
        DialUpCode error = DialUpOk;
    };
    std::vector<Dialling> dialling;
    {
        const QMutexLocker lock(&m_mutex);
        dialling = m_dialling;
    }
    const QMap<QString, Link> all = links();
    const qint64 now = Clock::instance().tickMs();
    std::vector<Event> events;
    std::vector<DialUpHandle> finished;
    for (Dialling& d : dialling) {
        const qint32 seen = stateOf(all.value(d.peer));
        const qint32 reached = d.lastState < 0 ? DialUpState::OpeningPort : d.lastState;
        // pppd gave up by itself, or the line never came up in time: no answer, as the modem
        // tells no more through pppd's files. A late attempt is stopped.
        if ((seen < 0 && d.seenAlive) || (seen != DialUpState::Connected && now >= d.deadline)) {
            if (seen >= 0)
                run(m_paths.poff, d.peer);
            events.push_back({d.progress, d.handle, reached, DialUpNoAnswer});
            finished.push_back(d.handle);
            continue;
        }
        const qint32 state = seen < 0 ? DialUpState::OpeningPort : seen;
        if (state != d.lastState)
            events.push_back({d.progress, d.handle, state, DialUpOk});
        if (state == DialUpState::Connected)
            finished.push_back(d.handle);
        const QMutexLocker lock(&m_mutex);
        for (Dialling& kept : m_dialling) {
            if (kept.handle == d.handle) {
                kept.lastState = state;
                kept.seenAlive = kept.seenAlive || seen >= 0;
            }
        }
    }
    {
        const QMutexLocker lock(&m_mutex);
        std::erase_if(m_dialling, [&finished](const Dialling& d) {
            return std::find(finished.begin(), finished.end(), d.handle) != finished.end();
        });
        if (m_dialling.empty())
            m_poll->stop();
    }
    for (const Event& event : events)
        if (event.progress)
            event.progress(event.handle, event.state, event.error);
}

DialUpCode PppdDialUp::hangUp(DialUpHandle handle)
{
    const QString peer = peerOf(handle);
    bool wasDialling = false;
    {
        const QMutexLocker lock(&m_mutex);
        wasDialling = std::erase_if(m_dialling,
                                    [handle](const Dialling& d) { return d.handle == handle; })
                      > 0;
        if (m_dialling.empty())
            m_poll->stop();
    }
    if (peer.isEmpty() || (!wasDialling && stateOf(links().value(peer)) < 0))
        return DialUpNoConnection;
    return run(m_paths.poff, peer) ? DialUpOk : DialUpUnavailable;
}

} // namespace vestrel::platform
