#include "LogText.h"

#include "DataUnits.h"

#include "common/DateFormat.h"
#include "common/Dialogs.h"
#include "common/Formats.h"
#include "common/Locale.h"
#include "common/VestrelError.h"
#include "store/Cp1252.h"

#include <QDate>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char16_t Tab = u'\t';
// Dates past 31 December 9999 or before 1 January 0001 are not dates.
constexpr double LastDay = 2958465.0;
constexpr double FirstDay = -693593.0;

QString dateText(TDateTime value)
{
    if (!std::isfinite(value) || value > LastDay + 1 || value < FirstDay - 1)
        return {};
    return FormatDateTime(u"dd/mm/yyyy hh:nn:ss"_s, value);
}

// Fixed notation with the user's decimal separator and no thousands separators, rounded half
// away from zero.
QString fixedText(double value, int decimals)
{
    if (!std::isfinite(value))
        return QString::number(value);
    QString text = FormatNumber(value, 0, decimals);
    const qsizetype point = decimals > 0 ? text.lastIndexOf(Locale::decimalSeparator()) : text.size();
    const QChar thousands = Locale::thousandsSeparator();
    for (qsizetype i = point - 1; i >= 0; --i)
        if (text[i] == thousands)
            text.remove(i, 1);
    return text;
}

// Digits at pos, at most maxDigits of them; advances pos.
std::optional<int> digitsAt(QStringView text, qsizetype& pos, int maxDigits, int* count = nullptr)
{
    int value = 0;
    int n = 0;
    while (pos < text.size() && n < maxDigits && text[pos] >= u'0' && text[pos] <= u'9') {
        value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
        ++n;
    }
    if (count)
        *count = n;
    if (n == 0)
        return std::nullopt;
    return value;
}

bool takeChar(QStringView text, qsizetype& pos, char16_t c)
{
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

std::optional<qint32> parsePulses(QStringView text)
{
    text = text.trimmed();
    qsizetype pos = 0;
    const bool negative = takeChar(text, pos, u'-');
    if (!negative)
        takeChar(text, pos, u'+');
    if (pos == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; pos < text.size(); ++pos) {
        if (text[pos] < u'0' || text[pos] > u'9')
            return std::nullopt;
        value = value * 10 + (text[pos].unicode() - u'0');
        if (value > qint64(1) << 31)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return qint32(value);
}

bool isHeader(QStringView line)
{
    // The header of either layout: the Euro column came later.
    return line == LogTextHeader() || line.startsWith(u"Inizio\t");
}

bool validUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(utf8.decode(bytes));
    return !utf8.hasError();
}

// UTF-8 when the bytes are valid UTF-8 (plain ASCII included), else Windows-1252.
QString decode(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    return validUtf8(bytes) ? QString::fromUtf8(bytes) : store::FromCp1252(bytes);
}

// Windows-1252, unless a name needs more, or its bytes would read back as UTF-8.
QByteArray encode(const QString& text)
{
    const QByteArray cp1252 = store::ToCp1252(text);
    const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii || (store::FromCp1252(cp1252) == text && !validUtf8(cp1252)))
        return cp1252;
    return text.toUtf8();
}

} // namespace

QString LogTextHeader()
{
    return u"Inizio\t\t\tFine\t\t\tScatti\tLire\tEuro\tConnessione"_s;
}

QByteArray EncodeLogText(const TDataUnitsItems& records)
{
    QString text = LogTextHeader() + u"\r\n"_s;
    for (int i = 0; i < records.Count(); ++i) {
        const TDataUnitsItem& r = *records[i];
        text += dateText(r.I()) + Tab + dateText(r.F()) + Tab + QString::number(r.S()) + Tab
              + fixedText(r.L(), 2) + Tab + fixedText(r.E(), 3) + Tab + r.N() + u"\r\n"_s;
    }
    return encode(text);
}

std::optional<TDateTime> ParseLogDateTime(QStringView text)
{
    text = text.trimmed();
    qsizetype pos = 0;
    int yearDigits = 0;
    const auto day = digitsAt(text, pos, 2);
    if (!day || !takeChar(text, pos, u'/'))
        return std::nullopt;
    const auto month = digitsAt(text, pos, 2);
    if (!month || !takeChar(text, pos, u'/'))
        return std::nullopt;
    auto year = digitsAt(text, pos, 4, &yearDigits);
    if (!year)
        return std::nullopt;
    if (yearDigits <= 2)
        *year += *year < 50 ? 2000 : 1900;
    if (!QDate(*year, *month, *day).isValid())
        return std::nullopt;
    int hour = 0, minute = 0, second = 0;
    if (pos < text.size()) {
        if (text[pos] != u' ')
            return std::nullopt;
        while (pos < text.size() && text[pos] == u' ')
            ++pos;
        const auto h = digitsAt(text, pos, 2);
        if (!h || !takeChar(text, pos, u':'))
            return std::nullopt;
        const auto n = digitsAt(text, pos, 2);
        if (!n)
            return std::nullopt;
        std::optional<int> s = 0;
        if (takeChar(text, pos, u':'))
            s = digitsAt(text, pos, 2);
        if (!s || pos != text.size() || *h > 23 || *n > 59 || *s > 59)
            return std::nullopt;
        hour = *h;
        minute = *n;
        second = *s;
    }
    return EncodeDateTime(*year, *month, *day, hour, minute, second);
}

