#include "FormDialogDisconnetti.h"

#include "monitor/Disconnection.h"
#include "monitor/Status.h"

#include "common/DateTime.h"
#include "widgets/Forms.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

QPointer<TfmDialogDisconnetti>& reference()
{
    static QPointer<TfmDialogDisconnetti> window;
    return window;
}

} // namespace

TfmDialogDisconnetti::TfmDialogDisconnetti(TStatus& status, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_status(status)
{
    setObjectName(u"fmDialogDisconnetti"_s);
    setWindowTitle(u"Imposta l'orario di disconnessione"_s);
    const QLocale italian(QLocale::Italian, QLocale::Italy);

    m_date = new QDateEdit(this);
    m_date->setObjectName(u"DateInizio"_s);
    m_date->setLocale(italian);
    m_date->setDisplayFormat(u"dddd d MMMM yyyy"_s);
    m_date->setCalendarPopup(true);
    m_time = new QTimeEdit(this);
    m_time->setObjectName(u"TimeInizio"_s);
    m_time->setLocale(italian);
    m_time->setDisplayFormat(u"HH:mm:ss"_s);

    m_hours = new QLineEdit(this);
    m_hours->setObjectName(u"EditMaskOre"_s);
    m_hours->setMaxLength(4);
    m_hours->setFixedWidth(m_hours->fontMetrics().horizontalAdvance(u"00000"_s) + 12);

    m_shutdown = new QCheckBox(schedule::ShutdownCaption(), this);
    m_shutdown->setObjectName(u"CheckBoxCloseWindoz"_s);
    m_shutdown->setToolTip(u"Indica se chiudere o meno la sessione di Windows alla disconnessione"_s);
    m_shutdown->setChecked(status.ShutdownAtDisconnect());

    m_ok = new QPushButton(u"&OK"_s, this);
    m_ok->setObjectName(u"buOk"_s);
    m_ok->setAutoDefault(false);
    m_cancel = new QPushButton(u"&Annulla"_s, this);
    m_cancel->setObjectName(u"buAnnulla"_s);
    m_cancel->setToolTip(u"Annulla la disconnessione programmata"_s);
    m_cancel->setDefault(true);

    auto* momentBox = new QGroupBox(u"Data e ora di disconnessione"_s, this);
    auto* pickers = new QHBoxLayout(momentBox);
    pickers->setContentsMargins(10, 8, 10, 10);
    pickers->addWidget(m_date, 1);
    pickers->addWidget(m_time);

    auto* fra = new QHBoxLayout;
    auto* fraLabel = new QLabel(u"Fra"_s, this);
    fraLabel->setBuddy(m_hours);
    fra->addWidget(fraLabel);
    fra->addWidget(m_hours);
    fra->addWidget(new QLabel(u"ore"_s, this));
    fra->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(momentBox);
    layout->addLayout(fra);
    layout->addWidget(m_shutdown);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));

    showMoment(schedule::InitialMoment(status));

    connect(m_hours, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (const auto moment = schedule::MomentInHours(text))
            showMoment(*moment);
    });
    connect(m_ok, &QPushButton::clicked, this, &TfmDialogDisconnetti::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TfmDialogDisconnetti::cancelSchedule);
}

void TfmDialogDisconnetti::showMoment(double moment)
{
    const DateParts d = DecodeDate(moment);
    const TimeParts t = DecodeTime(moment);
    m_date->setDate(QDate(d.year, d.month, d.day));
    m_time->setTime(QTime(t.hour, t.minute, t.second));
}

void TfmDialogDisconnetti::accept()
{
    const QDate date = m_date->date();
    const QTime time = m_time->time();
    if (schedule::Schedule(m_status, EncodeDate(date.year(), date.month(), date.day()),
                           EncodeTime(time.hour(), time.minute(), time.second()), m_shutdown->isChecked()))
        QDialog::accept();
}

void TfmDialogDisconnetti::cancelSchedule()
{
    schedule::Cancel(m_status);
    reject();
}

void TfmDialogDisconnetti::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_cancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void OpenScheduleDialog(TStatus& status)
{
    if (reference())
        return;
    ShowForm<TfmDialogDisconnetti>(reference(), false, [&status] { return new TfmDialogDisconnetti(status); });
}

TfmDialogDisconnetti* OpenedScheduleDialog()
{
    return reference().data();
}

} // namespace vestrel
