// Encoding and decoding a store of 200,000 connection-log-shaped records.

#include "store/DataCollection.h"
#include "store/PersistentComponent.h"
#include "store/StoreStream.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <malloc.h>

#include <fstream>
#include <string>

using namespace vestrel::store;

namespace {

class LogRecord : public TDataCollectionItem {
public:
    static const ClassInfo& staticClassInfo()
    {
        using T = LogRecord;
        static const ClassInfo info =
            ClassBuilder<T>("TDataUnitsItem", &TDataCollectionItem::staticClassInfo())
                .floating("I", &T::start, &T::setStart)
                .floating("F", &T::end, &T::setEnd)
                .integer("S", &T::pulses, &T::setPulses)
                .floating("L", &T::lire, &T::setLire)
                .floating("E", &T::euro, &T::setEuro)
                .string("N", &T::name, &T::setName)
                .string("Z", &T::ip, &T::setIp)
                .integer("Y", &T::speed, &T::setSpeed)
                .integer("T", &T::sent, &T::setSent)
                .integer("R", &T::received, &T::setReceived)
                .build();
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    double start() const { return m_start; }
    void setStart(double v) { m_start = v; }
    double end() const { return m_end; }
    void setEnd(double v) { m_end = v; }
    qint32 pulses() const { return m_pulses; }
    void setPulses(qint32 v) { m_pulses = v; }
    double lire() const { return m_lire; }
    void setLire(double v) { m_lire = v; }
    double euro() const { return m_lire / 1936.27; }
    void setEuro(double) {}
    QString name() const { return m_name; }
    void setName(const QString& v) { m_name = v; }
    QString ip() const { return m_ip; }
    void setIp(const QString& v) { m_ip = v; }
    qint32 speed() const { return m_speed; }
    void setSpeed(qint32 v) { m_speed = v; }
    quint32 sent() const { return m_sent; }
    void setSent(quint32 v) { m_sent = v; }
    quint32 received() const { return m_received; }
    void setReceived(quint32 v) { m_received = v; }

private:
    double m_start = 0, m_end = 0, m_lire = 0;
    qint32 m_pulses = 0, m_speed = 0;
    quint32 m_sent = 0, m_received = 0;
    QString m_name, m_ip;
};

class Log : public TPersistentComponent {
public:
    static const ClassInfo& staticClassInfo()
    {
        static const ClassInfo info = ClassBuilder<Log>("TDataUnits", &TPersistentComponent::staticClassInfo())
                                          .collection("Units", &Log::units)
                                          .build();
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    TCollectionOf<LogRecord>& units() { return m_units; }

private:
    TCollectionOf<LogRecord> m_units{static_cast<TPersistentComponent*>(nullptr)};
};

constexpr int Records = 200'000;

void fill(Log& log)
{
    log.units().Reserve(Records);
    const QString names[] = {QStringLiteral("Tiscali"), QStringLiteral("Libero Free"),
                             QStringLiteral("Avvio manuale"), QStringLiteral("0521 123456")};
    double t = 36526.0;
    for (int i = 0; i < Records; ++i) {
        LogRecord* r = log.units().Add();
        t += 0.05 + (i % 17) * 0.001;
        r->setStart(t);
        r->setEnd(t + (i % 300) / 1440.0);
        r->setPulses(i % 500);
        r->setLire(127.0 * (i % 500));
        r->setName(names[i % 4]);
        r->setIp(QStringLiteral("151.%1.%2.%3").arg(i % 250).arg((i / 250) % 250).arg(i % 7));
        r->setSpeed(56000);
        r->setSent(quint32(i) * 1021u);
        r->setReceived(quint32(i) * 7919u);
    }
}

// Peak resident memory since the last reset, in bytes (Linux: VmHWM, reset through clear_refs).
long long peakResident(bool reset)
{
    if (reset) {
        malloc_trim(0); // memory freed earlier must not hide new allocations
        std::ofstream clear("/proc/self/clear_refs");
        clear << "5";
        return 0;
    }
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stoll(line.substr(6)) * 1024;
    return 0;
}

long long currentResident()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stoll(line.substr(6)) * 1024;
    return 0;
}

QTemporaryDir& tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString fileOfRecords()
{
    static const QString path = [] {
        const QString p = tempDir().filePath(QStringLiteral("Connections.dat"));
        Log log;
        fill(log);
        WriteStoreFile(p, log);
        return p;
    }();
    return path;
}

// The codec alone, into memory.
void BM_EncodeLog(benchmark::State& state)
{
    Log log;
    fill(log);
    const qint64 size = QFile(fileOfRecords()).size();
    QByteArray bytes;
    bytes.reserve(size);
    for (auto _ : state) {
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        WriteStore(buffer, log);
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_EncodeLog)->Unit(benchmark::kMillisecond)->UseRealTime();

// A whole save: temporary file, encoding, flush to disk, rename. Peak is memory beyond the store.
void BM_SaveLogFile(benchmark::State& state)
{
    Log log;
    fill(log);
    const QString out = tempDir().filePath(QStringLiteral("out.dat"));
    long long peak = 0;
    for (auto _ : state) {
        peakResident(true);
        const long long before = currentResident();
        WriteStoreFile(out, log);
        peak = std::max(peak, peakResident(false) - before);
    }
    const qint64 size = QFile(out).size();
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["file_MB"] = double(size) / 1e6;
    state.counters["peak_over_file"] = double(peak) / double(size);
}
BENCHMARK(BM_SaveLogFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DecodeLog(benchmark::State& state)
{
    const QString path = fileOfRecords();
    const qint64 size = QFile(path).size();
    long long peak = 0;
    for (auto _ : state) {
        peakResident(true);
        const long long before = currentResident();
        auto log = std::make_unique<Log>();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        ReadStore(file, *log);
        benchmark::DoNotOptimize(log->units().Count());
        // Peak includes the 200,000 decoded records themselves.
        peak = std::max(peak, peakResident(false) - before);
        state.PauseTiming();
        log.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["file_MB"] = double(size) / 1e6;
    state.counters["peak_over_file"] = double(peak) / double(size);
}
BENCHMARK(BM_DecodeLog)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
