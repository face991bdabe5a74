#include "base/tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#ifdef LARK_HAVE_PULSE
#include <dlfcn.h>
#include <pulse/simple.h>
#endif

namespace lark {
namespace {

constexpr int kSampleRate = 44100;
constexpr int kFadeMilliseconds = 5;

#ifdef LARK_HAVE_PULSE
// The sound server's client library and what it pulls in (codecs among them).
struct SoundServerLibrary
{
    decltype(&pa_simple_new) open = nullptr;
    decltype(&pa_simple_write) write = nullptr;
    decltype(&pa_simple_drain) drain = nullptr;
    decltype(&pa_simple_free) close = nullptr;

    static const SoundServerLibrary &get()
    {
        static const SoundServerLibrary library = load();
        return library;
    }

    static SoundServerLibrary load()
    {
        SoundServerLibrary library;
        void *handle = ::dlopen("libpulse-simple.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return library;
        library.open = reinterpret_cast<decltype(open)>(::dlsym(handle, "pa_simple_new"));
        library.write = reinterpret_cast<decltype(write)>(::dlsym(handle, "pa_simple_write"));
        library.drain = reinterpret_cast<decltype(drain)>(::dlsym(handle, "pa_simple_drain"));
        library.close = reinterpret_cast<decltype(close)>(::dlsym(handle, "pa_simple_free"));
        return library;
    }

    bool loaded() const { return open && write && drain && close; }
};

bool playThroughSoundServer(const std::vector<int16_t> &samples)
{
    const SoundServerLibrary &pulse = SoundServerLibrary::get();
    if (!pulse.loaded())
        return false;
    const pa_sample_spec spec {PA_SAMPLE_S16LE, kSampleRate, 1};
    int error = 0;
    pa_simple *stream = pulse.open(nullptr, "Lark", PA_STREAM_PLAYBACK, nullptr, "alarm", &spec,
                                   nullptr, nullptr, &error);
    if (!stream)
        return false;
    const bool played
        = pulse.write(stream, samples.data(), samples.size() * sizeof(int16_t), &error) == 0
        && pulse.drain(stream, &error) == 0;
    pulse.close(stream);
    return played;
}
#else
bool playThroughSoundServer(const std::vector<int16_t> &)
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

bool playToneOnSoundServer(int hertz, int milliseconds)
{
    return playThroughSoundServer(sineTone(hertz, milliseconds, kSampleRate));
}

} // namespace lark
