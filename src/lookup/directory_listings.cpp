#include "lookup/directory_listings.h"

#include "base/gbk.h"
#include "protocol/offered_instruments.h"
#include "protocol/wire_format.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace lark {
namespace {

std::string trimmed(std::string_view field)
{
    field = untilNul(field);
    while (!field.empty() && field.back() == ' ')
        field.remove_suffix(1);
    return std::string(field);
}

// The instrument a record names; a code no rule knows counts as a stock of the list's market.
Instrument recordInstrument(const std::string &code, bool marker, Exchange market)
{
    if (marker && market == Exchange::Shanghai)
        return {Exchange::Shanghai, InstrumentKind::Index, code};
    if (auto instrument = instrumentOf(code))
        return *instrument;
    return {market, marker ? InstrumentKind::Index : InstrumentKind::Stock, code};
}

void addList(const StockList &list, char marker, Exchange market, std::vector<Listing> &into)
{
    for (int k = 0; k < list.count; ++k) {
        const std::string_view record
            = std::string_view(list.bytes)
                  .substr(k * wire::kStockRecordSize, wire::kStockRecordSize);
        const std::string code
            = trimmed(record.substr(wire::kStockCodeOffset, wire::kStockCodeSize));
        if (code.empty())
            continue;
        const bool isMarker = record[wire::kStockKindOffset] == marker;
        const Instrument instrument = recordInstrument(code, isMarker, market);
        const bool index = isMarker && market == Exchange::Shanghai;
        into.push_back({index ? userCode(instrument) : code,
                        gbkToUtf8(trimmed(record.substr(wire::kStockNameOffset, wire::kNameSize))),
                        instrument.exchange, instrument.kind});
    }
}

} // namespace

std::vector<Listing> directoryListings(const StockLists &lists)
{
    std::vector<Listing> all;
    addList(lists.shanghai, wire::kShanghaiSkipMarker, Exchange::Shanghai, all);
    addList(lists.shenzhen, wire::kShenzhenSkipMarker, Exchange::Shenzhen, all);
    for (const OfferedInstrument &offered : kOfferedInstruments) {
        const Instrument instrument = *instrumentOf(offered.code);
        all.push_back({std::string(offered.code), std::string(offered.name), instrument.exchange,
                       instrument.kind});
    }
    // The lists' own entry wins; "0001" and "000001" are one instrument.
    std::unordered_set<std::string> seen;
    std::vector<Listing> kept;
    for (Listing &listing : all) {
        const auto instrument = instrumentOf(listing.code);
        if (seen.insert(instrument ? userCode(*instrument) : listing.code).second)
            kept.push_back(std::move(listing));
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const Listing &a, const Listing &b) { return a.code < b.code; });
    return kept;
}

} // namespace lark
