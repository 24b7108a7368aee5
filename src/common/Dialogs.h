#pragma once

#include <QString>

namespace vestrel {

enum class DialogKind { Error, Warning, Information, YesNo, YesNoCancel };
enum class DialogAnswer { Ok, Yes, No, Cancel };

// Message boxes and questions, all captioned with the application title. The widget layer installs
// a QMessageBox implementation; tests install a scripted one; the default writes to stderr and
// answers questions with No (Cancel where offered).
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual DialogAnswer show(DialogKind kind, const QString& text) = 0;

    static Dialogs& instance();
    // nullptr restores the console implementation. The caller keeps ownership.
    static void setInstance(Dialogs* dialogs);
};

inline void ShowErrorBox(const QString& text)
{
    Dialogs::instance().show(DialogKind::Error, text);
}
inline void ShowWarningBox(const QString& text)
{
    Dialogs::instance().show(DialogKind::Warning, text);
}
inline void ShowInfoBox(const QString& text)
{
    Dialogs::instance().show(DialogKind::Information, text);
}
inline DialogAnswer AskYesNo(const QString& text)
{
    return Dialogs::instance().show(DialogKind::YesNo, text);
}
inline DialogAnswer AskYesNoCancel(const QString& text)
{
    return Dialogs::instance().show(DialogKind::YesNoCancel, text);
}

} // namespace vestrel
