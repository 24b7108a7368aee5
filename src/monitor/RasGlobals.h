#pragma once

#include <QString>

// The unit-wide values of the dial-up monitor, written by TRasControl only.
namespace vestrel::ras {

void SetLastRasAPI(const QString& function);
void SetRasControlProcedure(const QString& procedure);
void ReportFailure(const QString& text);

} // namespace vestrel::ras
