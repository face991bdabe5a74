#pragma once

#include <cstdint>
#include <vector>

namespace lark::ui {

enum class ToneOutput { SoundServer, Bell };

// Signed 16-bit mono samples of a sine tone, faded in and out over a few milliseconds so
// that it starts and stops without a click.
std::vector<int16_t> sineTone(int hertz, int milliseconds, int sampleRate);

// Plays a tone through the desktop's sound server and returns when it has ended. Without a
// sound server it rings the toolkit's bell and waits the tone's length instead.
// Safe to call from any thread.
ToneOutput playTone(int hertz, int milliseconds);

} // namespace lark::ui
