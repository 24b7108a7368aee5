#include "WidgetDialogs.h"

#include "common/ProcessValues.h"
#include "common/StringHelpers.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

WidgetDialogs::WidgetDialogs()
{
    Dialogs::setInstance(this);
}

WidgetDialogs::~WidgetDialogs()
{
    Dialogs::setInstance(nullptr);
}

DialogAnswer WidgetDialogs::show(DialogKind kind, const QString& text)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(ApplicationTitle());
    // The program's texts break lines with CR alone.
    box.setText(ScreenLines(text));
    box.setWindowFlag(Qt::WindowStaysOnTopHint);

    QPushButton* ok = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* cancel = nullptr;
    switch (kind) {
    case DialogKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case DialogKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case DialogKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case DialogKind::YesNo:
    case DialogKind::YesNoCancel:
        box.setIcon(QMessageBox::Question);
        yes = box.addButton(u"Sì"_s, QMessageBox::YesRole);
        no = box.addButton(u"No"_s, QMessageBox::NoRole);
        if (kind == DialogKind::YesNoCancel)
            cancel = box.addButton(u"Annulla"_s, QMessageBox::RejectRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(cancel ? cancel : no);
        break;
    }
    if (!yes) {
        ok = box.addButton(u"OK"_s, QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    box.exec();
    const auto* clicked = box.clickedButton();
    if (yes && clicked == yes)
        return DialogAnswer::Yes;
    if (no && clicked == no)
        return DialogAnswer::No;
    if (cancel)
        return DialogAnswer::Cancel;
    return yes ? DialogAnswer::No : DialogAnswer::Ok;
}

} // namespace vestrel
