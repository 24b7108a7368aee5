#include "ComparisonSettings.h"

#include "config/ProfileItem.h"
#include "monitor/Status.h"
#include "tariff/TaxItem.h"
#include "widgets/FishIcons.h"

#include "common/Clock.h"
#include "common/StringHelpers.h"
#include "common/DateFormat.h"
#include "common/Timer.h"
#include "common/VestrelError.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

// The band fish of the preview; it turns transparent while the mouse is over it, as the real
// tray icon does.
class TrayPreviewIcon : public QLabel {
public:
    explicit TrayPreviewIcon(QWidget* parent) : QLabel(parent)
    {
        setObjectName(u"imFish"_s);
        setFixedSize(16, 16);
    }

    void setBand(Fish fish)
    {
        m_band = fish;
        showFish();
    }

protected:
    void enterEvent(QEnterEvent* event) override
    {
        m_hovered = true;
        showFish();
        QLabel::enterEvent(event);
    }
    void leaveEvent(QEvent* event) override
    {
        m_hovered = false;
        showFish();
        QLabel::leaveEvent(event);
    }

private:
    void showFish() { setPixmap(FishIcon(m_hovered ? Fish::Transparent : m_band).pixmap(16, 16)); }

    Fish m_band = Fish::Transparent;
    bool m_hovered = false;
};

namespace {

Fish bandFish(const TStatus* status)
{
    const TTaxItem* tax = status ? status->Tax() : nullptr;
    if (!tax)
        return Fish::Transparent;
    TFasciaOraria band = foNone;
    try {
        band = tax->FasciaNow();
    } catch (const VestrelError&) {
        // A table that covers no slot now has no band to show.
    }
    switch (band) {
    case foPunta:
        return Fish::Red;
    case foIntera:
        return Fish::Yellow;
    case foRidotta:
        return Fish::Green;
    case foNone:
        break;
    }
    return Fish::Transparent;
}

} // namespace

const std::array<DisplayTime, 7>& DisplayTimes()
{
    static const std::array<DisplayTime, 7> times = {{
        {u"Non visualizzare il messaggio", 0},
        {u"Visualizza per 20 secondi", 20000},
        {u"Visualizza per 15 secondi", 15000},
        {u"Visualizza per 10 secondi", 10000},
        {u"Visualizza per 5 secondi", 5000},
        {u"Visualizza per 2 secondi", 2000},
        {u"Non visualizzare nessun messaggio", -1},
    }};
    return times;
}

int DisplayTimeIndex(qint32 trayHintPause)
{
    const auto& times = DisplayTimes();
    for (std::size_t i = 0; i < times.size(); ++i)
        if (times[i].TrayHintPause == trayHintPause)
            return int(i);
    return -1;
}

QString LastComparisonHint(const QString& report, const QString& entryName)
{
    if (report.isEmpty())
        return u"Bene! Hai scelto la tariffa più conveniente! ;)"_s;
    return u"Maledizione non hai scelto la tariffa più conveniente con la connessione "_s +
           entryName + u"\r"_s + report;
}

ComparisonSettingsDialog::ComparisonSettingsDialog(TProfileItem& profile, const TStatus* status,
                                                   std::function<void(qint32)> apply,
                                                   QWidget* parent)
    : QDialog(parent), m_profile(profile), m_status(status), m_apply(std::move(apply))
{
    setObjectName(u"fmComparisonSettings"_s);
    setWindowTitle(u"Impostazioni confronto delle tariffe"_s);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);

    m_sanctiOff = new QCheckBox(u"Non mostrare il santo del giorno"_s, this);
    m_sanctiOff->setObjectName(u"ckSanctiOff"_s);
    m_sanctiOff->setChecked(profile.SanctiOff());
    layout->addWidget(m_sanctiOff);

    m_times = new QListWidget(this);
    m_times->setObjectName(u"lbTempi"_s);
    for (const DisplayTime& t : DisplayTimes())
        m_times->addItem(QString::fromUtf16(t.Text));
    m_times->setCurrentRow(DisplayTimeIndex(profile.TrayHintPause()));
    if (m_times->currentRow() < 0)
        m_times->clearSelection();
    m_times->setFixedHeight(m_times->sizeHintForRow(0) * m_times->count() + 2 * m_times->frameWidth());
    layout->addWidget(m_times);

    // The notification area as it will look: the band fish and the clock.
    auto* tray = new QFrame(this);
    tray->setObjectName(u"pnTray"_s);
    tray->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* trayLayout = new QHBoxLayout(tray);
    trayLayout->setContentsMargins(6, 2, 6, 2);
    m_icon = new TrayPreviewIcon(tray);
    m_time = new QLabel(tray);
    m_time->setObjectName(u"lbOra"_s);
    trayLayout->addWidget(m_icon);
    trayLayout->addWidget(m_time);
    auto* trayRow = new QHBoxLayout;
    trayRow->addStretch();
    trayRow->addWidget(tray);
    layout->addLayout(trayRow);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(u"&OK"_s, this);
    ok->setObjectName(u"buOk"_s);
    ok->setDefault(true);
    auto* cancel = new QPushButton(u"&Annulla"_s, this);
    cancel->setObjectName(u"buAnnulla"_s);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_icon->setBand(bandFish(m_status));
    QString hint = m_status ? LastComparisonHint(m_status->LastComparison(),
                                                 m_status->LastConnection().Name)
                            : LastComparisonHint({}, {});
    m_icon->setToolTip(ScreenLines(hint));
    m_timer = new Timer(this, u"TimerClock"_s, 1000);
    connect(m_timer, &Timer::timeout, this, &ComparisonSettingsDialog::refreshPreview);
    refreshPreview();
    m_timer->start();
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ComparisonSettingsDialog::~ComparisonSettingsDialog() = default;

void ComparisonSettingsDialog::refreshPreview()
{
    const TDateTime now = Now();
    m_time->setText(FormatDateTime(u"h:mm"_s, now));
    m_time->setToolTip(FormatDateTime(u"dddd d mmmm yyyy"_s, now));
    m_icon->setBand(bandFish(m_status));
}

void ComparisonSettingsDialog::accept()
{
    m_profile.SetSanctiOff(m_sanctiOff->isChecked());
    const int row = m_times->currentRow();
    // Without a choice the stored value stays as it is.
    if (row >= 0 && m_times->currentItem() && m_times->currentItem()->isSelected())
        m_profile.SetTrayHintPause(DisplayTimes()[std::size_t(row)].TrayHintPause);
    if (m_apply)
        m_apply(m_profile.TrayHintPause());
    QDialog::accept();
}

} // namespace vestrel
