// The phonebook side of TRasControl: entries, numbers, logins, addresses and texts.
#include "RasControl.h"

#include "RasGlobals.h"

#include "common/ErrorText.h"

#include <algorithm>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;
using namespace vestrel::platform;

namespace {

QString lastRasApi;
QString rasControlProcedure;
std::function<void(const QString&)> failureReporter;

const QString functionMissing = u"Impossibile caricare dinamicamente la funzione dalla DLL"_s;

} // namespace

namespace ras {

void SetLastRasAPI(const QString& function)
{
    lastRasApi = function;
}

void SetRasControlProcedure(const QString& procedure)
{
    rasControlProcedure = procedure;
}

void ReportFailure(const QString& text)
{
    if (failureReporter)
        failureReporter(text);
}

} // namespace ras

QString LastRasAPI()
{
    return lastRasApi;
}

QString RasControlProcedure()
{
    return rasControlProcedure;
}

void SetRasFailureReporter(std::function<void(const QString& text)> reporter)
{
    failureReporter = std::move(reporter);
}

void InstallRasErrorTexts()
{
    SetDialUpErrorTextProvider([](int code) {
        return code == DialUpUnavailable ? functionMissing
                                         : DialUpService::instance().errorText(code).trimmed();
    });
}

void TRasControl::GetRasEntries(QStringList& list)
{
    list.clear();
    const DialUpResult<QStringList> names = m_service.entries();
    called(u"RasEnumEntries"_s, names.code);
    if (names.code != DialUpOk && names.code != DialUpBufferTooSmall)
        return;
    for (const QString& name : names.value)
        if (!name.isEmpty())
            list.append(name);
}

bool TRasControl::IsRasEntry(const QString& name)
{
    QStringList names;
    GetRasEntries(names);
    return names.contains(name);
}

QString TRasControl::ActiveConnectionName()
{
    const DialUpResult<std::vector<DialUpConnection>> list = m_service.connections();
    if (called(u"RasEnumConnections"_s, list.code) != DialUpOk) {
        ras::ReportFailure(u"Fallita la RasEnumConnections"_s);
        return {};
    }
    return list.value.empty() ? QString() : list.value.front().entry;
}

QString TRasControl::ConnectionIPAddress(const QString& entry)
{
    const DialUpResult<std::vector<DialUpConnection>> list = m_service.connections();
    if (called(u"RasEnumConnections"_s, list.code) != DialUpOk) {
        report(u"Fallita la RasEnumConnections: "_s, list.code);
        return {};
    }
    QString address;
    for (const DialUpConnection& c : list.value) {
        if (c.entry != entry)
            continue;
        const DialUpResult<QString> ip = m_service.ipAddress(c.handle);
        address = called(u"RasGetProjectionInfo"_s, ip.code) == DialUpOk ? ip.value : QString();
    }
    return address;
}

QString TRasControl::ComposePhoneNumber(const DialUpEntryProperties& properties)
{
    QString number;
    if (properties.useCountryAndAreaCodes) {
        if (properties.countryCode != 39)
            number = u"00"_s + QString::number(properties.countryCode);
        number += properties.areaCode;
    }
    return number + properties.localPhoneNumber;
}

QString TRasControl::EntryPhoneNumber(const QString& entry)
{
    const DialUpResult<DialUpEntryProperties> properties = m_service.entryProperties(entry);
    if (called(u"RasGetEntryProperties"_s, properties.code) != DialUpOk) {
        report(u"Fallita la RasGetEntryProperties: "_s, properties.code);
        return {};
    }
    return ComposePhoneNumber(properties.value);
}

TEntryCredentials TRasControl::GetEntryCredentials(const QString& entry)
{
    const DialUpResult<DialUpCredentials> saved = m_service.entryCredentials(entry);
    if (called(u"RasGetCredentials"_s, saved.code) != DialUpOk) {
        report(u"Fallita la RasGetCredentials: "_s, saved.code);
        return {};
    }
    return {saved.value.userName, saved.value.password, saved.value.hasPassword, true};
}

bool TRasControl::SetEntryCredentials(const QString& entry, const QString& userName,
                                      const QString& password, bool removePassword)
{
    const DialUpCode code = m_service.setEntryCredentials(entry, userName, password, removePassword);
    if (called(u"RasSetCredentials"_s, code) != DialUpOk) {
        report(u"Fallita la RasSetCredentials: "_s, code);
        return false;
    }
    return true;
}

QString TRasControl::RasErrorText(int code)
{
    if (code == DialUpUnavailable)
        return functionMissing;
    ras::SetLastRasAPI(u"RasGetErrorString"_s);
    return m_service.errorText(code).trimmed();
}

int TRasControl::ClassifyDialFailure(int anError, int lastState)
{
    // Errors that leave no doubt: the line was never answered.
    static constexpr int notAnswered[] = {602, 619, 629, 630, 631, 633, 651, 666, 676, 692};
    if (lastState <= DialUpState::PortOpened || std::ranges::find(notAnswered, anError) != std::end(notAnswered))
        return 2;
    return lastState == DialUpState::ConnectingDevice ? 1 : 0;
}

QString TRasControl::DialStateDescription(int state)
{
    switch (state) {
    case 0: return u"Sto aprendo la porta"_s;
    case 1: return u"WOW sono riuscito ad aprire la porta"_s;
    case 2: return u"Provo a fare il numero"_s;
    case 3: return u"WOW il modem s'è connesso!"_s;
    case 4: return u"Tutti i dispositivi sono connessi!"_s;
    case 5: return u"Proviamo l'autenticazione"_s;
    case 6: return u"Autenticazione iniziale OK!"_s;
    case 7: return u"RASCS_AuthRetry"_s;
    case 8: return u"RASCS_AuthCallback"_s;
    case 9: return u"RASCS_AuthChangePassword"_s;
    case 10: return u"Entriamo in rete WOW"_s;
    case 11: return u"RASCS_AuthLinkSpeed"_s;
    case 12: return u"RASCS_AuthAck"_s;
    case 13: return u"RASCS_ReAuthenticate"_s;
    case 14: return u"Autenticato!"_s;
    case 15: return u"RASCS_PrepareForCallback"_s;
    case 16: return u"RASCS_WaitForModemReset"_s;
    case 17: return u"RASCS_WaitForCallback"_s;
    case 18: return u"Abbiamo ottenuto l'IP dinamico!"_s;
    case 19: return u"Inizio autenticazione utente"_s;
    case 20: return u"RASCS_CallbackComplete"_s;
    case 21: return u"Siamo in rete!"_s;
    default: return {};
    }
}

} // namespace vestrel
