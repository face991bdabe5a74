#pragma once

#include "lookup/listing.h"
#include "lookup/match.h"
#include "lookup/search_key.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace lark {

// The instruments a user may pick, found by what is typed: a code or its start (both the
// four- and the six-character form of a Shenzhen code), pinyin initials, full pinyin or a mix
// from any character of the name on, or part of the name. Built once (the pinyin of every
// name: up to a second for both markets), then read-only: find() may run on any thread.
class InstrumentDirectory
{
public:
    // A set quit ends the build early with what was made so far.
    explicit InstrumentDirectory(std::vector<Listing> listings,
                                 const std::atomic<int> *quit = nullptr);

    // The best matches first, at most limit: exact codes, code starts, pinyin, names; then
    // those that match from earlier in the name, shorter names, earlier listings.
    // Listings are kept in the order given.
    std::vector<Match> find(std::string_view typed, size_t limit) const;
    size_t size() const { return m_listings.size(); }

private:
    std::vector<Listing> m_listings;
    std::vector<SearchKey> m_keys; // one a listing
};

// Asks for the directory: it, or null while there is none yet; then whenReady is called, on
// any thread, once a later ask will have it.
using DirectoryRequest
    = std::function<std::shared_ptr<const InstrumentDirectory>(std::function<void()> whenReady)>;

} // namespace lark
