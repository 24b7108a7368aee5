#pragma once

#include "common/Notices.h"

#include <QRect>

#include <functional>

#include <memory>

namespace vestrel {

class NoteBalloon;

// The four note balloons and the Notices service over them. Created in this order: greeting (red
// bold title), information (navy bold text, second place), comparison (first place) and notice
// (first place, 3000 ms). Installs itself as the process Notices while it lives.
class TrayBalloons final : public Notices {
public:
    static constexpr int NoticeMs = 3000;
    static constexpr int InformationMs = 5000;
    static constexpr int GreetingMs = 8000;

    TrayBalloons();
    ~TrayBalloons() override;

    void show(Balloon balloon, const QString& text, const QString& title = {}) override;

    // The profile's TrayHintPause: the comparison balloon is on when it is neither 0 nor -1 and
    // then stays that many ms; -1 silences the notice balloon as well.
    void Configure(int trayHintPause);
    // Where the tray icon is; the balloons stand next to it.
    void SetAnchor(const std::function<QRect()>& anchor);

    NoteBalloon& balloon(Balloon which) const;

private:
    std::unique_ptr<NoteBalloon> m_greeting;
    std::unique_ptr<NoteBalloon> m_information;
    std::unique_ptr<NoteBalloon> m_comparison;
    std::unique_ptr<NoteBalloon> m_notice;
};

} // namespace vestrel
