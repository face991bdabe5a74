#pragma once

#include <cstddef>
#include <string>

namespace lark::quoteserver {

// Drop sends the headers, then closes the connection before the body.
enum class FaultKind { Delay, WrongLength, HttpError, Drop };

struct Fault
{
    FaultKind kind = FaultKind::Delay;
    std::string
        pathContains; // requests whose target contains this; "" = every quote-server request
    int delayMs = 0; // Delay: wait this long, then answer normally
    size_t length = 0; // WrongLength: answer with this many bytes
    int status = 500; // HttpError: an HTML error page with this status
    int count = -1; // matching requests it applies to; -1 = until cleared
};

} // namespace lark::quoteserver
