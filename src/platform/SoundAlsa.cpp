#include "SoundAlsa.h"

#include "WaveFormat.h"

#include <QDeadlineTimer>
#include <QtGlobal>

#include <alsa/asoundlib.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace vestrel::platform {

namespace {

constexpr int ToneRate = 48'000;
// How much the device may hold ahead: also the longest a cut-short sound goes on.
constexpr unsigned LatencyUs = 100'000;

// ALSA prints its own complaints on stderr; ours go to the log once.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

std::atomic_int liveBackends = 0;

struct Clip {
    QByteArray bytes; // shared with the caller, never copied
    qsizetype offset = 0;
    qsizetype size = 0;
    int channels = 1;
    int rate = ToneRate;
    int bits = 16;
};

} // namespace

struct AlsaSound::Shared {
    QByteArray device;
    std::atomic_bool warned = false;
    std::atomic_int delivered = 0;
    std::atomic_int failed = 0;

    void fail(const char* what, int code)
    {
        failed.fetch_add(1);
        if (!warned.exchange(true))
            qWarning("Suoni non disponibili: %s sul dispositivo \"%s\" non riuscito (%s); i suoni restano muti",
                     what, device.constData(), snd_strerror(code));
    }
};

// One sound at a time: a new one replaces the one waiting and cuts the one playing short.
class AlsaSound::Channel {
public:
    explicit Channel(Shared& shared) : m_shared(shared) {}

    ~Channel()
    {
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
            ++m_generation;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

    void submit(Clip clip)
    {
        {
            std::lock_guard lock(m_mutex);
            m_pending = std::move(clip);
            ++m_generation;
            if (!m_thread.joinable())
                m_thread = std::thread([this] { run(); });
        }
        m_wake.notify_all();
    }

    void cancel()
    {
        {
            std::lock_guard lock(m_mutex);
            m_pending.reset();
            ++m_generation;
        }
        m_wake.notify_all();
    }

    bool waitIdle(QDeadlineTimer deadline)
    {
        std::unique_lock lock(m_mutex);
        while (m_pending || m_busy) {
            const qint64 left = deadline.remainingTime();
            if (left == 0)
                return false;
            m_idle.wait_for(lock, std::chrono::milliseconds(left < 0 ? 50 : std::min<qint64>(left, 50)));
        }
        return true;
    }

private:
    void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_quit || m_pending; });
            if (m_quit)
                return;
            Clip clip = std::move(*m_pending);
            m_pending.reset();
            const quint64 generation = m_generation;
            m_busy = true;
            lock.unlock();
            playClip(clip, generation);
            lock.lock();
            m_busy = false;
            m_idle.notify_all();
        }
    }

    bool cancelled(quint64 generation)
    {
        std::lock_guard lock(m_mutex);
        return generation != m_generation;
    }

    void playClip(const Clip& clip, quint64 generation)
    {
        snd_pcm_t* pcm = nullptr;
        // Opened without waiting, so a device held by another program cannot stall the thread;
        // the writes then wait as usual.
        int rc = snd_pcm_open(&pcm, m_shared.device.constData(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
        if (rc < 0) {
            m_shared.fail("l'apertura", rc);
            return;
        }
        snd_pcm_nonblock(pcm, 0);
        const snd_pcm_format_t format = clip.bits == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
        rc = snd_pcm_set_params(pcm, format, SND_PCM_ACCESS_RW_INTERLEAVED, unsigned(clip.channels),
                                unsigned(clip.rate), 1, LatencyUs);
        if (rc < 0) {
            m_shared.fail("l'impostazione del formato", rc);
            snd_pcm_close(pcm);
            return;
        }
        const qsizetype frameSize = qsizetype(clip.channels) * clip.bits / 8;
        const char* frames = clip.bytes.constData() + clip.offset;
        qsizetype left = clip.size / frameSize;
        // Small writes, so a newer sound is never kept waiting long.
        const qsizetype chunk = std::max<qsizetype>(64, clip.rate / 50);
        bool cut = false;
        while (left > 0) {
            if (cancelled(generation)) {
                cut = true;
                break;
            }
            const qsizetype n = std::min(chunk, left);
            snd_pcm_sframes_t written = snd_pcm_writei(pcm, frames, snd_pcm_uframes_t(n));
            if (written < 0)
                written = snd_pcm_recover(pcm, int(written), 1);
            if (written < 0) {
                m_shared.fail("la scrittura", int(written));
                snd_pcm_close(pcm);
                return;
            }
            frames += written * frameSize;
            left -= written;
        }
        if (cut)
            snd_pcm_drop(pcm);
        else
            snd_pcm_drain(pcm);
        snd_pcm_close(pcm);
        m_shared.delivered.fetch_add(1);
    }

    Shared& m_shared;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<Clip> m_pending;
    quint64 m_generation = 0;
    bool m_busy = false;
    bool m_quit = false;
    std::thread m_thread;
};

AlsaSound::AlsaSound(const QByteArray& device)
    : m_shared(std::make_unique<Shared>()), m_waves(std::make_unique<Channel>(*m_shared)),
      m_tones(std::make_unique<Channel>(*m_shared))
{
    m_shared->device = device;
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(&quietAlsa); });
    liveBackends.fetch_add(1);
}

AlsaSound::~AlsaSound()
{
    m_waves.reset();
    m_tones.reset();
    // ALSA keeps its parsed configuration for the process; give it back with the last backend.
    if (liveBackends.fetch_sub(1) == 1)
        snd_config_update_free_global();
}

QString AlsaSound::play(const QByteArray& wav)
{
    const auto parsed = ParseWave(wav);
    if (const QString* error = std::get_if<QString>(&parsed))
        return *error;
    const WaveFormat& w = std::get<WaveFormat>(parsed);
    if (w.frameCount() == 0) {
        m_waves->cancel();
        return {};
    }
    m_waves->submit({wav, w.dataOffset, w.dataSize, w.channels, w.sampleRate, w.bitsPerSample});
    return {};
}

void AlsaSound::stop()
{
    m_waves->cancel();
}

void AlsaSound::beep(int frequencyHz, int durationMs)
{
    const QByteArray samples = BeepSamples(frequencyHz, durationMs, ToneRate);
    if (!samples.isEmpty())
        m_tones->submit({samples, 0, samples.size(), 1, ToneRate, 16});
}

bool AlsaSound::waitIdle(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    return m_waves->waitIdle(deadline) && m_tones->waitIdle(deadline);
}

int AlsaSound::delivered() const
{
    return m_shared->delivered.load();
}

int AlsaSound::failed() const
{
    return m_shared->failed.load();
}

} // namespace vestrel::platform
