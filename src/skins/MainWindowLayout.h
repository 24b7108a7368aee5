#pragma once

#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

namespace vestrel {

enum class ControlKind { Label, Button, Panel };

// One control of the main window as designed.
struct DesignControl {
    const char* name = nullptr;
    ControlKind kind = ControlKind::Label;
    QRect geometry;
    qint32 color = 0; // text colour (stored form)
};

// The main window's design layout. The four figure labels lie side by side in the top strip;
// everything else lies below it, so a classic skin 14 pixels high shows the figures alone.
const std::vector<DesignControl>& MainWindowDesign();
QSize MainWindowDesignSize();
// The design font of every control: 8 points (11 pixels), sans serif.
inline constexpr int DesignFontHeight = -11;
extern const char* const DesignFontName;

// Puts the named controls of the window (found anywhere below it) where the design has them,
// with the design font and colour, the buttons with their design images; the progress bar
// fills its panel. Controls the window lacks are skipped.
void PlaceDesignLayout(QWidget* window);

} // namespace vestrel
