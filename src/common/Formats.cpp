#include "Formats.h"

#include "Locale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

struct SpanParts {
    qint64 days;
    TimeParts time;
};

SpanParts split(TDateTime span)
{
    return {qint64(DateOf(span)), DecodeTime(span)};
}

// Groups the integer digits by three and appends the decimals.
QString layout(bool negative, const std::string& integer, const std::string& fraction, int width)
{
    const QChar thousands = Locale::thousandsSeparator();
    QString out;
    if (negative)
        out += u'-';
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0)
            out += thousands;
        out += QChar(u'0' + (integer[i] - '0'));
    }
    if (!fraction.empty()) {
        out += Locale::decimalSeparator();
        for (const char digit : fraction)
            out += QChar(u'0' + (digit - '0'));
    }
    return out.rightJustified(width, u' ');
}

// Decimal digits of the value, rounded half away from zero at `decimals`. The value is first
// written with 18 significant digits, as the platform's extended float conversion sees it, so
// 2.675 (stored as 2.67499999…) rounds down and 0.125 rounds up.
void roundedDigits(double value, int decimals, std::string& integer, std::string& fraction)
{
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 17);
    const std::string text(buffer, result.ptr);
    const std::size_t e = text.find('e');
    std::string mantissa;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            mantissa += text[i];
    const int exponent = std::stoi(text.substr(e + 1));

    // digits[k] has weight 10^(exponent - k); keep those down to 10^-decimals.
    const int intDigits = exponent + 1;
    std::string digits;
    if (intDigits <= 0)
        digits = std::string(std::size_t(-intDigits), '0') + mantissa;
    else
        digits = mantissa;
    const int pointPos = intDigits <= 0 ? 0 : intDigits; // digits before the point in `digits`
    if (int(digits.size()) < pointPos + decimals + 1)
        digits.append(std::size_t(pointPos + decimals + 1 - int(digits.size())), '0');
    const bool roundUp = digits[std::size_t(pointPos + decimals)] >= '5';
    digits.resize(std::size_t(pointPos + decimals));
    if (roundUp) {
        int k = int(digits.size()) - 1;
        while (k >= 0 && digits[std::size_t(k)] == '9')
            digits[std::size_t(k--)] = '0';
        if (k >= 0)
            ++digits[std::size_t(k)];
        else
            digits.insert(digits.begin(), '1');
    }
    const std::size_t split = digits.size() - std::size_t(decimals);
    integer = digits.substr(0, split);
    fraction = digits.substr(split);
    const std::size_t firstNonZero = integer.find_first_not_of('0');
    integer = firstNonZero == std::string::npos ? std::string("0") : integer.substr(firstNonZero);
}

} // namespace

QString FormatDuration(TDateTime span)
{
    const SpanParts p = split(span);
    const TimeParts& t = p.time;
    if (p.days > 0) {
        const QString unit = p.days == 1 ? u"giorno"_s : u"giorni"_s;
        return u"%1 %2 %3 h %4 min %5 sec"_s.arg(p.days).arg(unit).arg(t.hour).arg(t.minute).arg(
            t.second);
    }
    if (t.hour > 0)
        return u"%1 h %2 min %3 sec"_s.arg(t.hour).arg(t.minute).arg(t.second);
    if (t.minute > 0)
        return u"%1 min %2 sec"_s.arg(t.minute).arg(t.second);
    return u"%1 sec"_s.arg(t.second);
}

QString FormatShortDuration(bool compact, TDateTime span)
{
    const SpanParts p = split(span);
    const TimeParts& t = p.time;
    const qint64 hours = t.hour + 24 * p.days;
    auto two = [](int v) { return QString::number(v).rightJustified(2, u'0'); };
    if (compact) {
        if (hours > 0)
            return QString::number(hours) + u'.' + two(t.minute);
        return two(t.minute) + u'.' + two(t.second);
    }
    if (hours > 0)
        return u"%1 h %2 min "_s.arg(hours).arg(t.minute);
    if (t.minute > 0)
        return u"%1 min %2 sec"_s.arg(t.minute).arg(t.second);
    return u"%1 sec"_s.arg(t.second);
}

QString FormatNumber(double value, int width, int decimals)
{
    if (std::isnan(value))
        return u"NAN"_s.rightJustified(width, u' ');
    if (std::isinf(value))
        return (value < 0 ? u"-INF"_s : u"INF"_s).rightJustified(width, u' ');
    decimals = std::clamp(decimals, 0, 18);
    std::string integer;
    std::string fraction;
    roundedDigits(value, decimals, integer, fraction);
    const bool zero = integer == "0" && fraction.find_first_not_of('0') == std::string::npos;
    return layout(value < 0 && !zero, integer, fraction, width);
}

QString FormatNumber(qint64 value, int width)
{
    // Through the unsigned magnitude, so the smallest qint64 has no overflow.
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    return layout(value < 0, std::to_string(magnitude), {}, width);
}

QString FormatLire(double lire)
{
    return FormatNumber(lire, 3, 0);
}

QString FormatEuro(double euro)
{
    return FormatNumber(euro, 3, 3);
}

QString FormatCount(qint64 count)
{
    return FormatNumber(count, 3);
}

} // namespace vestrel
