#include "Notices.h"

#include "StringHelpers.h"

#include <cstdio>

namespace vestrel {

namespace {

class ConsoleNotices final : public Notices {
public:
    void show(Balloon, const QString& text, const QString& title) override
    {
        const QString shown = ScreenLines(title.isEmpty() ? text : title + u": " + text);
        std::fprintf(stderr, "%s\n", qUtf8Printable(shown));
    }
};

Notices* g_notices = nullptr;

} // namespace

Notices& Notices::instance()
{
    static ConsoleNotices console;
    return g_notices ? *g_notices : console;
}

void Notices::setInstance(Notices* notices)
{
    g_notices = notices;
}

} // namespace vestrel
