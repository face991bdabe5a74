#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace lark {

// Signed 16-bit mono samples of a sine tone, faded in and out over a few milliseconds so
// that it starts and stops without a click.
std::vector<int16_t> sineTone(int hertz, int milliseconds, int sampleRate);

// Asked while a tone plays, every few milliseconds: true cuts it short at once.
using ToneStop = std::function<bool()>;

// Plays a tone through the desktop's sound server (PulseAudio, or PipeWire speaking its
// protocol) and returns when it has ended or stop said so; false, at once, when there is none.
// The client library is loaded at the first tone, not at start: most runs never ring. Any
// thread.
bool playToneOnSoundServer(int hertz, int milliseconds, const ToneStop &stop = {});

} // namespace lark
