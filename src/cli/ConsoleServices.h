#pragma once

#include "CliCommands.h"

#include "common/Dialogs.h"
#include "common/Notices.h"

namespace vestrel::cli {

// Message boxes on the terminal while a command runs: information and questions on standard
// output, errors and warnings on standard error; a question gets the answer the command line
// chose (No, or Cancel where offered, by default).
class ConsoleDialogs final : public Dialogs {
public:
    explicit ConsoleDialogs(CliIO& io, bool answerYes = false);
    ~ConsoleDialogs() override;
    DialogAnswer show(DialogKind kind, const QString& text) override;

private:
    CliIO& m_io;
    bool m_yes;
    Dialogs* m_previous;
};

// Balloon notes as lines on standard output.
class ConsoleNotices final : public Notices {
public:
    explicit ConsoleNotices(CliIO& io);
    ~ConsoleNotices() override;
    void show(Balloon balloon, const QString& text, const QString& title) override;

private:
    CliIO& m_io;
    Notices* m_previous;
};

} // namespace vestrel::cli
