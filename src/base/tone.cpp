#include "base/tone.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

#ifdef LARK_HAVE_PULSE
#include <dlfcn.h>
#include <pulse/pulseaudio.h>
#endif

namespace lark {
namespace {

constexpr int kSampleRate = 44100;
constexpr int kFadeMilliseconds = 5;

#ifdef LARK_HAVE_PULSE
// Each wait on the sound server is at most this long, so that a stop is seen within it.
constexpr int kTurnMicroseconds = 10'000;
// A server that has neither taken nor played the tone this long after it began is given up.
constexpr auto kPatience = std::chrono::seconds(3);

// The sound server's client library and what it pulls in (codecs among them). The
// asynchronous interface, driven on the caller's thread: the simple one blocks in its writes
// and its drain for as long as the server buffers (seconds on some sinks), and nothing can
// cut such a wait short.
struct SoundServerLibrary
{
#define LARK_PULSE_FUNCTIONS(X) \
    X(pa_mainloop_new) \
    X(pa_mainloop_get_api) \
    X(pa_mainloop_prepare) \
    X(pa_mainloop_poll) \
    X(pa_mainloop_dispatch) \
    X(pa_mainloop_free) \
    X(pa_context_new) \
    X(pa_context_connect) \
    X(pa_context_get_state) \
    X(pa_context_disconnect) \
    X(pa_context_unref) \
    X(pa_stream_new) \
    X(pa_stream_connect_playback) \
    X(pa_stream_get_state) \
    X(pa_stream_writable_size) \
    X(pa_stream_write) \
    X(pa_stream_drain) \
    X(pa_stream_disconnect) \
    X(pa_stream_unref) \
    X(pa_operation_get_state) \
    X(pa_operation_unref)
#define LARK_PULSE_MEMBER(name) decltype(&::name) name = nullptr;
    LARK_PULSE_FUNCTIONS(LARK_PULSE_MEMBER)
    bool loaded = false;

    static const SoundServerLibrary &get()
    {
        static const SoundServerLibrary library = load();
        return library;
    }

