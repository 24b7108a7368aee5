#pragma once

#include "PowerService.h"

#include <vector>

namespace vestrel::platform {

// Records every power-off request instead of powering anything off.
class PowerRecorder final : public PowerService {
public:
    // Requests are refused with `message` from now on; an empty one accepts them again.
    void setRefusal(const QString& message) { m_refusal = message; }
    // The force flag of each request, in order.
    const std::vector<bool>& requests() const { return m_requests; }

    PowerOffResult powerOff(bool force) override;

private:
    QString m_refusal;
    std::vector<bool> m_requests;
};

} // namespace vestrel::platform
