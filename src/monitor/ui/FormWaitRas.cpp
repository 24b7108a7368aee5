#include "FormWaitRas.h"

#include "DialAnimation.h"
#include "DialIcon.h"

#include "common/StringHelpers.h"
#include "monitor/Dialer.h"
#include "monitor/RasControl.h"
#include "monitor/Status.h"
#include "tariff/TaxItem.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int IconSize = 16;
// The icon sits at 2,2 from the item's corner, the name 4 pixels right of it.
constexpr int IconMargin = 2;
constexpr int NameGap = 4;

// Draws a phonebook entry of the list: the dial-up icon, then the name centred vertically.
class PhoneBookDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        // The background and the selection as the style draws them, without text or icon.
        opt.text.clear();
        opt.icon = QIcon();
        opt.features &= ~QStyleOptionViewItem::HasDecoration;
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        const QRect r = option.rect;
        painter->drawImage(QPoint(r.left() + IconMargin, r.top() + IconMargin), m_icon);
        const QRect textRect(r.left() + IconMargin + IconSize + NameGap, r.top(),
                             r.width() - (IconMargin + IconSize + NameGap), r.height());
        painter->save();
        painter->setPen(option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                   : QPalette::Text));
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize text = QStyledItemDelegate::sizeHint(option, index);
        return {text.width() + IconMargin + IconSize + NameGap, std::max(text.height(), IconSize + 2 * IconMargin)};
    }

private:
    QImage m_icon = DialUpImage();
};

// A label that shows as much of its full text as its width allows, the full text as its hint.
class ElidingLabel : public QLabel {
public:
    using QLabel::QLabel;

    void setFullText(const QString& text)
    {
        m_full = text;
        setToolTip(text);
        elide();
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        elide();
    }

private:
    void elide() { setText(ElideToWidth(m_full, fontMetrics(), contentsRect().width())); }

    QString m_full;
};

QFrame* sunkenPanel(QWidget* parent, QLabel* label, const QString& name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(u"Panel"_s + name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    label->setParent(panel);
    label->setObjectName(u"Label"_s + name);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(label);
    return panel;
}

} // namespace

QString ElideToWidth(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) < width)
        return text;
    const QString dots = u"..."_s;
    QString cut = text;
    while (!cut.isEmpty() && metrics.horizontalAdvance(cut + dots) >= width)
        cut.chop(1);
    return cut + dots;
}

