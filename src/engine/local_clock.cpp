#include "engine/local_clock.h"

namespace lark {

std::tm systemLocalTime()
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return local;
}

} // namespace lark