std::optional<double> ParseLogNumber(QStringView text)
{
    text = text.trimmed();
    const QChar point = Locale::decimalSeparator();
    std::string ascii;
    ascii.reserve(std::size_t(text.size()));
    qsizetype pos = 0;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+'))
        ascii += char(text[pos++].unicode());
    int digits = 0;
    for (; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos, ++digits)
        ascii += char(text[pos].unicode());
    if (pos < text.size() && text[pos] == point) {
        ascii += '.';
        for (++pos; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos, ++digits)
            ascii += char(text[pos].unicode());
    }
    if (digits == 0)
        return std::nullopt;
    if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
        ascii += 'e';
        ++pos;
        if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+'))
            ascii += char(text[pos++].unicode());
        int exponentDigits = 0;
        for (; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos, ++exponentDigits)
            ascii += char(text[pos].unicode());
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;
    const char* first = ascii.data() + (ascii[0] == '+' ? 1 : 0);
    double value = 0;
    const auto result = std::from_chars(first, ascii.data() + ascii.size(), value);
    if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<LogTextLine> ParseLogTextLine(QStringView line)
{
    const qsizetype t1 = line.indexOf(Tab);
    const qsizetype t2 = t1 < 0 ? -1 : line.indexOf(Tab, t1 + 1);
    const qsizetype t3 = t2 < 0 ? -1 : line.indexOf(Tab, t2 + 1);
    if (t3 < 0)
        return std::nullopt;
    const qsizetype t4 = line.indexOf(Tab, t3 + 1);
    const auto start = ParseLogDateTime(line.first(t1));
    const auto end = ParseLogDateTime(line.sliced(t1 + 1, t2 - t1 - 1));
    const auto pulses = parsePulses(line.sliced(t2 + 1, t3 - t2 - 1));
    const auto lire = ParseLogNumber(t4 < 0 ? line.sliced(t3 + 1) : line.sliced(t3 + 1, t4 - t3 - 1));
    if (!start || !end || !pulses || !lire)
        return std::nullopt;

    const QStringView rest = t4 < 0 ? QStringView() : line.sliced(t4 + 1);
    const auto upToTab = [](QStringView field) {
        const qsizetype tab = field.indexOf(Tab);
        return tab < 0 ? field : field.first(tab);
    };
    const QStringView fifth = upToTab(rest);
    // Six columns when the fifth is the Euro amount and a name column follows it; otherwise the
    // older layout, whose fifth column is the name (which may well be a dialled number).
    QStringView name = fifth;
    if (fifth.size() < rest.size() && ParseLogNumber(fifth))
        name = upToTab(rest.sliced(fifth.size() + 1));
    return LogTextLine{*start, *end, *pulses, *lire, name.toString()};
}

LogImportCounts ReadLogText(QByteArrayView bytes, TDataUnits& log)
{
    const QString text = decode(bytes);
    LogImportCounts counts;
    qsizetype begin = 0;
    while (begin < text.size()) {
        qsizetype end = begin;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const QStringView line = QStringView(text).sliced(begin, end - begin);
        const bool crlf = end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n';
        begin = end + (crlf ? 2 : 1);
        // Blank lines, often left at the end of an edited file, are no connections.
        if (line.trimmed().isEmpty() || isHeader(line))
            continue;
        if (const auto parsed = ParseLogTextLine(line)) {
            log.InsertValues(parsed->pulses, parsed->name, parsed->lire, parsed->end, parsed->start);
            ++counts.imported;
        } else {
            ++counts.rejected;
        }
    }
    return counts;
}

bool ExportLogText(const QString& fileName, const TDataUnitsItems& records)
{
    QSaveFile file(fileName);
    // Unbuffered, so a short write (a full disk) is seen before commit replaces the old file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        ShowWarningBox(u"Impossibile salvare il file "_s + fileName
                       + u"\r\rControllare che il supporto non sia a sola lettura o che non sia esaurito lo spazio su disco!"_s);
        return false;
    }
    const QByteArray bytes = EncodeLogText(records);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        ShowWarningBox(u"Impossibile esportare i dati di connessione: \r\r"_s + file.errorString());
        return false;
    }
    ShowInfoBox(u"I dati di connessione sono stati esportati con successo in "_s + fileName);
    return true;
}

bool ImportLogText(const QString& fileName, TDataUnits& log)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw VestrelError(withDetail(u"Impossibile aprire il file: "_s + fileName, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw VestrelError(withDetail(u"Impossibile leggere il file: "_s + fileName, file.errorString()));
    const LogImportCounts counts = ReadLogText(bytes, log);
    if (counts.rejected == 0)
        ShowInfoBox(u"Importate ben "_s + QString::number(counts.imported) + u" connessioni!"_s);
    else
        ShowWarningBox(u"Non è stato possibile importare ben "_s + QString::number(counts.rejected)
                       + u" connessioni su "_s + QString::number(counts.imported) + u"!"_s);
    if (counts.imported - counts.rejected < 1)
        return false;
    log.SaveNow();
    return true;
}

} // namespace vestrel
