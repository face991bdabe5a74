#include "gui/desktop/tone_player.h"

#include "base/tone.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <thread>

namespace lark::ui {
namespace {

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

ToneOutput playTone(int hertz, int milliseconds)
{
    if (playToneOnSoundServer(hertz, milliseconds))
        return ToneOutput::SoundServer;
    if (qApp)
        ringBell();
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    return ToneOutput::Bell;
}

} // namespace lark::ui
