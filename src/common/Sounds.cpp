#include "Sounds.h"

namespace vestrel {

namespace {

class Silence final : public Sounds {
public:
    void PlayEvent(const QString&) override {}
    void Beep(int, int) override {}
    bool IsEventEnabled(const QString&) const override { return true; }
};

Sounds* g_sounds = nullptr;

} // namespace

Sounds& Sounds::instance()
{
    static Silence silence;
    return g_sounds ? *g_sounds : silence;
}

void Sounds::setInstance(Sounds* sounds)
{
    g_sounds = sounds;
}

} // namespace vestrel
