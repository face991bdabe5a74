#include "gui/desktop/tone_player.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <thread>

namespace lark::ui {
namespace {

// How often the bell's wait asks whether to stop.
constexpr auto kStopCheck = std::chrono::milliseconds(10);

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

ToneOutput playTone(int hertz, int milliseconds, const ToneStop &stop)
{
    if (playToneOnSoundServer(hertz, milliseconds, stop))
        return ToneOutput::SoundServer;
    if (qApp)
        ringBell();
    using namespace std::chrono;
    const auto end = steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!(stop && stop()) && steady_clock::now() < end)
        std::this_thread::sleep_for(
            std::min<steady_clock::duration>(kStopCheck, end - steady_clock::now()));
    return ToneOutput::Bell;
}

} // namespace lark::ui
