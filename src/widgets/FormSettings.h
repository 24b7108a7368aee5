#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

class QWidget;

namespace vestrel {

// The remembered place of a window, per screen resolution: "Top", "Left" (default 20) and, for a
// sizeable window, "Width" and "Height" (default the designed size) in the registry section
// "Settings\" + window name + "\" + screen width + "x" + screen height. Applied when attached,
// and only the values that changed are written back when the window is destroyed.
class TFormSettings : public QObject {
public:
    // The window is sizeable unless its minimum and maximum sizes are equal.
    explicit TFormSettings(QWidget* window);
    ~TFormSettings() override;

    QString Section() const { return m_section; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void save();

    QPointer<QWidget> m_window;
    QString m_section;
    bool m_sizeable;
    QRect m_loaded;
    QRect m_current;
    bool m_saved = false;
};

// Attaches a TFormSettings to the window. A window that asks to be centred on the screen (the
// dynamic property "centred" set) is refused:
// "Fallita la RememberSettings: La proprietà Position deve essere poDesigned!".
TFormSettings* RememberSettings(QWidget* window);

} // namespace vestrel
