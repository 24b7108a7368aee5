#include "MainWindowLayout.h"

#include "SkinArtwork.h"
#include "SkinConvert.h"

#include <QAbstractButton>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>

namespace vestrel {

const char* const DesignFontName = "Sans Serif";

namespace {

constexpr qint32 White = RgbColor(255, 255, 255);
constexpr qint32 Aqua = RgbColor(0, 255, 255);
constexpr qint32 Yellow = RgbColor(255, 255, 0);
constexpr qint32 Silver = RgbColor(192, 192, 192);

// Buttons sit in one row below the byte labels, 20 pixels apart.
constexpr QRect buttonAt(int index) {
    return QRect(2 + index * 20, 34, 18, 18);
}

} // namespace

// The figure strip runs from x 23 to 222: moved 23 pixels to the left (and lbTempoTrascorso to
// Left 1) the four figures fill 199 × 14 with nothing else in it. The byte labels, the progress
// panel and the buttons lie below the strip (Top 18 and more) and fall outside such a window.
const std::vector<DesignControl>& MainWindowDesign() {
    static const std::vector<DesignControl> design = {
        {"lbTempoTrascorso", ControlKind::Label, QRect(24, 1, 50, 13), White},
        {"lbNumeroScatti", ControlKind::Label, QRect(76, 1, 30, 13), Aqua},
        {"lbVestrel", ControlKind::Label, QRect(111, 1, 48, 13), Silver},
        {"lbSpesa", ControlKind::Label, QRect(163, 1, 58, 13), Yellow},
        {"LabelBytesTransmitted", ControlKind::Label, QRect(24, 18, 60, 13), White},
        {"LabelBytesReceived", ControlKind::Label, QRect(88, 18, 60, 13), White},
        {"pnProgress", ControlKind::Panel, QRect(152, 20, 69, 9), White},
        {"SpeedButton1", ControlKind::Button, buttonAt(0), White},
        {"SpeedButton2", ControlKind::Button, buttonAt(1), White},
        {"SpeedButton3", ControlKind::Button, buttonAt(2), White},
        {"SpeedButtonDisconnetti", ControlKind::Button, buttonAt(3), White},
        {"SpeedButton5", ControlKind::Button, buttonAt(4), White},
        {"SpeedButtonPopup", ControlKind::Button, buttonAt(5), White},
        {"SpeedButton7", ControlKind::Button, buttonAt(6), White},
        {"SpeedButton4", ControlKind::Button, buttonAt(7), White},
        {"SpeedButton8", ControlKind::Button, buttonAt(8), White},
        {"SpeedButtonRun", ControlKind::Button, buttonAt(9), White},
        {"SpeedButtonStart", ControlKind::Button, buttonAt(10), White},
    };
    return design;
}

QSize MainWindowDesignSize() {
    return QSize(222, 54);
}

void PlaceDesignLayout(QWidget* window) {
    for (const DesignControl& d : MainWindowDesign()) {
        auto* control = window->findChild<QWidget*>(QString::fromLatin1(d.name));
        if (!control)
            continue;
        QFont font(QString::fromLatin1(DesignFontName));
        font.setPixelSize(-DesignFontHeight);
        control->setFont(font);
        SetTextColor(*control, ToQColor(d.color));
        control->setGeometry(d.geometry);
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            SetButtonGlyph(*button, ButtonArtwork(QString::fromLatin1(d.name)));
            button->setGeometry(d.geometry);
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        if (d.kind == ControlKind::Panel)
            if (auto* bar = control->findChild<QProgressBar*>()) {
                bar->setGeometry(control->rect());
                bar->setTextVisible(false);
                // A dark groove and a sea-green bar, readable on dark and light skins alike.
                QPalette pal = bar->palette();
                pal.setColor(QPalette::Base, QColor(16, 44, 44));
                pal.setColor(QPalette::Window, QColor(16, 44, 44));
                pal.setColor(QPalette::Highlight, QColor(72, 196, 170));
                bar->setPalette(pal);
            }
    }
}

} // namespace vestrel
