#pragma once

#include "common/Dialogs.h"

namespace vestrel {

// The message boxes of the program: QMessageBox captioned with the application title, its
// buttons in Italian. Installs itself as the process Dialogs while it lives.
class WidgetDialogs final : public Dialogs {
public:
    WidgetDialogs();
    ~WidgetDialogs() override;

    DialogAnswer show(DialogKind kind, const QString& text) override;
};

} // namespace vestrel
