// Reading and writing the old releases' connection tables through pxlib.

#include "OldTables.h"

#include "common/VestrelError.h"

#include <QFile>

#include <cmath>
#include <cstring>
#include <mutex>
#include <string>

extern "C" {
#include <paradox.h>
}

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

// Paradox counts days from 1 January 0001 (day 1); the date-time from 30 December 1899.
constexpr long ParadoxDateDelta = 693594;
constexpr double MSecsPerDayF = 86'400'000.0;

void bootOnce()
{
    static std::once_flag booted;
    std::call_once(booted, [] { PX_boot(); });
}

// One pxlib document, closed and freed on every path; the library's errors are collected
// instead of printed.
class PxDocument {
public:
    PxDocument()
    {
        bootOnce();
        m_doc = PX_new3(&PxDocument::onError, nullptr, nullptr, nullptr, this);
    }
    ~PxDocument()
    {
        if (!m_doc)
            return;
        if (m_open)
            PX_close(m_doc);
        PX_delete(m_doc);
    }
    PxDocument(const PxDocument&) = delete;
    PxDocument& operator=(const PxDocument&) = delete;

    pxdoc_t* get() const { return m_doc; }
    void setOpen() { m_open = true; }

    // The library's last error, else the fallback.
    [[noreturn]] void fail(const QString& fallback) const
    {
        throw VestrelError(m_error.empty() ? fallback : QString::fromLocal8Bit(m_error.c_str()));
    }

private:
    static void onError(pxdoc_t*, int type, const char* message, void* data)
    {
        if (type != PX_Warning && message)
            static_cast<PxDocument*>(data)->m_error = message;
    }

    pxdoc_t* m_doc = nullptr;
    bool m_open = false;
    std::string m_error;
};

enum class FieldKind { Date, Time, Number };

struct FieldSpec {
    const char* name;
    FieldKind kind;
};

// In the order of the old tables.
constexpr FieldSpec Fields[] = {
    {"Datainizio", FieldKind::Date},   {"Datafine", FieldKind::Date},
    {"Orainizio", FieldKind::Time},    {"Orafine", FieldKind::Time},
    {"Numeroscatti", FieldKind::Number}, {"Costo", FieldKind::Number},
};
constexpr int FieldCount = int(std::size(Fields));

struct FieldPlace {
    int offset = -1;
    int length = 0;
    char type = 0;
};

bool typeFits(FieldKind kind, char type, int length)
{
    switch (kind) {
    case FieldKind::Date:
        return type == pxfDate && length == 4;
    case FieldKind::Time:
        return type == pxfTime && length == 4;
    case FieldKind::Number:
        return ((type == pxfNumber || type == pxfCurrency) && length == 8)
            || ((type == pxfLong || type == pxfAutoInc) && length == 4)
            || (type == pxfShort && length == 2);
    }
    return false;
}

// Paradox fields hold big-endian values whose sign bit is flipped (a negative float has all its
// bits inverted); all zero bytes are NULL, read as 0. Decoded here rather than by the library,
// whose NULL test reads past a 4-byte field on 64-bit systems.
quint64 bigEndian(const char* data, int length)
{
    quint64 value = 0;
    for (int i = 0; i < length; ++i)
        value = (value << 8) | static_cast<unsigned char>(data[i]);
    return value;
}

double readNumber(const char* data, const FieldPlace& f)
{
    const quint64 raw = bigEndian(data, f.length);
    if (raw == 0)
        return 0;
    if (f.type == pxfNumber || f.type == pxfCurrency) {
        const quint64 sign = quint64(1) << 63;
        const quint64 bits = (raw & sign) ? raw ^ sign : ~raw;
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    const int bitsCount = f.length * 8;
    const quint64 sign = quint64(1) << (bitsCount - 1);
    const quint64 flipped = raw ^ sign;
    // Back to a signed value of the field's width.
    return double(qint64(flipped << (64 - bitsCount)) >> (64 - bitsCount));
}

bool sameName(const char* a, const char* b)
{
    return a && QString::fromLatin1(a).compare(QString::fromLatin1(b), Qt::CaseInsensitive) == 0;
}

} // namespace

qint32 OldConnectionRow::pulses() const
{
    return qint32(std::nearbyint(Numeroscatti));
}

bool OldTablesAvailable()
{
    PxDocument doc;
    return doc.get() != nullptr;
}

