#include "Agenda.h"

#include "common/DateFormat.h"
#include "common/Dates.h"
#include "common/VestrelError.h"
#include "store/Cp1252.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>

namespace vestrel {

using namespace store;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString LawSeparator = QString(46, u'*');

// Lines as a text file holds them: CR LF, LF or CR end a line, and a final line break adds no
// empty line.
QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

// UTF-8 when the bytes are valid UTF-8 (the built-in files are), otherwise Windows-1252.
QString decodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = FromCp1252(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

QStringList readLines(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw VestrelError(withDetail(u"Impossibile aprire il file: "_s + fileName, file.errorString()));
    return splitLines(decodeText(file.readAll()));
}

[[noreturn]] void listIndexError(qsizetype index)
{
    throw VestrelError(u"Indice di lista fuori dai limiti (%1)"_s.arg(index));
}

} // namespace

TAgenda::TAgenda(QObject* owner) : TPersistentComponent(owner)
{
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= 31; ++day)
            m_holidays[day - 1][month - 1] = DefaultFesta(day, month);
    fillMurphy(readLines(u":/tariff/laws.txt"_s));
    m_sanctiDays.SetLines(readLines(u":/tariff/saints.txt"_s));
    // The built-in content is the constructor default, not a change.
    SetModified(false);
}

TAgenda::~TAgenda()
{
    SaveOnDestroy();
}

const ClassInfo& TAgenda::staticClassInfo()
{
    using T = TAgenda;
    static const ClassInfo info =
        ClassBuilder<T>("TAgenda", &TPersistentComponent::staticClassInfo())
            .collection("Murphy", &T::Murphy)
            .collection("Giorni", qNonConstOverload<>(&T::Giorni))
            .nested("SanctiDays", &T::SanctiDays)
            .string("LoadingFile", &T::LoadingFile, &T::SetLoadingFile)
            .binary("Data", &T::HasData, &T::Data, &T::SetData)
            .build();
    return info;
}

bool TAgenda::DefaultFesta(int day, int month)
{
    struct Holiday { int day, month; };
    static constexpr Holiday holidays[] = {{1, 1},  {6, 1},  {25, 4},  {1, 5},  {15, 8},
                                            {1, 11}, {8, 12}, {25, 12}, {26, 12}};
    for (const Holiday& h : holidays)
        if (h.day == day && h.month == month)
            return true;
    return false;
}

bool TAgenda::HolidayFlag(int day, int month) const
{
    if (day < 1 || day > 31 || month < 1 || month > 12)
        return false;
    return m_holidays[day - 1][month - 1];
}

void TAgenda::SetHolidayFlag(int day, int month, bool festa)
{
    if (day < 1 || day > 31 || month < 1 || month > 12)
        return;
    assign(m_holidays[day - 1][month - 1], festa);
}

bool TAgenda::IsFesta(TDateTime date) const
{
    const DateParts d = DecodeDate(date);
    return HolidayFlag(d.day, d.month) || IsEasterMonday(date);
}

int TAgenda::DayIndex(TDateTime date)
{
    const DateParts d = DecodeDate(date);
    return int(EncodeDate(1996, d.month, d.day) - EncodeDate(1996, 1, 1));
}

QString TAgenda::SantoDelGiorno(TDateTime date) const
{
    const int index = DayIndex(date);
    if (index >= m_giorni.Count())
        throw VestrelError(u"Il giorno "_s + DateToStr(date) + u" non ha un santo!"_s);
    return m_giorni[index]->Santi();
}

TAgenda::DayText TAgenda::DayDescription(TDateTime date, bool withEaster) const
{
    const int index = DayIndex(date);
    if (index >= m_giorni.Count())
        listIndexError(index);
    DayText result;
    result.item = m_giorni[index];
    result.text = FormatDateTime(u"d mmmm yyyy"_s, date) + u'\r' + result.item->Santi();
    if (withEaster) {
        if (IsEasterSunday(date))
            result.text.prepend(u"Pasqua "_s);
        else if (IsEasterMonday(date))
            result.text.prepend(u"Lunedì dell'Angelo "_s);
    }
    return result;
}

void TAgenda::BuildGiorni()
{
    const QStringList& saints = m_sanctiDays.Lines();
    // Checked before clearing, so a short list leaves the current days as they are.
    if (saints.size() < 366)
        listIndexError(saints.size());
    m_giorni.Clear();
    m_giorni.Reserve(366);
    const TDateTime first = EncodeDate(1996, 1, 1);
    for (int i = 0; i < 366; ++i) {
        const DateParts d = DecodeDate(first + i);
        TDayItem* item = m_giorni.Add();
        item->SetGiorno(quint8(d.day));
        item->SetMese(quint8(d.month));
        item->SetSanti(saints[i]);
        item->SetIsFesta(DefaultFesta(d.day, d.month));
    }
}

QString TAgenda::RandomMurphy()
{
    const int count = m_murphy.Count();
    if (count == 0)
        listIndexError(0);
    QRandomGenerator* random = QRandomGenerator::global();
    int pos = int(random->bounded(count));
    while (pos < MaxShownLaws && m_shown[std::size_t(pos)] && m_shownCount < count)
        pos = int(random->bounded(count));
    ++m_shownCount;
    if (pos < MaxShownLaws)
        m_shown[std::size_t(pos)] = true;
    return m_murphy[pos]->Text();
}

void TAgenda::fillMurphy(const QStringList& lines)
{
    m_murphy.Clear();
    qsizetype i = 0;
    while (i < lines.size() - 3) {
        TMurphyItem* law = m_murphy.Add();
        law->SetCapitolo(lines[i]);
        law->SetTitolo(lines[i + 1]);
        law->SetLegge(lines[i + 2]);
        qsizetype end = i + 3;
        while (end < lines.size() && lines[end] != LawSeparator)
            ++end;
        law->Corollari().SetLines(lines.mid(i + 3, end - (i + 3)));
        i = end + 1;
    }
}

void TAgenda::ImportMurphy(const QString& fileName)
{
    fillMurphy(readLines(fileName));
    SetModified(true);
}

void TAgenda::DoLoaded()
{
    if (m_giorni.Count() == 0)
        BuildGiorni();
    TPersistentComponent::DoLoaded();
}

} // namespace vestrel
