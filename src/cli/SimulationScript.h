#pragma once

#include "common/DateTime.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vestrel::cli {

// A script of what the simulated dial-up, line and traffic backends do, for `watch --simulate`.
// One instruction a line; "#" starts a comment; names with spaces go in double quotes.
//
//   start 2001-03-14 10:00:00          the virtual clock's first moment (default: now)
//   entry NAME [NUMBER]                a phonebook entry and the number it dials
//   tax ENTRY "GESTORE - NOME"         the tariff of an entry
//   at SECONDS connection NAME STATE [IP]
//                                      NAME's connection is in STATE: dialling, connecting,
//                                      connected or a dial-up state code (appears when new)
//   at SECONDS gone NAME               the connection disappears
//   at SECONDS dial NAME [IP]          the program dials NAME; it connects after four seconds
//   at SECONDS dial NAME fail ERROR [STATE …]
//                                      the program dials NAME; the dial goes through the progress
//                                      states, one second apart, then fails with ERROR (676 busy,
//                                      678 no answer, 691 authentication …)
//   at SECONDS call dialling NUMBER [APP]
//   at SECONDS call connected [RATE]   a call on the modem line, then answered (bits per second)
//   at SECONDS call idle               the call ends
//   at SECONDS traffic SENT RECEIVED   byte counters of the connection's interface
//   at SECONDS manual start|stop       a count started or stopped by hand
//   at SECONDS crash                   the process ends at once, as in a power cut: nothing saved
struct ScriptLine {
    enum class Kind { Connection, Gone, Dial, DialFail, CallDialling, CallConnected, CallIdle, Traffic, ManualStart, ManualStop, Crash };
    Kind kind = Kind::Crash;
    qint64 atMs = 0;
    QString name;   // entry, or the number of a call
    QString value;  // IP address, application
    qint32 state = 0;
    qint32 code = 0; // error, or rate
    std::vector<qint32> states;
    quint64 sent = 0;
    quint64 received = 0;
};

struct SimulationScript {
    std::optional<TDateTime> start;
    struct Entry {
        QString name;
        QString number;
    };
    std::vector<Entry> entries;
    std::vector<std::pair<QString, QString>> taxes; // entry, tariff
    std::vector<ScriptLine> lines;

    // The instructions as listed above; raises a VestrelError naming the first bad line.
    static SimulationScript Parse(const QString& text);
    // The help text of the format.
    static QString Help();
};

} // namespace vestrel::cli