    static SoundServerLibrary load()
    {
        SoundServerLibrary library;
        void *handle = ::dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return library;
        library.loaded = true;
#define LARK_PULSE_LOAD(name) \
    library.name = reinterpret_cast<decltype(&::name)>(::dlsym(handle, #name)); \
    library.loaded = library.loaded && library.name;
        LARK_PULSE_FUNCTIONS(LARK_PULSE_LOAD)
        return library;
    }
};

// One tone on the sound server: a connection and a stream of its own, waited on in short turns.
class ToneStream
{
public:
    ToneStream(const SoundServerLibrary &pulse, const ToneStop &stop)
        : m_pulse(pulse)
        , m_stop(stop)
        , m_loop(pulse.pa_mainloop_new())
        , m_giveUpAt(std::chrono::steady_clock::now() + kPatience)
    { }

    ~ToneStream()
    {
        if (m_stream) {
            m_pulse.pa_stream_disconnect(m_stream);
            m_pulse.pa_stream_unref(m_stream);
        }
        if (m_context) {
            m_pulse.pa_context_disconnect(m_context);
            m_pulse.pa_context_unref(m_context);
        }
        if (m_loop)
            m_pulse.pa_mainloop_free(m_loop);
    }

    // false when no sound server takes a stream, or a stop came first.
    bool open(const pa_sample_spec &spec)
    {
        if (!m_loop)
            return false;
        m_context = m_pulse.pa_context_new(m_pulse.pa_mainloop_get_api(m_loop), "Lark");
        if (!m_context
            || m_pulse.pa_context_connect(m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0)
            return false;
        const bool connected = waitWhile([this] {
            const pa_context_state_t state = m_pulse.pa_context_get_state(m_context);
            return PA_CONTEXT_IS_GOOD(state) && state != PA_CONTEXT_READY;
        });
        if (!connected || m_pulse.pa_context_get_state(m_context) != PA_CONTEXT_READY)
            return false;
        m_stream = m_pulse.pa_stream_new(m_context, "alarm", &spec, nullptr);
        if (!m_stream
            || m_pulse.pa_stream_connect_playback(m_stream, nullptr, nullptr, PA_STREAM_NOFLAGS,
                                                  nullptr, nullptr)
                < 0)
            return false;
        return waitWhile(
                   [this] { return m_pulse.pa_stream_get_state(m_stream) == PA_STREAM_CREATING; })
            && m_pulse.pa_stream_get_state(m_stream) == PA_STREAM_READY;
    }

    bool stopped() const { return m_stopped; }

    // Hands the samples over as the server asks for them, then waits until they have played.
    // false when the server failed; a stop ends it early, and true.
    bool play(const std::vector<int16_t> &samples)
    {
        const auto *bytes = reinterpret_cast<const char *>(samples.data());
        const size_t total = samples.size() * sizeof(int16_t);
        size_t written = 0;
        while (written < total) {
            const size_t room = m_pulse.pa_stream_writable_size(m_stream);
            if (room == size_t(-1))
                return false;
            if (room == 0) {
                if (!turn())
                    return m_stopped;
                continue;
            }
            const size_t count = std::min(room, total - written);
            if (m_pulse.pa_stream_write(m_stream, bytes + written, count, nullptr, 0,
                                        PA_SEEK_RELATIVE)
                < 0)
                return false;
            written += count;
        }
        pa_operation *drain = m_pulse.pa_stream_drain(m_stream, nullptr, nullptr);
        if (!drain)
            return false;
        const bool drained = waitWhile(
            [&] { return m_pulse.pa_operation_get_state(drain) == PA_OPERATION_RUNNING; });
        m_pulse.pa_operation_unref(drain);
        return drained || m_stopped;
    }

private:
    // One wait on the server of at most a turn; false once stopped, given up or failed.
    bool turn()
    {
        m_stopped = m_stop && m_stop();
        if (m_stopped || std::chrono::steady_clock::now() > m_giveUpAt)
            return false;
        return m_pulse.pa_mainloop_prepare(m_loop, kTurnMicroseconds) >= 0
            && m_pulse.pa_mainloop_poll(m_loop) >= 0 && m_pulse.pa_mainloop_dispatch(m_loop) >= 0;
    }

    template<typename Condition>
    bool waitWhile(Condition condition)
    {
        while (condition())
            if (!turn())
                return false;
        return true;
    }

    const SoundServerLibrary &m_pulse;
    const ToneStop &m_stop;
    pa_mainloop *m_loop;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    bool m_stopped = false;
    std::chrono::steady_clock::time_point m_giveUpAt;
};

bool playThroughSoundServer(const std::vector<int16_t> &samples, const ToneStop &stop)
{
    const SoundServerLibrary &pulse = SoundServerLibrary::get();
    if (!pulse.loaded)
        return false;
    const pa_sample_spec spec {PA_SAMPLE_S16LE, kSampleRate, 1};
    ToneStream stream(pulse, stop);
    if (!stream.open(spec))
        return stream.stopped(); // stopped: no bell either
    return stream.play(samples);
}
#else
bool playThroughSoundServer(const std::vector<int16_t> &, const ToneStop &)
{
    return false;
}
#endif

} // namespace

std::vector<int16_t> sineTone(int hertz, int milliseconds, int sampleRate)
{
    const int count = std::max(0, int(int64_t(sampleRate) * milliseconds / 1000));
    const int fade = std::max(1, sampleRate * kFadeMilliseconds / 1000);
    std::vector<int16_t> samples(count);
    for (int i = 0; i < count; ++i) {
        const double envelope = std::min({1.0, double(i) / fade, double(count - 1 - i) / fade});
        const double phase = 2 * std::numbers::pi * hertz * i / sampleRate;
        samples[i] = int16_t(std::lround(std::sin(phase) * envelope * 0.5 * INT16_MAX));
    }
    return samples;
}

bool playToneOnSoundServer(int hertz, int milliseconds, const ToneStop &stop)
{
    return playThroughSoundServer(sineTone(hertz, milliseconds, kSampleRate), stop);
}

} // namespace lark
