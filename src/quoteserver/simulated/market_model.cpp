#include "quoteserver/simulated/market_model.h"

#include "base/c_format.h"
#include "base/gbk.h"
#include "protocol/instrument.h"
#include "protocol/offered_instruments.h"
#include "protocol/wire_format.h"
#include "quoteserver/simulated/rng.h"
#include "quoteserver/simulated/stock_names.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_set>

namespace lark::quoteserver {
namespace {

struct BoardLayout
{
    Board board;
    int firstCode;
    int count;
    const char *codeFormat;
};

// Shenzhen codes are four characters, Shanghai ones six.
constexpr BoardLayout kBoards[] = {
    {Board::ShanghaiA, 600000, 300, "%06d"},
    {Board::ShanghaiB, 900901, 30, "%06d"},
    {Board::ShenzhenA, 1, 300, "%04d"},
    {Board::ShenzhenB, 2001, 30, "%04d"},
};

uint64_t codeHash(std::string_view code)
{
    uint64_t h = 0x636F6465ull;
    for (char c : code)
        h = mix64(h ^ static_cast<unsigned char>(c));
    return h;
}

bool inRange(std::string_view code, std::string_view first, std::string_view last)
{
    return code.size() == first.size() && code >= first && code <= last;
}

// The codes a fresh installation watches get a mix of lengths, the first of each
// market a name that fills all eight bytes.
int nameLength(std::string_view code)
{
    if (code == "0001" || code == "600061")
        return 4;
    const uint64_t h = codeHash(code);
    if (inRange(code, "600062", "600068") || inRange(code, "0002", "0008"))
        return 2 + static_cast<int>(h % 2);
    return 2 + static_cast<int>(h % 3);
}

StockTraits traitsFor(uint64_t seed, std::string_view code)
{
    StockTraits t;
    t.key = hashOf({seed, codeHash(code)});
    const double tau = 2.0 * std::numbers::pi;
    t.basePrice
        = static_cast<int32_t>(3000.0 * std::pow(80.0 / 3.0, unitOf(mix64(t.key ^ 1))) / 10) * 10;
    t.typicalVolume
        = static_cast<int32_t>(30000.0 * std::pow(100.0, unitOf(mix64(t.key ^ 2))) / 100) * 100;
    t.volatility = 0.6 + unitOf(mix64(t.key ^ 3));
    t.slowPhase = tau * unitOf(mix64(t.key ^ 4));
    t.fastPhase = tau * unitOf(mix64(t.key ^ 5));
    return t;
}

struct OtherFigures
{
    std::string_view code;
    int32_t basePrice; // thousandths of a yuan
    int32_t typicalVolume; // shares; an index's is far beyond what the wire carries
};

// The figures of the instruments every quote server offers besides its boards.
constexpr OtherFigures kOtherFigures[] = {
    {"1A0001", 3200000, 300000000},  {"1A0300", 3800000, 300000000}, {"1A0688", 1000000, 300000000},
    {"399001", 10000000, 300000000}, {"399006", 2000000, 300000000}, {"510300", 3900, 300000000},
    {"159915", 2100, 500000000},
};
static_assert(std::size(kOtherFigures) == std::size(kOfferedInstruments));

const OtherFigures &figuresOf(std::string_view code)
{
    return *std::find_if(std::begin(kOtherFigures), std::end(kOtherFigures),
                         [&](const OtherFigures &f) { return f.code == code; });
}

std::vector<ListMarker>
makeMarkers(std::initializer_list<std::pair<const char *, const char *>> entries)
{
    std::vector<ListMarker> markers;
    for (auto [code, name] : entries)
        markers.push_back({code, utf8ToGbk(name)});
    return markers;
}

} // namespace

MarketModel::MarketModel(uint64_t seed, bool exchangeHours)
    : m_seed(seed)
    , m_session {exchangeHours}
    , m_shanghaiMarkers(
          makeMarkers({{"000001", "上证指数"}, {"000002", "Ａ股指数"}, {"000003", "Ｂ股指数"}}))
    , m_shenzhenMarkers(
          makeMarkers({{"399001", "深证成指"}, {"399002", "深成指Ａ"}, {"399106", "深证综指"}}))
{
    std::unordered_set<std::string> names;
    for (const BoardLayout &layout : kBoards) {
        for (int i = 0; i < layout.count; ++i) {
            Stock stock;
            stock.board = layout.board;
            stock.code = cformat(layout.codeFormat, layout.firstCode + i);
            stock.traits = traitsFor(seed, stock.code);
            const bool bShare
                = layout.board == Board::ShanghaiB || layout.board == Board::ShenzhenB;
            const int length
                = bShare ? std::min(nameLength(stock.code), 3) : nameLength(stock.code);
            for (uint64_t salt = 0;; ++salt) {
                std::string name = makeStockName(hashOf({codeHash(stock.code), salt}), length);
                stock.nameGbk = utf8ToGbk(bShare ? name + "B" : name);
                if (names.insert(stock.nameGbk).second)
                    break;
            }
            m_byCode.emplace(stock.code, m_stocks.size());
            m_stocks.push_back(std::move(stock));
        }
        m_boardEnds[static_cast<int>(layout.board)] = m_stocks.size();
    }
    for (const OfferedInstrument &other : kOfferedInstruments)
        addOther(std::string(other.code), utf8ToGbk(other.name), other.code);
    // The lists' index-like entries are indices the market quotes too, Shanghai's by 1A codes.
    for (const ListMarker &marker : m_shanghaiMarkers)
        addOther("1A" + marker.code.substr(2), marker.nameGbk, "1A0001");
    for (const ListMarker &marker : m_shenzhenMarkers)
        addOther(marker.code, marker.nameGbk, "399001");
}

// An instrument on no board, its figures like those of the offered one figuresCode names.
void MarketModel::addOther(std::string code, std::string nameGbk, std::string_view figuresCode)
{
    if (find(code))
        return;
    const OtherFigures &figures = figuresOf(figuresCode);
    Stock stock;
    stock.traits = traitsFor(m_seed, code);
    stock.traits.basePrice = figures.basePrice;
    stock.traits.typicalVolume = figures.typicalVolume;
    stock.index = instrumentOf(code)->kind == InstrumentKind::Index;
    stock.code = std::move(code);
    stock.nameGbk = std::move(nameGbk);
    m_others.push_back(std::move(stock));
}

size_t MarketModel::boardBegin(Board board) const
{
    const int i = static_cast<int>(board);
    return i == 0 ? 0 : m_boardEnds[i - 1];
}

std::span<const Stock> MarketModel::board(Board board) const
{
    const size_t begin = boardBegin(board);
    return std::span<const Stock>(m_stocks).subspan(begin, m_boardEnds[int(board)] - begin);
}

const Stock *MarketModel::find(std::string_view code) const
{
    auto it = m_byCode.find(std::string(code));
    if (it != m_byCode.end())
        return &m_stocks[it->second];
    const auto other = std::find_if(m_others.begin(), m_others.end(),
                                    [&](const Stock &s) { return s.code == code; });
    return other == m_others.end() ? nullptr : &*other;
}

std::span<const ListMarker> MarketModel::markers(bool shanghai) const
{
    return shanghai ? m_shanghaiMarkers : m_shenzhenMarkers;
}

int32_t MarketModel::stockNumber(const Stock &stock) const
{
    const auto position = static_cast<int32_t>(&stock - m_stocks.data());
    if (isShanghai(stock.board))
        return position;
    return position + static_cast<int32_t>(m_shanghaiMarkers.size());
}

const Stock *MarketModel::stockByNumber(int32_t number) const
{
    const auto shanghaiStocks = static_cast<int32_t>(boardBegin(Board::ShenzhenA));
    if (number < 0)
        return nullptr;
    if (number < shanghaiStocks)
        return &m_stocks[number];
    const int32_t position = number - static_cast<int32_t>(m_shanghaiMarkers.size());
    if (position < shanghaiStocks || position >= static_cast<int32_t>(m_stocks.size()))
        return nullptr;
    return &m_stocks[position];
}

Quote MarketModel::quote(const Stock &stock, std::time_t t) const
{
    const LocalMoment now = localMoment(t);
    Quote q = DayPath(stock.traits, now.day, m_session).at(m_session.tickAt(now.secondOfDay));
    q.nameGbk = stock.nameGbk;
    if (stock.index) {
        // Billions of shares a day, an amount to match, and no book of its own.
        q.volume = q.amount = wire::kNotCarried;
        q.bid1Price = q.bid2Price = q.bid3Price = q.ask1Price = q.ask2Price = q.ask3Price = 0;
        q.bid1Volume = q.bid2Volume = q.bid3Volume = 0;
        q.ask1Volume = q.ask2Volume = q.ask3Volume = 0;
    }
    return q;
}

std::vector<PathPoint> MarketModel::intradayPath(const Stock &stock, std::time_t t) const
{
    const LocalMoment now = localMoment(t);
    return DayPath(stock.traits, now.day, m_session).pathUpTo(m_session.tickAt(now.secondOfDay));
}

std::vector<DayRecord> MarketModel::history(const Stock &stock, int32_t firstDay, int32_t endDay,
                                            size_t maxRecords) const
{
    std::vector<DayRecord> records;
    for (int32_t day = firstDay; day < endDay && records.size() < maxRecords; ++day) {
        if (!isWeekday(day))
            continue;
        const DayFigures f = DayPath(stock.traits, day, m_session).summary();
        const double averagePrice = (f.open + f.high + f.low + f.close) / 4.0;
        records.push_back({dateNumber(day), f.open, f.high, f.low, f.close, f.volume / 100,
                           static_cast<int32_t>(f.volume * averagePrice / 1e6)});
    }
    return records;
}

} // namespace lark::quoteserver
