// The live status's one-second clock and the charges it advances.

#include "Status.h"

#include "common/Clock.h"
#include "common/Dates.h"
#include "common/Sounds.h"
#include "config/ProfileItem.h"
#include "tariff/TaxItem.h"

#include <cmath>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

void TStatus::tick()
{
    const qint64 ms = DateTimeToMSecs(Now());
    const qint64 date = ms / MSecsPerDay;
    const qint64 second = ms / 1000;
    const bool newSecond = second != m_lastSecond;
    const bool newDate = date != m_lastDate;
    m_lastSecond = second;
    m_lastDate = date;
    if (newSecond)
        perSecond();
    if (newDate && OnDayChanged)
        OnDayChanged(this);
}

void TStatus::perSecond()
{
    UpdateElapsed();
    if (m_tax) {
        const TFasciaOraria band = m_tax->FasciaAt(Now());
        if (band != m_lastFascia) {
            m_lastFascia = band;
            if (OnFasciaChanged)
                OnFasciaChanged(this, band);
        }
        if (m_tax->IsTat() && m_tax->HasMinLimite() && m_minLimiteArmed && IsConnectionCounting() &&
            m_elapsed >= m_tax->MinLimiteSeconds()) {
            m_minLimiteArmed = false;
            if (OnMinLimiteReached)
                OnMinLimiteReached(this);
        }
    }
    if (OnSecond)
        OnSecond(this);
}

void TStatus::UpdateElapsed()
{
    if (!IsDialCounting() && !IsConnectionCounting())
        return;
    // A 64-bit monotonic tick: no wrap-around during a connection however long.
    m_elapsed = (nowTick() - *m_startTick) / 1000 - m_dialAllowance;
    SetTime(double(std::llabs(m_elapsed)) / 86'400.0);
    UpdateCharges();
}

void TStatus::UpdateCharges()
{
    if (m_elapsed <= 0 || !m_tax)
        return;
    if (m_tax->IsTat())
        timeBasedCharges();
    else
        pulseCharges();
}

double TStatus::Period() const
{
    if (!m_tax)
        return 0;
    if (m_profile) {
        if (m_tax->BonusDisponibile() > 0)
            return m_tax->BonusDisponibile();
        if (m_tax->IsTat()) {
            if (m_tax->BonusMese() > 0)
                return 0;
            if (m_profile->AutoDisconnect())
                return m_profile->TimeOutConnection();
            return double(SecondsOf(m_tax->Vestrel()));
        }
    }
    return m_tax->SecondsPerScattoNow();
}

// Free seconds run down one a second; the cost is recomputed only once they are gone.
void TStatus::useFreeSeconds()
{
    const quint32 used = quint32(std::min<qint64>(m_elapsed - m_bonusUpdatedAt, m_tax->BonusDisponibile()));
    m_tax->SetBonusDisponibile(m_tax->BonusDisponibile() - used);
    m_bonusUpdatedAt = m_elapsed;
}

void TStatus::timeBasedCharges()
{
    m_sinceMark = std::max<qint64>(m_elapsed - m_pulseMark, 0);
    m_bonusAtStart = std::max(m_bonusAtStart, m_tax->BonusDisponibile());
    if (m_tax->BonusDisponibile() == 0) {
        SetCostoLire(m_tax->IntervalCost(m_startTime, EndTime()).Lire);
        m_bonusUpdatedAt = m_elapsed;
    } else {
        useFreeSeconds();
    }
    if (m_elapsed % 7 == 0)
        SaveNow();
    const double period = Period();
    if (double(m_sinceMark) >= period) {
        if (m_profile && m_profile->SoundsEnabled() && period > 0 &&
            Sounds::instance().IsEventEnabled(u"Ring"_s))
            beep();
        m_pulseMark += m_sinceMark;
        m_sinceMark = 0;
    }
    const qint64 whole = qint64(std::floor(Period()));
    if (whole <= 0)
        setRemaining(0);
    else
        setRemaining(quint32(m_tax->BonusMese() > 0 ? whole : whole - m_sinceMark));
}

void TStatus::pulseCharges()
{
    m_sinceMark = std::max<qint64>(m_elapsed - m_pulseMark, 0);
    m_bonusAtStart = std::max(m_bonusAtStart, m_tax->BonusDisponibile());
    if (m_tax->BonusDisponibile() == 0) {
        const TTaxCost cost = m_tax->IntervalCost(m_startTime, EndTime());
        SetCostoLire(cost.Lire);
        SetNumScatti(qint32(cost.Scatti));
    } else {
        useFreeSeconds();
    }
    // A fractional period carries over: 96.5 s gives periods of 96, 96, 97, 96, 97 … seconds.
    const double period = Period();
    const double whole = std::floor(period);
    if (double(m_sinceMark) >= whole + m_periodCarry) {
        m_periodFraction += period - whole;
        if (m_periodFraction >= 1.0) {
            m_periodCarry = 1;
            m_periodFraction -= 1.0;
        } else {
            m_periodCarry = 0;
        }
        m_pulseMark += m_sinceMark;
        m_sinceMark = 0;
    }
    if (period > 0) {
        if (double(m_sinceMark) >= period + m_periodCarry)
            setRemaining(0);
        else
            setRemaining(quint32(std::max<double>(whole - double(m_sinceMark) + m_periodCarry, 0)));
    }
    if (m_profile && m_profile->SoundsEnabled() && m_profile->Preavviso() && m_remaining < 16 &&
        (!m_preAlertDone || m_profile->Petulante())) {
        m_preAlertDone = true;
        beep();
    }
}

void TStatus::setRemaining(quint32 value)
{
    if (value == m_remaining)
        return;
    m_remaining = value;
    if (OnRemainingChanged)
        OnRemainingChanged(this);
}

void TStatus::beep()
{
    Sounds::instance().Beep(1366, 100);
}

} // namespace vestrel
