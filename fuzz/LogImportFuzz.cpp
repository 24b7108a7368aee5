// Any bytes given to the log's text import end in records or rejected lines, never in a fault;
// what was imported exports and imports again to the same records.

#include "log/DataUnits.h"
#include "log/LogText.h"

#include <QCoreApplication>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace vestrel;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "log_import_fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TDataUnits log;
    const LogImportCounts counts = ReadLogText(bytes, log);
    require(counts.imported == log.Units().Count());
    for (int i = 1; i < log.Units().Count(); ++i)
        require(log.Units()[i - 1]->I() <= log.Units()[i]->I());

    TDataUnits again;
    const LogImportCounts second = ReadLogText(EncodeLogText(log.Units()), again);
    require(second.imported == counts.imported && second.rejected == 0);
    for (int i = 0; i < log.Units().Count(); ++i) {
        const TDataUnitsItem& a = *log.Units()[i];
        const TDataUnitsItem& b = *again.Units()[i];
        require(a.I() == b.I() && a.F() == b.F() && a.S() == b.S() && a.N() == b.N());
        // Lire go through the text with two decimals.
        require(std::fabs(a.L() - b.L()) <= 0.005 + 1e-12 * std::fabs(a.L()));
    }

    TDataUnitsItems groups;
    log.SumByConnection(groups, 0, 0);
    log.SumByMonth(groups, 0, 0);
    return 0;
}
