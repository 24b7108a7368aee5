#pragma once

#include <QString>

class QObject;

namespace vestrel {

class TDataShare;
class TSettings;

// Where reports of unexpected errors go.
QString SupportAddress();

// The program-wide reporter of errors that escaped an event handler. The first one of the
// process writes "Exception.txt" in the data directory; every one is shown in the notice balloon
// with the object it happened in. No modal box: the program goes on.
class ExceptionReporter {
public:
    // None is owned; the data module may be absent (an error before it exists).
    ExceptionReporter(const TDataShare* data, const TSettings* settings);

    void ReportException(const QObject* sender, const QString& message);

    int Count() const { return m_count; }
    // "fmMain - TfmMain", "TTimer", ...: its name + " - " + its class name, or the class alone.
    static QString Describe(const QObject* sender);
    // The lines of "Exception.txt", each ended by CR LF.
    QString ReportText(const QString& senderDescription, const QString& message) const;

    static ExceptionReporter* instance();
    static void setInstance(ExceptionReporter* reporter);

private:
    void writeReport(const QString& senderDescription, const QString& message) const;

    const TDataShare* m_data;
    const TSettings* m_settings;
    int m_count = 0;
};

// The reporter installed, or a line on stderr when there is none.
void ReportException(const QObject* sender, const QString& message);

} // namespace vestrel
