#include "ExceptionReport.h"

#include "common/Clock.h"
#include "common/DateFormat.h"
#include "common/Dialogs.h"
#include "common/Notices.h"
#include "common/ProcessValues.h"
#include "common/SystemInfo.h"
#include "monitor/DataShare.h"
#include "monitor/Status.h"
#include "monitor/SysResource9x.h"
#include "monitor/TapiControl.h"

#include <QMetaObject>
#include <QObject>
#include <QSaveFile>

#include <cstdio>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

ExceptionReporter* g_reporter = nullptr;

// The program's classes are named after their designed names, with the namespace dropped.
QString className(const QObject* object)
{
    QString name = QString::fromLatin1(object->metaObject()->className());
    const qsizetype colon = name.lastIndexOf(u"::"_s);
    return colon >= 0 ? name.mid(colon + 2) : name;
}

} // namespace

QString SupportAddress()
{
    return u"segnalazioni@vestrel.example.org"_s;
}

ExceptionReporter::ExceptionReporter(const TDataShare* data, const TSettings* settings)
    : m_data(data), m_settings(settings)
{
}

ExceptionReporter* ExceptionReporter::instance()
{
    return g_reporter;
}

void ExceptionReporter::setInstance(ExceptionReporter* reporter)
{
    g_reporter = reporter;
}

QString ExceptionReporter::Describe(const QObject* sender)
{
    if (!sender)
        return {};
    const QString cls = className(sender);
    return sender->objectName().isEmpty() ? cls : sender->objectName() + u" - "_s + cls;
}

void ExceptionReporter::ReportException(const QObject* sender, const QString& text)
{
    const QString description = Describe(sender);
    QString message = text;
    if (m_data && !m_data->Resources().EnoughResources(3)) {
        message = u"Risorse di "_s + OSName() +
                  u" in esaurimento: Vestrel non riesce a funzionare correttamente - "_s + message;
        ShowNotice(Balloon::Information,
                   u"Vestrel non ha risorse sufficienti per funzionare correttamente!\r"_s +
                       u"Chiudere qualche applicazione altrimenti anche "_s + OSName() +
                       u" potrebbe bloccarsi!"_s);
    }
    ++m_count;
    if (m_count == 1 && m_data)
        writeReport(description, message);
    ShowNotice(Balloon::Notice, u"Attenzione: si è verificata l'eccezione \r«"_s + message + u"» nell'oggetto "_s +
                                    description + u"\rinviare le informazioni contenute in "_s + DataDirectory() +
                                    u"Exception.txt a "_s + SupportAddress());
}

QString ExceptionReporter::ReportText(const QString& senderDescription, const QString& message) const
{
    QStringList lines;
    lines << u"Vestrel: "_s + ProgramVersion() + u" debug info:"_s;
    if (m_data && m_data->Resources().Active())
        lines << u"Risorse: "_s + m_data->Resources().ResourcesText();
    if (m_data) {
        lines << u"Stato: "_s + m_data->Status().ConnectionStateText();
        const auto device = m_data->Tapi().MonitoredDevice();
        lines << (device ? u"Monitoraggio TAPI: "_s + device->Name : u"Monitoraggio TAPI: [disabilitato]"_s);
    }
    // The line keeps the report's layout; no Linux library has that version, so it reads "???".
    lines << u"Wininet.dll: "_s + FileVersion(u"Wininet.dll"_s);
    const TDateTime start = m_data ? m_data->Status().ProgramStart() : 0;
    lines << u"Orario avvio     "_s + FormatDateTime(u"h.nn.ss"_s, start);
    lines << u"Orario eccezione "_s + FormatDateTime(u"h.nn.ss"_s, Now());
    lines << u"Oggetto          "_s + senderDescription;
    lines << u"«"_s + message + u"»"_s;
    lines << u"SO: "_s + OSDescription();
    lines << QString();
    lines << u"Si verifica quando..."_s;
    return lines.join(u"\r\n"_s) + u"\r\n"_s;
}

void ExceptionReporter::writeReport(const QString& senderDescription, const QString& message) const
{
    QSaveFile file(DataDirectory() + u"Exception.txt"_s);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(ReportText(senderDescription, message).toUtf8());
    file.commit();
}

void ReportException(const QObject* sender, const QString& message)
{
    if (g_reporter)
        g_reporter->ReportException(sender, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace vestrel
