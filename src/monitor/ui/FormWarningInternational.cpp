#include "FormWarningInternational.h"

#include "monitor/Status.h"

#include "common/Dialogs.h"
#include "config/Settings.h"
#include "widgets/Forms.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

QPointer<TfmWarningInternational>& reference()
{
    static QPointer<TfmWarningInternational> window;
    return window;
}

// A prefix is a run of digits ("00"); its leading zeros matter, so it is kept as text.
bool isPrefix(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

TfmWarningInternational::TfmWarningInternational(TSettings& settings, TStatus& status, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_settings(settings), m_status(status)
{
    setObjectName(u"fmWarningInternational"_s);
    setWindowTitle(u"Vestrel"_s);
    // Centred on the screen, so its place is not remembered.
    setProperty("centred", true);

    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);

    m_warning = new QLabel(u"Attenzione: il numero selezionato "_s + status.DialingNumber() +
                               u" sembra essere un numero internazionale!"_s,
                           this);
    m_warning->setObjectName(u"LabelWarning"_s);
    m_warning->setTextFormat(Qt::PlainText);
    m_warning->setWordWrap(true);
    m_warning->setMinimumHeight(m_warning->fontMetrics().lineSpacing() * 3);
    m_warning->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_prefix = new QLineEdit(settings.InternationalPrefix(), this);
    m_prefix->setObjectName(u"EditMaskPrefix"_s);
    m_prefix->setMaxLength(8);
    m_prefix->setFixedWidth(m_prefix->fontMetrics().horizontalAdvance(u"00000000"_s) + 12);
    auto* prefixLabel = new QLabel(u"Avvertimi sempre se il numero inizia con"_s, this);
    prefixLabel->setBuddy(m_prefix);

    m_ok = new QPushButton(u"&OK"_s, this);
    m_ok->setObjectName(u"buOk"_s);
    m_ok->setDefault(true);

    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(m_warning, 1);

    auto* prefix = new QHBoxLayout;
    prefix->addWidget(prefixLabel);
    prefix->addWidget(m_prefix);
    prefix->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->setSpacing(12);
    layout->addLayout(top);
    layout->addLayout(prefix);
    layout->addLayout(buttons);
    fitHeight();

    connect(m_ok, &QPushButton::clicked, this, &TfmWarningInternational::accept);
    QApplication::beep();
}

void TfmWarningInternational::ShowEntry(const QString& entry, const QString& number)
{
    m_warning->setText(u"Attenzione: la voce «"_s + entry + u"» della rubrica RAS sembra essere impostata per "_s +
                       u"un numero internazionale: "_s + number);
    fitHeight();
}

void TfmWarningInternational::fitHeight()
{
    // A fixed frame, as tall as the wrapped warning needs.
    constexpr int width = 400;
    layout()->activate();
    setFixedSize(width, layout()->totalHeightForWidth(width));
}

void TfmWarningInternational::accept()
{
    const QString prefix = m_prefix->text().trimmed();
    if (!isPrefix(prefix)) {
        ShowWarningBox(u"Il prefisso inserito non è valido"_s);
        m_prefix->setFocus();
        return;
    }
    m_settings.SetInternationalPrefix(prefix);
    QDialog::accept();
}

void TfmWarningInternational::showEvent(QShowEvent* event)
{
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    m_status.SetQuestionPending(true);
    QDialog::showEvent(event);
}

void TfmWarningInternational::hideEvent(QHideEvent* event)
{
    m_status.SetQuestionPending(false);
    QDialog::hideEvent(event);
}

void ShowWarningInternational(TSettings& settings, TStatus& status, const QString& entry, const QString& number)
{
    if (reference())
        return;
    ShowForm<TfmWarningInternational>(
        reference(), false, [&] { return new TfmWarningInternational(settings, status); },
        [&](TfmWarningInternational* window) {
            if (!entry.isEmpty())
                window->ShowEntry(entry, number);
        });
}

TfmWarningInternational* OpenedWarningInternational()
{
    return reference().data();
}

} // namespace vestrel
