#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace vestrel {

// The one exception type of the program: it carries the Italian message shown to the user.
class VestrelError : public std::exception {
public:
    explicit VestrelError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// Message text followed by the usual detail block: CR CR "[" detail "]".
inline QString withDetail(const QString& text, const QString& detail, int breaks = 2)
{
    return text + QString(breaks, u'\r') + u'[' + detail + u']';
}

} // namespace vestrel
