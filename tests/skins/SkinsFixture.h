#pragma once

#include "skins/DataSkins.h"
#include "skins/MainWindowLayout.h"
#include "skins/Picture.h"
#include "skins/SkinConvert.h"

#include "store/StreamBytes.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace vestrel::testing {

// A window with the main window's controls, named and placed as designed.
class SkinnedWindow : public QWidget {
public:
    SkinnedWindow() {
        for (const DesignControl& d : MainWindowDesign()) {
            const QString name = QString::fromLatin1(d.name);
            QWidget* control = nullptr;
            if (d.kind == ControlKind::Label) {
                control = new QLabel(name == QStringLiteral("lbSpesa") ? QStringLiteral("£ 12.345")
                                                                       : QStringLiteral("0.00.00"),
                                     this);
            } else if (d.kind == ControlKind::Button) {
                auto* button = new QToolButton(this);
                button->setAutoRaise(true);
                control = button;
            } else {
                auto* panel = new QFrame(this);
                auto* bar = new QProgressBar(panel);
                bar->setObjectName(QStringLiteral("ProgressBar"));
                bar->setTextVisible(false);
                bar->setValue(40);
                control = panel;
            }
            control->setObjectName(name);
        }
        resize(MainWindowDesignSize());
        PlaceDesignLayout(this);
    }

    template <class W = QWidget> W* control(const char* name) const {
        return findChild<W*>(QString::fromLatin1(name));
    }

    int presses = 0;
    int releases = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
};

// A picture of one colour with a differently coloured bottom-left pixel.
inline QImage PlainPicture(int width, int height, QRgb fill = qRgb(10, 90, 90),
                           QRgb bottomLeft = qRgb(255, 0, 255)) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    image.setPixel(0, height - 1, bottomLeft);
    return image;
}

inline TPicture MakePicture(const QImage& image, bool transparent = false) {
    TPicture picture;
    picture.SetImage(image);
    picture.SetTransparent(transparent);
    return picture;
}

class SkinsTest : public ::testing::Test {
protected:
    QString path(const QString& name = QStringLiteral("Skin.dat")) const {
        return dir.filePath(name);
    }

    ScriptedDialogs dialogs;
    QTemporaryDir dir;
};

} // namespace vestrel::testing