std::vector<OldConnectionRow> ReadOldTable(const QString& path)
{
    {
        // The file system's reason is clearer than the library's.
        QFile probe(path);
        if (!probe.open(QIODevice::ReadOnly))
            throw VestrelError(probe.errorString());
    }
    PxDocument px;
    pxdoc_t* doc = px.get();
    if (!doc)
        throw VestrelError(u"Libreria Paradox non disponibile"_s);
    if (PX_open_file(doc, QFile::encodeName(path).constData()) < 0)
        px.fail(u"Formato della tabella non riconosciuto"_s);
    px.setOpen();

    const int recordSize = PX_get_recordsize(doc);
    const int fieldCount = PX_get_num_fields(doc);
    FieldPlace places[FieldCount];
    int offset = 0;
    for (int i = 0; i < fieldCount; ++i) {
        const pxfield_t* field = PX_get_field(doc, i);
        if (!field || field->px_flen <= 0)
            px.fail(u"Definizione dei campi non valida"_s);
        for (int k = 0; k < FieldCount; ++k)
            if (places[k].offset < 0 && sameName(field->px_fname, Fields[k].name))
                places[k] = {offset, field->px_flen, field->px_ftype};
        offset += field->px_flen;
    }
    if (recordSize <= 0 || offset > recordSize)
        px.fail(u"Definizione dei campi non valida"_s);
    // The library reads past the end of a table cut short without a word.
    const pxhead_t* head = doc->px_head;
    const qint64 expectedSize = qint64(head->px_headersize) + qint64(head->px_fileblocks) * head->px_maxtablesize * 1024;
    if (QFile(path).size() < expectedSize)
        throw VestrelError(u"Tabella incompleta"_s);
    for (int k = 0; k < FieldCount; ++k) {
        const QString name = QString::fromLatin1(Fields[k].name);
        if (places[k].offset < 0)
            throw VestrelError(u"Campo mancante: "_s + name);
        if (!typeFits(Fields[k].kind, places[k].type, places[k].length))
            throw VestrelError(u"Tipo del campo non valido: "_s + name);
    }

    std::vector<OldConnectionRow> rows;
    std::vector<char> record(static_cast<std::size_t>(recordSize));
    const int count = PX_get_num_records(doc);
    for (int r = 0; r < count; ++r) {
        std::memset(record.data(), 0, record.size());
        if (!PX_get_record(doc, r, record.data()))
            px.fail(u"Record illeggibile: "_s + QString::number(r + 1));
        double v[FieldCount];
        for (int k = 0; k < FieldCount; ++k)
            v[k] = readNumber(record.data() + places[k].offset, places[k]);
        OldConnectionRow row;
        row.Datainizio = v[0] == 0 ? 0 : v[0] - ParadoxDateDelta;
        row.Datafine = v[1] == 0 ? 0 : v[1] - ParadoxDateDelta;
        row.Orainizio = v[2] / MSecsPerDayF;
        row.Orafine = v[3] / MSecsPerDayF;
        row.Numeroscatti = v[4];
        row.Costo = v[5];
        if (!std::isfinite(row.Numeroscatti) || std::fabs(std::nearbyint(row.Numeroscatti)) > 2147483647.0
            || !std::isfinite(row.Costo))
            throw VestrelError(u"Valore non valido nel record "_s + QString::number(r + 1));
        rows.push_back(row);
    }
    return rows;
}

void WriteOldTable(const QString& path, const std::vector<OldConnectionRow>& rows)
{
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw VestrelError(probe.errorString());
    }
    PxDocument px;
    pxdoc_t* doc = px.get();
    if (!doc)
        throw VestrelError(u"Libreria Paradox non disponibile"_s);
    // The library takes the field definitions over and frees them with the document.
    auto* fields = static_cast<pxfield_t*>(doc->malloc(doc, sizeof(pxfield_t) * FieldCount, "fields"));
    for (int k = 0; k < FieldCount; ++k) {
        fields[k].px_fname = PX_strdup(doc, Fields[k].name);
        fields[k].px_ftype = Fields[k].kind == FieldKind::Date ? pxfDate
                           : Fields[k].kind == FieldKind::Time ? pxfTime
                                                               : pxfNumber;
        fields[k].px_flen = Fields[k].kind == FieldKind::Number ? 8 : 4;
        fields[k].px_fdc = 0;
    }
    if (PX_create_file(doc, fields, FieldCount, QFile::encodeName(path).constData(), pxfFileTypNonIndexDB) < 0)
        px.fail(u"Impossibile creare la tabella"_s);
    px.setOpen();

    std::vector<char> record(static_cast<std::size_t>(PX_get_recordsize(doc)));
    for (const OldConnectionRow& row : rows) {
        std::memset(record.data(), 0, record.size());
        char* at = record.data();
        // A date of 0 stays NULL, as an empty date reads back as 0.
        if (row.Datainizio != 0)
            PX_put_data_long(doc, at, 4, int(std::lround(row.Datainizio) + ParadoxDateDelta));
        if (row.Datafine != 0)
            PX_put_data_long(doc, at + 4, 4, int(std::lround(row.Datafine) + ParadoxDateDelta));
        PX_put_data_long(doc, at + 8, 4, int(std::lround(row.Orainizio * MSecsPerDayF)));
        PX_put_data_long(doc, at + 12, 4, int(std::lround(row.Orafine * MSecsPerDayF)));
        PX_put_data_double(doc, at + 16, 8, row.Numeroscatti);
        PX_put_data_double(doc, at + 24, 8, row.Costo);
        if (PX_put_record(doc, record.data()) < 0)
            px.fail(u"Impossibile scrivere la tabella"_s);
    }
}

} // namespace vestrel
