// The connection log at 200,000 records: the statistics queries and the append of one connection,
// which rewrites the whole file.

#include "log/DataUnits.h"

#include "store/StoreStream.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

using namespace vestrel;

namespace {

constexpr int Records = 200'000;
constexpr TDateTime FirstStart = 36526.0; // 1 January 2000

QTemporaryDir& tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

// A file of 200,000 connections, about 12 a day over 45 years, under four names in two cases.
QString logFile()
{
    static const QString path = [] {
        const QString p = tempDir().filePath(QStringLiteral("Connections.dat"));
        const QString names[] = {QStringLiteral("Tiscali"), QStringLiteral("Libero Free"),
                                 QStringLiteral("Avvio manuale"), QStringLiteral("0521 123456"),
                                 QStringLiteral("TISCALI"), QStringLiteral("libero free")};
        TDataUnits log;
        log.Units().Reserve(Records);
        TDateTime t = FirstStart;
        for (int i = 0; i < Records; ++i) {
            t += 0.05 + (i % 17) * 0.001;
            TConnectionData c;
            c.Start = t;
            c.End = t + (i % 300) / 1440.0;
            c.Pulses = i % 500;
            c.Lire = 127.0 * (i % 500);
            c.Name = names[i % 6];
            c.IpAddress = QStringLiteral("151.%1.%2.%3").arg(i % 250).arg((i / 250) % 250).arg(i % 7);
            c.Speed = 56000;
            c.BytesSent = quint32(i) * 1021u;
            c.BytesReceived = quint32(i) * 7919u;
            TDataUnitsItem record;
            record.SetFrom(c);
            log.InsertSorted(record);
        }
        store::WriteStoreFile(p, log);
        return p;
    }();
    return path;
}

// The log as the program has it: bound to its file and loaded.
TDataUnits& loadedLog()
{
    static TDataUnits* log = [] {
        auto* l = new TDataUnits;
        l->SetFileName(logFile());
        return l;
    }();
    return *log;
}

using Query = void (TDataUnits::*)(TDataUnitsItems&, TDateTime, TDateTime) const;

void runQuery(benchmark::State& state, Query query, TDateTime upper, TDateTime lower)
{
    const TDataUnits& log = loadedLog();
    TDataUnitsItems result;
    for (auto _ : state) {
        (log.*query)(result, upper, lower); // clearing the previous result is part of the query
        benchmark::DoNotOptimize(result.Count());
    }
    state.counters["groups"] = result.Count();
}

void BM_SumByDay(benchmark::State& state)
{
    runQuery(state, &TDataUnits::SumByDay, 0, 0);
}
BENCHMARK(BM_SumByDay)->Unit(benchmark::kMillisecond);

void BM_SumByConnection(benchmark::State& state)
{
    runQuery(state, &TDataUnits::SumByConnection, 0, 0);
}
BENCHMARK(BM_SumByConnection)->Unit(benchmark::kMillisecond);

// Every record copied, into the list of the previous query (as the statistics window does).
void BM_SelectRangeAll(benchmark::State& state)
{
    runQuery(state, &TDataUnits::SelectRange, 0, -1);
}
BENCHMARK(BM_SelectRangeAll)->Unit(benchmark::kMillisecond);

// Every record copied into a new list; with release_counted, freeing the list is timed too.
void BM_SelectRangeAllNewList(benchmark::State& state)
{
    const TDataUnits& log = loadedLog();
    for (auto _ : state) {
        auto result = std::make_unique<TDataUnitsItems>();
        log.SelectRange(*result, 0, -1);
        benchmark::DoNotOptimize(result->Count());
        if (state.range(0) == 0) {
            state.PauseTiming();
            result.reset();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_SelectRangeAllNewList)->ArgName("release_counted")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One month in the middle: the walk to it, then the stop after it (what the statistics tree does).
void BM_SelectRangeMonth(benchmark::State& state)
{
    const TDateTime from = loadedLog().Units()[Records / 2]->I();
    runQuery(state, &TDataUnits::SelectRange, from + 30, from);
}
BENCHMARK(BM_SelectRangeMonth)->Unit(benchmark::kMillisecond);

// A connection later than all others, appended and the whole file saved (flushed to disk).
void BM_AddConnection(benchmark::State& state)
{
    TDataUnits log;
    const QString path = tempDir().filePath(QStringLiteral("Append.dat"));
    QFile::remove(path);
    QFile::copy(logFile(), path);
    log.SetFileName(path);
    TDateTime t = log.Units()[log.Units().Count() - 1]->I();
    TConnectionData c;
    c.Name = QStringLiteral("Tiscali");
    c.IpAddress = QStringLiteral("151.1.2.3");
    c.Lire = 1270;
    c.Pulses = 10;
    for (auto _ : state) {
        t += 0.05;
        c.Start = t;
        c.End = t + 0.01;
        log.AddConnection(c);
    }
    state.counters["file_MB"] = double(QFile(path).size()) / 1e6;
}
BENCHMARK(BM_AddConnection)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
