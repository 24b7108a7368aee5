#include "ConsoleServices.h"

namespace vestrel::cli {

using namespace Qt::Literals::StringLiterals;

ConsoleDialogs::ConsoleDialogs(CliIO& io, bool answerYes)
    : m_io(io), m_yes(answerYes), m_previous(&Dialogs::instance())
{
    Dialogs::setInstance(this);
}

ConsoleDialogs::~ConsoleDialogs()
{
    Dialogs::setInstance(m_previous);
}

DialogAnswer ConsoleDialogs::show(DialogKind kind, const QString& text)
{
    const bool question = kind == DialogKind::YesNo || kind == DialogKind::YesNoCancel;
    QTextStream& stream = question || kind == DialogKind::Information ? m_io.out : m_io.err;
    stream << ForTerminal(text) << '\n';
    if (!question) {
        stream.flush();
        return DialogAnswer::Ok;
    }
    const DialogAnswer answer = m_yes ? DialogAnswer::Yes
                                : kind == DialogKind::YesNo ? DialogAnswer::No
                                                            : DialogAnswer::Cancel;
    stream << (answer == DialogAnswer::Yes ? "-> Sì\n" : answer == DialogAnswer::No ? "-> No\n" : "-> Annulla\n");
    stream.flush();
    return answer;
}

ConsoleNotices::ConsoleNotices(CliIO& io) : m_io(io), m_previous(&Notices::instance())
{
    Notices::setInstance(this);
}

ConsoleNotices::~ConsoleNotices()
{
    Notices::setInstance(m_previous);
}

void ConsoleNotices::show(Balloon, const QString& text, const QString& title)
{
    m_io.out << (title.isEmpty() ? QString() : title + u": "_s) << ForTerminal(text) << '\n';
    m_io.out.flush();
}

} // namespace vestrel::cli
