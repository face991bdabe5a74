#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace lark::quoteserver {

// Requests seen per target, in bounded memory: targets are counted one by one until their
// text fills the budget; any new target after that counts only towards the total.
// Not locked: the server guards it.
class RequestTally
{
public:
    void add(std::string_view target);
    // Requests whose target contains the text; "" gives all of them.
    uint64_t count(std::string_view contains) const;

private:
    static constexpr size_t kBudgetBytes = 256 * 1024;

    std::map<std::string, uint64_t, std::less<>> m_perTarget;
    size_t m_bytes = 0;
    uint64_t m_untracked = 0;
};

} // namespace lark::quoteserver
