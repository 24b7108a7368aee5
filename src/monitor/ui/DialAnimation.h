#pragma once

#include <QWidget>

namespace vestrel {

// The dialling animation: two computers with dots running along the line between them while it
// plays. Only a view: its own timer moves the dots.
class TDialAnimation : public QWidget {
public:
    explicit TDialAnimation(QWidget* parent = nullptr);

    void SetActive(bool on);
    bool Active() const { return m_timerId != 0; }
    // The frame drawn, 0 .. FrameCount - 1.
    int Frame() const { return m_frame; }
    void SetFrame(int frame);

    // One frame per dot on the line.
    static constexpr int FrameCount = 9;
    static constexpr int FrameMs = 150;

    QSize sizeHint() const override { return {220, 44}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    int m_timerId = 0;
    int m_frame = 0;
};

} // namespace vestrel
