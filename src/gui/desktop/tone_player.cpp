#include "gui/desktop/tone_player.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>

#ifdef LARK_HAVE_PULSE
#include <pulse/simple.h>
#endif

namespace lark::ui {
namespace {

constexpr int kSampleRate = 44100;
constexpr int kFadeMilliseconds = 5;

#ifdef LARK_HAVE_PULSE
bool playThroughSoundServer(const std::vector<int16_t> &samples)
{
    const pa_sample_spec spec {PA_SAMPLE_S16LE, kSampleRate, 1};
    int error = 0;
    pa_simple *stream = pa_simple_new(nullptr, "Lark", PA_STREAM_PLAYBACK, nullptr, "alarm", &spec,
                                      nullptr, nullptr, &error);
    if (!stream)
        return false;
    const bool played
        = pa_simple_write(stream, samples.data(), samples.size() * sizeof(int16_t), &error) == 0
        && pa_simple_drain(stream, &error) == 0;
    pa_simple_free(stream);
    return played;
}
#else
bool playThroughSoundServer(const std::vector<int16_t> &)
{
    return false;
}
#endif

void ringBell()
{
    // The bell belongs to the user-interface thread.
    if (QThread::currentThread() == qApp->thread())
        QApplication::beep();
    else
        QMetaObject::invokeMethod(
            qApp, [] { QApplication::beep(); }, Qt::QueuedConnection);
}

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

ToneOutput playTone(int hertz, int milliseconds)
{
    if (playThroughSoundServer(sineTone(hertz, milliseconds, kSampleRate)))
        return ToneOutput::SoundServer;
    if (qApp)
        ringBell();
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    return ToneOutput::Bell;
}

} // namespace lark::ui
