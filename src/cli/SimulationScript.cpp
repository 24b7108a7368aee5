#include "SimulationScript.h"

#include "common/VestrelError.h"
#include "platform/DialUpService.h"

#include <QDateTime>

namespace vestrel::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

// Words of a line; a double-quoted word may hold spaces.
QStringList words(const QString& line)
{
    QStringList out;
    QString current;
    bool quoted = false, inWord = false;
    for (const QChar c : line) {
        if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && c.isSpace()) {
            if (inWord)
                out.append(current);
            current.clear();
            inWord = false;
        } else {
            current += c;
            inWord = true;
        }
    }
    if (quoted)
        throw VestrelError(u"virgolette non chiuse"_s);
    if (inWord)
        out.append(current);
    return out;
}

qint64 number(const QString& text)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < 0)
        throw VestrelError(u"numero non valido: "_s + text);
    return v;
}

qint64 seconds(const QString& text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || v < 0 || v > 1e9)
        throw VestrelError(u"tempo non valido: "_s + text);
    return qint64(v * 1000.0 + 0.5);
}

qint32 connectionState(const QString& text)
{
    if (text == u"dialling"_s)
        return platform::DialUpState::ConnectingDevice;
    if (text == u"connecting"_s)
        return platform::DialUpState::Authenticating;
    if (text == u"connected"_s)
        return platform::DialUpState::Connected;
    return qint32(number(text));
}

void need(const QStringList& w, qsizetype least, qsizetype most)
{
    if (w.size() < least || w.size() > most)
        throw VestrelError(u"numero di argomenti errato"_s);
}

ScriptLine timed(const QStringList& w)
{
    need(w, 3, 64);
    ScriptLine l;
    l.atMs = seconds(w[1]);
    const QString& what = w[2];
    if (what == u"connection"_s) {
        need(w, 5, 6);
        l.kind = ScriptLine::Kind::Connection;
        l.name = w[3];
        l.state = connectionState(w[4]);
        l.value = w.value(5);
    } else if (what == u"gone"_s) {
        need(w, 4, 4);
        l.kind = ScriptLine::Kind::Gone;
        l.name = w[3];
    } else if (what == u"dial"_s && w.size() >= 6 && w[4] == u"fail"_s) {
        l.kind = ScriptLine::Kind::DialFail;
        l.name = w[3];
        l.code = qint32(number(w[5]));
        for (qsizetype i = 6; i < w.size(); ++i)
            l.states.push_back(qint32(number(w[i])));
    } else if (what == u"dial"_s) {
        need(w, 4, 5);
        l.kind = ScriptLine::Kind::Dial;
        l.name = w[3];
        l.value = w.value(4);
    } else if (what == u"call"_s && w.value(3) == u"dialling"_s) {
        need(w, 5, 6);
        l.kind = ScriptLine::Kind::CallDialling;
        l.name = w[4];
        l.value = w.value(5);
    } else if (what == u"call"_s && w.value(3) == u"connected"_s) {
        need(w, 4, 5);
        l.kind = ScriptLine::Kind::CallConnected;
        l.code = w.size() > 4 ? qint32(number(w[4])) : 0;
    } else if (what == u"call"_s && w.value(3) == u"idle"_s) {
        need(w, 4, 4);
        l.kind = ScriptLine::Kind::CallIdle;
    } else if (what == u"traffic"_s) {
        need(w, 5, 5);
        l.kind = ScriptLine::Kind::Traffic;
        l.sent = quint64(number(w[3]));
        l.received = quint64(number(w[4]));
    } else if (what == u"manual"_s && (w.value(3) == u"start"_s || w.value(3) == u"stop"_s)) {
        need(w, 4, 4);
        l.kind = w[3] == u"start"_s ? ScriptLine::Kind::ManualStart : ScriptLine::Kind::ManualStop;
    } else if (what == u"crash"_s) {
        need(w, 3, 3);
        l.kind = ScriptLine::Kind::Crash;
    } else {
        throw VestrelError(u"istruzione sconosciuta: "_s + what);
    }
    return l;
}

} // namespace

SimulationScript SimulationScript::Parse(const QString& text)
{
    SimulationScript script;
    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (const qsizetype hash = line.indexOf(u'#'); hash >= 0)
            line.truncate(hash);
        try {
            const QStringList w = words(line);
            if (w.isEmpty())
                continue;
            if (w[0] == u"start"_s) {
                need(w, 3, 3);
                const QDateTime start = QDateTime::fromString(w[1] + u' ' + w[2], u"yyyy-MM-dd HH:mm:ss"_s);
                if (!start.isValid())
                    throw VestrelError(u"data non valida"_s);
                script.start = FromQDateTime(start);
            } else if (w[0] == u"entry"_s) {
                need(w, 2, 3);
                script.entries.push_back({w[1], w.value(2)});
            } else if (w[0] == u"tax"_s) {
                need(w, 3, 3);
                script.taxes.emplace_back(w[1], w[2]);
            } else if (w[0] == u"at"_s) {
                script.lines.push_back(timed(w));
            } else {
                throw VestrelError(u"istruzione sconosciuta: "_s + w[0]);
            }
        } catch (const VestrelError& e) {
            throw VestrelError(u"Script di simulazione non valido, riga "_s + QString::number(n + 1) +
                               u": "_s + e.message());
        }
    }
    return script;
}

QString SimulationScript::Help()
{
    return uR"(Script di simulazione (watch --simulate FILE): un'istruzione per riga, # commenta,
i nomi con spazi tra virgolette, i tempi in secondi dall'inizio.
  start AAAA-MM-GG hh:mm:ss          primo istante dell'orologio virtuale (di norma: adesso)
  entry NOME [NUMERO]                una voce della rubrica di connessione e il numero chiamato
  tax VOCE "GESTORE - NOME"          la tariffa di una voce
  at S connection NOME STATO [IP]    la connessione di NOME è in STATO: dialling, connecting,
                                     connected o un codice di stato (compare se nuova)
  at S gone NOME                     la connessione scompare
  at S dial NOME [IP]                il programma chiama NOME; connesso dopo quattro secondi
  at S dial NOME fail ERRORE [STATO ...]
                                     il programma chiama NOME: la chiamata passa per gli stati,
                                     uno al secondo, e fallisce con ERRORE (676 occupato,
                                     678 nessuna risposta, 691 autenticazione ...)
  at S call dialling NUMERO [APP]    una chiamata sulla linea del modem
  at S call connected [VELOCITÀ]     la chiamata ha risposta (bit al secondo)
  at S call idle                     la chiamata finisce
  at S traffic INVIATI RICEVUTI      contatori di byte dell'interfaccia della connessione
  at S manual start|stop             un conteggio avviato o fermato a mano
  at S crash                         il processo finisce di colpo, come in un blackout
)"_s;
}

} // namespace vestrel::cli
