#pragma once

#include <ctime>
#include <functional>

namespace lark {

// Local wall-clock time, injectable so tests can stand at 09:29 or on the 19th.
using LocalClock = std::function<std::tm()>;

std::tm systemLocalTime();

} // namespace lark
