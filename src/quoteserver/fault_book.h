#pragma once

#include "quoteserver/fault.h"
#include "quoteserver/reply.h"

#include <optional>
#include <string_view>
#include <vector>

namespace lark::quoteserver {

// What the faults make of one request: a wait first, then possibly a bent answer.
struct FaultPlan
{
    int delayMs = 0;
    std::optional<Fault> answer; // WrongLength, HttpError or Drop
};

// Faults in the order injected. Not locked: the server guards it.
class FaultBook
{
public:
    // Throws std::invalid_argument for figures no request could be given.
    static void check(const Fault &fault);

    void add(const Fault &fault);
    void clear() { m_faults.clear(); }
    // The first matching delay and the first matching other fault each use up one count.
    FaultPlan take(std::string_view target);

private:
    std::vector<Fault> m_faults;
};

// The reply a WrongLength or HttpError fault sends instead of the normal one.
Reply bendReply(const Fault &fault, Reply normal);

} // namespace lark::quoteserver
