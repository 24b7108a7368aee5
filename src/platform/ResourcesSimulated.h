#pragma once

#include "ResourcesService.h"

namespace vestrel::platform {

// A share set by the test; nothing means the machine cannot tell.
class ResourcesSimulated final : public ResourcesService {
public:
    explicit ResourcesSimulated(std::optional<int> percent = 100) : m_percent(percent) {}
    void setPercent(std::optional<int> percent) { m_percent = percent; }
    std::optional<int> availablePercent() override { return m_percent; }

private:
    std::optional<int> m_percent;
};

} // namespace vestrel::platform
