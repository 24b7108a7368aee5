#pragma once

#include <QString>

class QLabel;
class QProgressBar;
class QWidget;

namespace vestrel {

class TStatus;

// The figures of the main window and how the live status is written on them.
class FigureLabels {
public:
    struct Widgets {
        QLabel* time = nullptr;        // lbTempoTrascorso
        QLabel* pulses = nullptr;      // lbNumeroScatti
        QLabel* remaining = nullptr;   // lbVestrel
        QLabel* cost = nullptr;        // lbSpesa
        QLabel* sent = nullptr;        // LabelBytesTransmitted
        QLabel* received = nullptr;    // LabelBytesReceived
        QProgressBar* progress = nullptr;
        QWidget* progressPanel = nullptr;
    };

    explicit FigureLabels(const Widgets& widgets) : m_w(widgets) {}

    void ShowTime(const TStatus& status);
    void ShowPulses(const TStatus& status);
    void ShowCost(const TStatus& status);
    void ShowRemaining(const TStatus& status);
    void ShowBytesSent(const TStatus& status);
    void ShowBytesReceived(const TStatus& status);
    void ResetBytes();
    // The period display: remaining time of a whole period, empty bar; with `labels` the pulse
    // label (shown for pulse tariffs only) and the cost too.
    void ResetPeriod(const TStatus& status, bool labels);
    // The stored pulses and "£ " + whole Lire, at start-up.
    void ShowStored(const TStatus& status);
    // What a newly applied skin starts from.
    void ResetForSkin();
    void SetProgressHint(const QString& hint);

    const Widgets& widgets() const { return m_w; }

private:
    Widgets m_w;
};

// "12.05.09": total hours, then minutes and seconds.
QString ElapsedText(double time);
// "£ 1234": the whole Lire.
QString CostText(double lire);

} // namespace vestrel
