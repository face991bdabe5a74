#include "quoteserver/fault_book.h"

#include <algorithm>
#include <stdexcept>

namespace lark::quoteserver {
namespace {

constexpr size_t kMaxLength = 64u << 20;
constexpr int kMaxDelayMs = 10 * 60 * 1000;

} // namespace

void FaultBook::check(const Fault &fault)
{
    if (fault.count == 0 || fault.count < -1)
        throw std::invalid_argument("count must be positive or -1");
    if (fault.kind == FaultKind::Delay && (fault.delayMs < 0 || fault.delayMs > kMaxDelayMs))
        throw std::invalid_argument("delay must be 0 to 600000 ms");
    if (fault.kind == FaultKind::WrongLength && fault.length > kMaxLength)
        throw std::invalid_argument("length must be at most 64 MiB");
    if (fault.kind == FaultKind::HttpError && (fault.status < 400 || fault.status > 599))
        throw std::invalid_argument("status must be 400 to 599");
}

void FaultBook::add(const Fault &fault)
{
    check(fault);
    m_faults.push_back(fault);
}

FaultPlan FaultBook::take(std::string_view target)
{
    FaultPlan plan;
    bool delayed = false;
    for (Fault &fault : m_faults) {
        if (target.find(fault.pathContains) == std::string_view::npos)
            continue;
        if (fault.kind == FaultKind::Delay ? delayed : plan.answer.has_value())
            continue;
        if (fault.kind == FaultKind::Delay) {
            delayed = true;
            plan.delayMs = fault.delayMs;
        } else {
            plan.answer = fault;
        }
        if (fault.count > 0)
            --fault.count;
    }
    std::erase_if(m_faults, [](const Fault &f) { return f.count == 0; });
    return plan;
}

Reply bendReply(const Fault &fault, Reply normal)
{
    if (fault.kind == FaultKind::HttpError)
        return errorPage(fault.status, "Simulated server error.");
    if (fault.kind != FaultKind::WrongLength)
        return normal;
    // A successful answer of the wrong size, whatever the request would have got.
    normal.body.resize(fault.length, '\0');
    return Reply {200, "application/octet-stream", std::move(normal.body), false};
}

} // namespace lark::quoteserver
