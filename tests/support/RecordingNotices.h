#pragma once

#include "common/Notices.h"

#include <vector>

namespace vestrel::testing {

// Records every notice. Installs itself as the process Notices while it lives.
class RecordingNotices final : public Notices {
public:
    struct Shown {
        Balloon balloon;
        QString text;
        QString title;
    };

    RecordingNotices() { Notices::setInstance(this); }
    ~RecordingNotices() override { Notices::setInstance(nullptr); }

    void show(Balloon balloon, const QString& text, const QString& title) override
    {
        shown.push_back({balloon, text, title});
    }

    std::vector<Shown> shown;
};

} // namespace vestrel::testing
