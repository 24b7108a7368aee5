#include "StreamBuffer.h"

#include "Cp1252.h"

#include "common/VestrelError.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace vestrel::store {

using namespace Qt::Literals::StringLiterals;

void StreamOutput::writeBytes(const char* data, qsizetype size)
{
    while (size > 0) {
        if (m_used == m_buffer.size())
            flush();
        const std::size_t n = std::min<std::size_t>(std::size_t(size), m_buffer.size() - m_used);
        std::memcpy(m_buffer.data() + m_used, data, n);
        m_used += n;
        data += n;
        size -= qsizetype(n);
    }
}

void StreamOutput::writeInt16(qint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    writeBytes(b, 2);
}

void StreamOutput::writeInt32(qint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    writeBytes(b, 4);
}

void StreamOutput::writeShortString(const QByteArray& bytes)
{
    const qsizetype n = std::min<qsizetype>(bytes.size(), 255);
    writeByte(std::uint8_t(n));
    writeBytes(bytes.constData(), n);
}

void StreamOutput::writeCp1252(const QString& text)
{
    const QChar* c = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i)
        writeByte(std::uint8_t(ToCp1252Char(c[i].unicode())));
}

void StreamOutput::flush()
{
    if (m_used == 0)
        return;
    if (m_device.write(m_buffer.data(), qint64(m_used)) != qint64(m_used)) {
        const QString error = m_device.errorString();
        throw VestrelError(error.isEmpty() ? u"Stream write error"_s : error);
    }
    m_used = 0;
}

void StreamInput::fill()
{
    const qint64 n = m_device.read(m_buffer.data(), qint64(m_buffer.size()));
    if (n <= 0)
        throw VestrelError(u"Stream read error"_s);
    m_pos = 0;
    m_end = std::size_t(n);
}

void StreamInput::readAcross(char* out, qsizetype size)
{
    while (size > 0) {
        if (m_pos == m_end)
            fill();
        const std::size_t n = std::min<std::size_t>(std::size_t(size), m_end - m_pos);
        std::memcpy(out, m_buffer.data() + m_pos, n);
        m_pos += n;
        out += n;
        size -= qsizetype(n);
    }
}

qint16 StreamInput::readInt16()
{
    char b[2];
    readInto(b, 2);
    return qFromLittleEndian<qint16>(b);
}

qint32 StreamInput::readInt32()
{
    char b[4];
    readInto(b, 4);
    return qFromLittleEndian<qint32>(b);
}

QByteArray StreamInput::readBytes(quint32 size)
{
    constexpr quint32 Chunk = 1 << 16;
    // QByteArray cannot hold more than this; no real file comes near it.
    if (size > quint32(std::numeric_limits<qsizetype>::max() / 2) || size > 0x7FFF'0000u)
        throw VestrelError(u"Stream read error"_s);
    QByteArray out;
    quint32 done = 0;
    while (done < size) {
        const quint32 n = std::min(Chunk, size - done);
        out.resize(qsizetype(done + n));
        readInto(out.data() + done, qsizetype(n));
        done += n;
    }
    return out;
}

QByteArray StreamInput::readShortString()
{
    const std::uint8_t n = readByte();
    QByteArray out(n, Qt::Uninitialized);
    readInto(out.data(), n);
    return out;
}

void StreamInput::skip(qsizetype size)
{
    char sink[256];
    while (size > 0) {
        const qsizetype n = std::min<qsizetype>(size, qsizetype(sizeof sink));
        readInto(sink, n);
        size -= n;
    }
}

void StreamInput::finish()
{
    if (!m_device.isSequential() && m_end > m_pos)
        m_device.seek(m_device.pos() - qint64(m_end - m_pos));
    m_pos = m_end = 0;
}

} // namespace vestrel::store
