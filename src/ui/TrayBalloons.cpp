#include "TrayBalloons.h"

#include "NoteBalloon.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

TrayBalloons::TrayBalloons()
{
    NoteBalloon::Look greeting;
    greeting.titleColour = Qt::red;
    greeting.boldText = true;
    m_greeting = std::make_unique<NoteBalloon>(u"GreetingBalloon"_s, 3, greeting, GreetingMs);
    NoteBalloon::Look information;
    information.textColour = QColor(0x00, 0x00, 0x80);
    information.boldText = true;
    m_information = std::make_unique<NoteBalloon>(u"InformationBalloon"_s, 2, information, InformationMs);
    m_comparison = std::make_unique<NoteBalloon>(u"ComparisonBalloon"_s, 1, NoteBalloon::Look{}, 10000);
    m_notice = std::make_unique<NoteBalloon>(u"NoticeBalloon"_s, 1, NoteBalloon::Look{}, NoticeMs);
    Notices::setInstance(this);
}

TrayBalloons::~TrayBalloons()
{
    Notices::setInstance(nullptr);
}

NoteBalloon& TrayBalloons::balloon(Balloon which) const
{
    switch (which) {
    case Balloon::Greeting:
        return *m_greeting;
    case Balloon::Information:
        return *m_information;
    case Balloon::Comparison:
        return *m_comparison;
    case Balloon::Notice:
        break;
    }
    return *m_notice;
}

void TrayBalloons::show(Balloon which, const QString& text, const QString& title)
{
    NoteBalloon& shown = balloon(which);
    // Balloons sharing a place do not overlap: the newer note takes it.
    if (which == Balloon::Notice)
        m_comparison->hide();
    else if (which == Balloon::Comparison)
        m_notice->hide();
    shown.ShowNote(text, title);
}

void TrayBalloons::Configure(int trayHintPause)
{
    const bool comparison = trayHintPause != 0 && trayHintPause != -1;
    m_comparison->SetActive(comparison);
    if (comparison)
        m_comparison->SetDisplayMs(trayHintPause);
    m_notice->SetActive(trayHintPause != -1);
}

void TrayBalloons::SetAnchor(const std::function<QRect()>& anchor)
{
    for (NoteBalloon* b : {m_greeting.get(), m_information.get(), m_comparison.get(), m_notice.get()})
        b->SetAnchor(anchor);
}

} // namespace vestrel