TfmWaitRas::TfmWaitRas(TDialer& dialer, TRasControl& ras, TStatus& status, std::function<void()> openTariffChooser,
                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_dialer(dialer), m_ras(ras), m_status(status), m_openTariffChooser(std::move(openTariffChooser))
{
    setObjectName(u"fmWaitRas"_s);

    m_phoneBook = new QComboBox(this);
    m_phoneBook->setObjectName(u"cbPhoneBook"_s);
    m_phoneBook->setItemDelegate(new PhoneBookDelegate(m_phoneBook));
    m_phoneBook->setIconSize(QSize(IconSize, IconSize));
    // A long entry name does not widen the window.
    m_phoneBook->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_phoneBook->setMinimumContentsLength(20);

    m_animate = new TDialAnimation(this);

    m_progressLine = new QLabel(this);
    m_progressLine->setObjectName(u"lbConnessione"_s);
    m_progressLine->setTextFormat(Qt::PlainText);
    // The line is cut to the progress bar; it never sets the window's width.
    m_progressLine->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(u"ProgressBar"_s);
    m_progress->setRange(0, TDialer::ProgressMax);
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(14);

    m_mode = new QCheckBox(u"Usa connessioni a uguale tariffa "_s, this);
    m_mode->setObjectName(u"CheckBoxMode"_s);
    m_mode->setVisible(false);

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(u"Memo"_s);
    m_memo->setReadOnly(true);
    m_memo->setMinimumHeight(90);

    m_tariff = new ElidingLabel;
    m_tariffPanel = sunkenPanel(this, m_tariff, u"Tariffa"_s);
    m_state = new QLabel;
    m_statePanel = sunkenPanel(this, m_state, u"Stato"_s);
    m_statePanel->setMinimumWidth(120);

    m_retry = new QPushButton(u"&Riprova"_s, this);
    m_retry->setObjectName(u"ButtonRiprova"_s);
    m_retry->setAutoDefault(false);
    m_retry->setVisible(false);
    m_cancel = new QPushButton(u"&Annulla"_s, this);
    m_cancel->setObjectName(u"buAnnulla"_s);
    m_cancel->setDefault(true);

    // The state takes the room its text needs, the tariff the rest (cut when too long).
    m_tariff->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* panels = new QHBoxLayout;
    panels->setSpacing(4);
    panels->addWidget(m_tariffPanel, 1);
    panels->addWidget(m_statePanel, 0);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_retry);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(6);
    layout->addWidget(m_phoneBook);
    layout->addWidget(m_animate);
    layout->addWidget(m_progressLine);
    layout->addWidget(m_progress);
    layout->addWidget(m_mode);
    layout->addWidget(m_memo, 1);
    layout->addLayout(panels);
    layout->addLayout(buttons);
    resize(440, 340);

    connect(m_phoneBook, &QComboBox::activated, this, [this](int index) {
        m_dialer.SelectEntry(m_phoneBook->itemText(index));
    });
    connect(m_mode, &QCheckBox::clicked, this, [this](bool on) { m_dialer.SetCycleEntries(on); });
    connect(m_retry, &QPushButton::clicked, this, [this] { m_dialer.Retry(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_dialer.Cancel(); });
    m_tariff->installEventFilter(this);
    m_tariffPanel->installEventFilter(this);
}

void TfmWaitRas::Refresh()
{
    setWindowTitle(m_dialer.Caption());
    refreshEntries();
    m_phoneBook->setEnabled(m_dialer.EntryChoiceEnabled());
    m_phoneBook->setToolTip(m_dialer.EntryHint());
    m_animate->SetActive(m_dialer.Animating());
    m_progress->setValue(m_dialer.Progress());
    m_mode->setVisible(m_dialer.CycleOptionOffered());
    m_mode->setChecked(m_dialer.RetryMode() == rmCycle);
    // The hint breaks its lines with CR, as every text of the program.
    m_mode->setToolTip(ScreenLines(m_dialer.CycleHint()));
    refreshMemo();
    m_retry->setVisible(m_dialer.RetryOffered());
    m_cancel->setText(m_dialer.ButtonCaption());
    m_state->setText(m_dialer.StateText());
    refreshProgressLine();
    refreshTariff();
}

void TfmWaitRas::refreshTariff()
{
    const TTaxItem* tax = m_status.Tax();
    static_cast<ElidingLabel*>(m_tariff)->setFullText(tax ? tax->DisplayName() : QString());
}

void TfmWaitRas::refreshEntries()
{
    QStringList entries;
    m_ras.GetRasEntries(entries);
    QStringList shown;
    for (int i = 0; i < m_phoneBook->count(); ++i)
        shown.append(m_phoneBook->itemText(i));
    if (shown != entries) {
        const QIcon icon(QPixmap::fromImage(DialUpImage()));
        m_phoneBook->clear();
        for (const QString& entry : entries)
            m_phoneBook->addItem(icon, entry);
    }
    m_phoneBook->setCurrentIndex(m_phoneBook->findText(m_dialer.Entry(), Qt::MatchExactly));
}

void TfmWaitRas::refreshMemo()
{
    const QStringList& lines = m_dialer.Memo();
    if (lines.size() >= m_shownMemo.size() && lines.mid(0, m_shownMemo.size()) == m_shownMemo) {
        for (qsizetype i = m_shownMemo.size(); i < lines.size(); ++i)
            m_memo->appendPlainText(lines[i]);
    } else {
        m_memo->setPlainText(lines.join(u'\n'));
    }
    m_shownMemo = lines;
    m_memo->verticalScrollBar()->setValue(m_memo->verticalScrollBar()->maximum());
}

void TfmWaitRas::refreshProgressLine()
{
    const QString line = m_dialer.ProgressLine();
    m_progressLine->setToolTip(line);
    m_progressLine->setText(ElideToWidth(line, m_progressLine->fontMetrics(), m_progress->width()));
}

void TfmWaitRas::reject()
{
    if (m_dialer.IsOpen())
        m_dialer.Cancel();
    else
        QDialog::reject();
}

void TfmWaitRas::closeEvent(QCloseEvent* event)
{
    // Closing the window abandons the dial as the cancel button does.
    if (m_dialer.IsOpen())
        m_dialer.Cancel();
    event->accept();
}

void TfmWaitRas::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    refreshProgressLine();
}

bool TfmWaitRas::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_tariff || watched == m_tariffPanel) && event->type() == QEvent::MouseButtonDblClick) {
        if (m_openTariffChooser)
            m_openTariffChooser();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vestrel
