#pragma once

#include "common/DateTime.h"

#include <QString>

namespace vestrel {

// One finished connection as the live counting hands it to the log; the fields map one to one
// onto the record's I, F, S, L, N, Z, Y, T, R.
struct TConnectionData {
    TDateTime Start = 0;
    TDateTime End = 0;
    qint32 Pulses = 0;
    double Lire = 0;
    QString Name;
    QString IpAddress;
    qint32 Speed = 0; // bits per second, 0 when unknown
    quint32 BytesSent = 0;
    quint32 BytesReceived = 0;
};

} // namespace vestrel
