#include "Dialogs.h"

#include "ProcessValues.h"
#include "StringHelpers.h"

#include <cstdio>

namespace vestrel {

namespace {

class ConsoleDialogs final : public Dialogs {
public:
    DialogAnswer show(DialogKind kind, const QString& text) override
    {
        const QString shown = ScreenLines(text);
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(ApplicationTitle()), qUtf8Printable(shown));
        switch (kind) {
        case DialogKind::YesNo:
            return DialogAnswer::No;
        case DialogKind::YesNoCancel:
            return DialogAnswer::Cancel;
        default:
            return DialogAnswer::Ok;
        }
    }
};

Dialogs* g_dialogs = nullptr;

} // namespace

Dialogs& Dialogs::instance()
{
    static ConsoleDialogs console;
    return g_dialogs ? *g_dialogs : console;
}

void Dialogs::setInstance(Dialogs* dialogs)
{
    g_dialogs = dialogs;
}

} // namespace vestrel
