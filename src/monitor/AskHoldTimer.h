#pragma once

#include <QObject>

#include <functional>

namespace vestrel {

class Timer;

// "TimerAskHold": asks, 10 ms after the machine entered Ask and so outside the SetEvent that did,
// whether the failed call was answered, and sends Answered or NoAnswered.
class TAskHoldTimer : public QObject {
public:
    explicit TAskHoldTimer(QObject* owner = nullptr);
    ~TAskHoldTimer() override;

    void Start();
    bool IsEnabled() const;

    // Set while the question is on screen (the live status's QuestionPending).
    std::function<void(bool pending)> OnQuestionPending;

private:
    void TimerAskHoldTimer();

    Timer* m_timer;
};

} // namespace vestrel
