#include "Cp1252.h"

#include <array>

namespace vestrel::store {

namespace {

constexpr std::array<char16_t, 32> High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

char16_t toUnicode(unsigned char b)
{
    return (b >= 0x80 && b < 0xA0) ? High[b - 0x80] : char16_t(b);
}

} // namespace

char ToCp1252Char(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < High.size(); ++i)
        if (High[i] == c)
            return char(0x80 + i);
    return '?';
}

QString FromCp1252(QByteArrayView bytes)
{
    // Outside 0x80..0x9F the code page is Latin-1, which Qt converts fast; mend the rest.
    QString out = QString::fromLatin1(bytes);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80 && b < 0xA0)
            out[i] = QChar(toUnicode(b));
    }
    return out;
}

QByteArray ToCp1252(const QString& text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char* d = out.data();
    const QChar* s = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i)
        d[i] = ToCp1252Char(s[i].unicode());
    return out;
}

} // namespace vestrel::store
