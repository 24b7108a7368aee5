#pragma once

#include <QString>

namespace vestrel {

// The four note balloons near the tray icon.
enum class Balloon { Greeting, Information, Comparison, Notice };

// Short texts shown in a balloon. The shell installs the balloon windows; tests record; the
// default writes to stderr.
class Notices {
public:
    virtual ~Notices() = default;
    virtual void show(Balloon balloon, const QString& text, const QString& title = {}) = 0;

    static Notices& instance();
    // nullptr restores the console implementation. The caller keeps ownership.
    static void setInstance(Notices* notices);
};

inline void ShowNotice(Balloon balloon, const QString& text, const QString& title = {})
{
    Notices::instance().show(balloon, text, title);
}

} // namespace vestrel
