// The live status's per-second step late in a 24-hour connection.

#include "monitor/MatrixStatus.h"
#include "monitor/Status.h"

#include "common/Timer.h"
#include "common/VirtualClock.h"
#include "config/Settings.h"
#include "tariff/Taxations.h"

#include <benchmark/benchmark.h>


using namespace vestrel;

namespace {

void BM_PerSecondStepOfADayLongConnection(benchmark::State& state)
{
    VirtualClock clock(EncodeDateTime(2001, 3, 14, 10, 0, 0));
    TSettings settings;
    settings.Profiles().Add();
    TTaxations taxations;
    taxations.LoadDefaultTaxs();
    TStatus status(&settings);
    status.SetTaxations(&taxations);
    status.SetProfile(settings.Profiles()[0]);
    TMtxMatrixStatus machine;
    machine.OnStartCounting = [&](TMtxMatrixStatus*) { status.StartCounting(); };
    SetMtxMatrixStatus(&machine, nullptr);
    status.SetTax(taxations.FindTax(QStringLiteral("Telecom - TAT Urbana")));
    status.Clock()->start();
    SendMtxEvent(TMtxEvent::ManualStart);
    clock.advance(24LL * 3600 * 1000); // a day of seconds, counted
    for (auto _ : state)
        clock.advance(1000); // one more second: elapsed, band, re-pricing of the whole day
    benchmark::DoNotOptimize(status.CostoLire());
    SetMtxMatrixStatus(nullptr, nullptr);
}
BENCHMARK(BM_PerSecondStepOfADayLongConnection)->Unit(benchmark::kMicrosecond);

} // namespace
