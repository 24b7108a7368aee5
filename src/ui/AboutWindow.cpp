#include "AboutWindow.h"

#include "common/ProcessValues.h"
#include "common/SystemInfo.h"
#include "widgets/FishIcons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

TfmAbout::TfmAbout(const QString& supportAddress, QWidget* parent) : QDialog(parent)
{
    setObjectName(u"fmAbout"_s);
    setWindowTitle(u"Informazioni su Vestrel"_s);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(FishImage(Fish::Green, 48)));
    icon->setAlignment(Qt::AlignTop);
    auto* title = new QLabel(u"Vestrel"_s, this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    title->setFont(big);
    auto* text = new QLabel(this);
    text->setTextFormat(Qt::PlainText);
    text->setText(u"Versione "_s + ProgramVersion() + u" (build "_s + QString::number(BuildNumber()) + u")\n\n"_s +
                  u"Il conto della connessione, secondo per secondo:\n"_s +
                  u"tempo, scatti e lire della tariffa scelta.\n\n"_s + u"Per segnalare un errore scrivi a "_s +
                  supportAddress + u"\n"_s + u"allegando il file Exception.txt della cartella dei dati.\n\n"_s +
                  OSDescription());
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* column = new QVBoxLayout;
    column->addWidget(title);
    column->addWidget(text);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addLayout(column, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(u"&OK"_s, QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

} // namespace vestrel
