// Speed of the cost engine: the live status re-prices the whole connection every second, and the
// comparison and statistics re-price whole logs.

#include "tariff/Taxations.h"

#include "common/DateTime.h"


#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

using namespace vestrel;
using namespace Qt::Literals::StringLiterals;

struct Fixture {
    Fixture()
    {
        store.LoadDefaultTaxs();
        urbana = store.FindTax(u"Telecom - TAT Urbana"_s);
        pulse = store.AddTax(u"Prova"_s, u"Scatti"_s, ttScatti, {});
        // The weekday table of the urban tariff, priced per pulse.
        const TBandItems& from = urbana->BandsFeriali();
        TBandItems& to = pulse->BandsFeriali();
        to[0]->SetTimeEnd(from[0]->TimeEnd());
        for (int i = 1; i < from.Count(); ++i) {
            TBandItem* slot = to.Add();
            slot->SetTipo(from[i]->Tipo());
            slot->SetTimeBegin(from[i]->TimeBegin());
            slot->SetTimeEnd(from[i]->TimeEnd());
        }
    }
    TTaxations store;
    TTaxItem* urbana = nullptr;
    TTaxItem* pulse = nullptr;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// Wednesday 13 March 2024 16:00 to Thursday 02:00: two band changes and midnight.
void BM_IntervalCost10Hours(benchmark::State& state)
{
    const TTaxItem& tax = state.range(0) ? *fixture().pulse : *fixture().urbana;
    const TDateTime start = EncodeDateTime(2024, 3, 13, 16, 0, 0);
    const TDateTime end = EncodeDateTime(2024, 3, 14, 2, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(tax.IntervalCost(start, end));
}
BENCHMARK(BM_IntervalCost10Hours)->ArgName("pulse")->Arg(0)->Arg(1);

// The longest connection of one day: every slot of two days.
void BM_IntervalCostOneDay(benchmark::State& state)
{
    const TTaxItem& tax = *fixture().urbana;
    const TDateTime start = EncodeDateTime(2024, 3, 13, 7, 0, 0);
    const TDateTime end = EncodeDateTime(2024, 3, 14, 6, 59, 59);
    for (auto _ : state)
        benchmark::DoNotOptimize(tax.IntervalCost(start, end));
}
BENCHMARK(BM_IntervalCostOneDay);

struct Connection {
    TDateTime start;
    TDateTime end;
};

// 100,000 connections starting at pseudo-random seconds of 2024, lasting up to four hours.
const std::vector<Connection>& generatedLog()
{
    static const std::vector<Connection> log = [] {
        std::vector<Connection> result;
        result.reserve(100'000);
        std::uint64_t seed = 0x9E3779B97F4A7C15ull;
        const auto next = [&seed] {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            return std::uint32_t(seed >> 33);
        };
        const TDateTime year = EncodeDate(2024, 1, 1);
        for (int i = 0; i < 100'000; ++i) {
            const TDateTime start = year + double(next() % (366u * 86'400u)) * OneSecond;
            const TDateTime end = start + double(1 + next() % (4u * 3600u)) * OneSecond;
            result.push_back({start, end});
        }
        return result;
    }();
    return log;
}

void BM_RepriceLogUnderAllBuiltins(benchmark::State& state)
{
    const std::vector<Connection>& log = generatedLog();
    const TTaxItems& taxs = fixture().store.Taxs();
    const int builtins = 24;
    for (auto _ : state) {
        double total = 0;
        for (int t = 0; t < builtins; ++t) {
            const TTaxItem& tax = *taxs[t];
            for (const Connection& c : log)
                total += tax.IntervalCost(c.start, c.end).Lire;
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["ns_per_connection"] = benchmark::Counter(
        double(state.iterations()) * builtins * double(log.size()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RepriceLogUnderAllBuiltins)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

// The stores' autosave timers need an application object.
