#include "FigureLabels.h"

#include "common/DateFormat.h"
#include "common/DateTime.h"
#include "common/Formats.h"
#include "common/StringHelpers.h"
#include "monitor/Status.h"
#include "tariff/TaxItem.h"

#include <QLabel>
#include <QProgressBar>

#include <cmath>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

QString ElapsedText(double time)
{
    const qint64 seconds = DateTimeToMSecs(time) / 1000;
    const qint64 hours = seconds / 3600;
    return QString::number(hours) + u"."_s + QString::asprintf("%02d.%02d", int(seconds / 60 % 60), int(seconds % 60));
}

QString CostText(double lire)
{
    return u"£ "_s + QString::number(qint64(std::trunc(lire)));
}

void FigureLabels::ShowTime(const TStatus& status)
{
    if (status.Elapsed() >= 0)
        m_w.time->setText(ElapsedText(status.Time()));
    else
        m_w.time->setText(FormatDateTime(u"-0.00.ss"_s, status.Time()));
}

void FigureLabels::ShowPulses(const TStatus& status)
{
    m_w.pulses->setText(QString::number(status.NumScatti()));
}

void FigureLabels::ShowCost(const TStatus& status)
{
    m_w.cost->setText(status.AnswerCharged() ? CostText(status.CostoLire()) : u"£ 0"_s);
}

void FigureLabels::ShowRemaining(const TStatus& status)
{
    if (!status.IsConnectionCounting()) {
        ResetPeriod(status, false);
        return;
    }
    m_w.remaining->setText(FormatShortDuration(true, status.RemainingAsTime()));
    const int period = int(status.Period());
    m_w.progress->setMaximum(qMax(period, 1));
    m_w.progress->setValue(period <= int(status.Remaining()) ? m_w.progress->minimum()
                                                             : period - int(status.Remaining()));
}

void FigureLabels::ShowBytesSent(const TStatus& status)
{
    if (status.BytesTransmitted() != 0)
        m_w.sent->setText(FormatCount(status.BytesTransmitted()));
}

void FigureLabels::ShowBytesReceived(const TStatus& status)
{
    if (status.BytesReceived() != 0)
        m_w.received->setText(FormatCount(status.BytesReceived()));
}

void FigureLabels::ResetBytes()
{
    m_w.sent->setText(u"0"_s);
    m_w.received->setText(u"0"_s);
}

void FigureLabels::ResetPeriod(const TStatus& status, bool labels)
{
    m_w.remaining->setText(FormatShortDuration(true, status.Period() / 86400.0));
    m_w.progress->setValue(m_w.progress->minimum());
    if (!labels)
        return;
    m_w.pulses->setVisible(status.Tax() && !status.Tax()->IsTat());
    ShowPulses(status);
    ShowCost(status);
}

void FigureLabels::ShowStored(const TStatus& status)
{
    ShowPulses(status);
    m_w.cost->setText(CostText(status.CostoLire()));
}

void FigureLabels::ResetForSkin()
{
    m_w.pulses->setText(u"0"_s);
    m_w.cost->setText(u"£ 0"_s);
    m_w.remaining->setText(u"00.00"_s);
    m_w.sent->setText(u"0"_s);
    m_w.received->setText(u"0"_s);
}

void FigureLabels::SetProgressHint(const QString& hint)
{
    m_w.progress->setToolTip(ScreenLines(hint));
    if (m_w.progressPanel)
        m_w.progressPanel->setToolTip(ScreenLines(hint));
}

} // namespace vestrel
