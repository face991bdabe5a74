#pragma once

#include "base/tone.h"

namespace lark::ui {

enum class ToneOutput { SoundServer, Bell };

// Plays a tone through the desktop's sound server and returns when it has ended, or within a
// few milliseconds of stop saying so. Without a sound server it rings the toolkit's bell and
// waits the tone's length instead. Safe to call from any thread.
ToneOutput playTone(int hertz, int milliseconds, const ToneStop &stop = {});

} // namespace lark::ui
