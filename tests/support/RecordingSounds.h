#pragma once

#include "common/Sounds.h"

#include <QStringList>

namespace vestrel::testing {

// Records every event played and every beep. Installs itself as the process Sounds while it lives.
class RecordingSounds final : public Sounds {
public:
    RecordingSounds() { Sounds::setInstance(this); }
    ~RecordingSounds() override { Sounds::setInstance(nullptr); }

    void PlayEvent(const QString& name) override { played.append(name); }
    void Beep(int, int) override { ++beeps; }
    bool IsEventEnabled(const QString& name) const override { return !disabled.contains(name); }

    QStringList played;
    int beeps = 0;
    QStringList disabled;
};

} // namespace vestrel::testing
