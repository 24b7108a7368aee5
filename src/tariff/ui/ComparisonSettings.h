#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QListWidget;

namespace vestrel {

class TProfileItem;
class TStatus;
class Timer;
class TrayPreviewIcon;

// One choice of the display time of the comparison message and the TrayHintPause it stores.
struct DisplayTime {
    const char16_t* Text;
    qint32 TrayHintPause;
};
// The seven choices in list order.
const std::array<DisplayTime, 7>& DisplayTimes();
// Position of a stored TrayHintPause in the list, -1 for a value the list does not offer.
int DisplayTimeIndex(qint32 trayHintPause);

// The hint of the tray preview: what the last comparison found for the last connection.
QString LastComparisonHint(const QString& report, const QString& entryName);

// "Impostazioni confronto delle tariffe": whether to show the saint of the day, how long the
// comparison message stays on screen, and a preview of the notification area.
class ComparisonSettingsDialog : public QDialog {
public:
    // `apply` receives the TrayHintPause stored by OK, so the caller sets up its messages with it.
    ComparisonSettingsDialog(TProfileItem& profile, const TStatus* status,
                             std::function<void(qint32 trayHintPause)> apply,
                             QWidget* parent = nullptr);
    ~ComparisonSettingsDialog() override;

    // Stores the two values on the profile and applies the display time.
    void accept() override;

private:
    void refreshPreview();

    TProfileItem& m_profile;
    const TStatus* m_status;
    std::function<void(qint32)> m_apply;
    QCheckBox* m_sanctiOff = nullptr;
    QListWidget* m_times = nullptr;
    TrayPreviewIcon* m_icon = nullptr;
    QLabel* m_time = nullptr;
    Timer* m_timer = nullptr;
};

} // namespace vestrel
