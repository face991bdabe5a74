#pragma once

#include "lookup/listing.h"
#include "protocol/stock_messages.h"

#include <vector>

namespace lark {

// Every instrument of both markets' stock lists (a Shanghai list's index-like entry as the
// index it is, "1A0001" for 000001), then the indices and funds every quote server offers
// besides; each code once, in code order.
std::vector<Listing> directoryListings(const StockLists &lists);

} // namespace lark
