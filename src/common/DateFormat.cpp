#include "DateFormat.h"

#include "Locale.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

QString number(int value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

class Formatter {
public:
    explicit Formatter(TDateTime value)
        : m_date(DecodeDate(value)), m_time(DecodeTime(value)), m_weekDay(DayOfWeek(value))
    {
    }

    QString format(const QString& pattern, int depth = 0)
    {
        QString out;
        QChar lastLetter;
        qsizetype i = 0;
        while (i < pattern.size()) {
            const QChar c = pattern.at(i);
            if (c == u'"' || c == u'\'') {
                const qsizetype end = pattern.indexOf(c, i + 1);
                const qsizetype stop = end < 0 ? pattern.size() : end;
                out += pattern.mid(i + 1, stop - i - 1);
                i = stop + 1;
                continue;
            }
            QChar token = c.toUpper();
            qsizetype count = 1;
            while (i + count < pattern.size() && pattern.at(i + count).toUpper() == token)
                ++count;
            if (token.isLetter()) {
                if (token == u'M' && lastLetter == u'H')
                    token = u'N';
                lastLetter = token;
            }
            if (!append(out, token, int(count), depth))
                out += pattern.mid(i, count);
            i += count;
        }
        return out;
    }

private:
    // False when the token is not a format letter and is to be copied.
    bool append(QString& out, QChar token, int count, int depth)
    {
        switch (token.unicode()) {
        case u'D':
            if (count == 1 || count == 2)
                out += number(m_date.day, count);
            else if (count == 3)
                out += Locale::shortDayName(m_weekDay);
            else if (count == 4)
                out += Locale::longDayName(m_weekDay);
            else
                out += nested(count == 5 ? ShortDateFormat() : u"dddd d mmmm yyyy"_s, depth);
            return true;
        case u'M':
            if (count <= 2)
                out += number(m_date.month, count);
            else if (count == 3)
                out += Locale::shortMonthName(m_date.month);
            else
                out += Locale::longMonthName(m_date.month);
            return true;
        case u'Y':
            out += count <= 2 ? number(m_date.year % 100, 2) : number(m_date.year, 4);
            return true;
        case u'H':
            out += number(m_time.hour, count >= 2 ? 2 : 1);
            return true;
        case u'N':
            out += number(m_time.minute, count >= 2 ? 2 : 1);
            return true;
        case u'S':
            out += number(m_time.second, count >= 2 ? 2 : 1);
            return true;
        case u'Z':
            out += number(m_time.msec, count >= 3 ? 3 : 1);
            return true;
        case u'C':
            for (int k = 0; k < count; ++k) {
                out += nested(ShortDateFormat(), depth);
                if (m_time.hour || m_time.minute || m_time.second || m_time.msec)
                    out += nested(u" hh:nn:ss"_s, depth);
            }
            return true;
        default:
            return false;
        }
    }

    QString nested(const QString& pattern, int depth)
    {
        // The built-in formats contain no c or ddddd, so one level is all that can happen.
        return depth > 0 ? QString() : format(pattern, depth + 1);
    }

    DateParts m_date;
    TimeParts m_time;
    int m_weekDay;
};

} // namespace

QString ShortDateFormat()
{
    return u"dd/mm/yyyy"_s;
}

QString FormatDateTime(const QString& format, TDateTime value)
{
    return Formatter(value).format(format);
}

QString DateToStr(TDateTime value)
{
    return FormatDateTime(ShortDateFormat(), value);
}

} // namespace vestrel
