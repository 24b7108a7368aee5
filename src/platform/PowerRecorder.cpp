#include "PowerRecorder.h"

namespace vestrel::platform {

PowerOffResult PowerRecorder::powerOff(bool force)
{
    m_requests.push_back(force);
    if (!m_refusal.isEmpty())
        return {false, m_refusal};
    return {true, {}};
}

} // namespace vestrel::platform
