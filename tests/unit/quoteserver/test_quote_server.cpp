#include "base/gbk.h"
#include "protocol/query_paths.h"
#include "protocol/wire_format.h"
#include "quoteserver/quote_server.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <future>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace lark;
using namespace lark::wire;

namespace {

struct Fetched
{
    CURLcode code = CURLE_OK;
    long status = 0;
    long connects = 0;
    std::string body;
};

size_t appendBody(char *data, size_t size, size_t count, void *out)
{
    static_cast<std::string *>(out)->append(data, size * count);
    return size * count;
}

// A plain keep-alive client, independent of the program's own protocol classes.
class Client
{
public:
    explicit Client(int port)
        : base_("http://127.0.0.1:" + std::to_string(port))
        , curl_(curl_easy_init())
    { }
    ~Client() { curl_easy_cleanup(curl_); }

    // The time-out only guards against a hang: under ThreadSanitizer on a busy machine one
    // ranking page has taken over 3 s.
    Fetched get(const std::string &target, bool rawChunks = false, long timeoutMs = 20000)
    {
        curl_easy_setopt(curl_, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, nullptr);
        curl_easy_setopt(curl_, CURLOPT_HTTP_TRANSFER_DECODING, rawChunks ? 0L : 1L);
        return perform(target, timeoutMs);
    }

    // A control request: POST with the token, when one is given.
    Fetched post(const std::string &target, const std::string &token)
    {
        curl_slist *headers = nullptr;
        if (!token.empty())
            headers = curl_slist_append(headers, ("X-Control-Token: " + token).c_str());
        curl_easy_setopt(curl_, CURLOPT_POSTFIELDS, "");
        curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers);
        Fetched f = perform(target, 20000);
        curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, nullptr);
        curl_slist_free_all(headers);
        return f;
    }

private:
    Fetched perform(const std::string &target, long timeoutMs)
    {
        Fetched f;
        const std::string url = base_ + target;
        curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, appendBody);
        curl_easy_setopt(curl_, CURLOPT_WRITEDATA, &f.body);
        curl_easy_setopt(curl_, CURLOPT_TIMEOUT_MS, timeoutMs);
        f.code = curl_easy_perform(curl_);
        curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &f.status);
        curl_easy_getinfo(curl_, CURLINFO_NUM_CONNECTS, &f.connects);
        return f;
    }

    std::string base_;
    CURL *curl_;
};

std::string query(const std::string &name, const std::string &args = "")
{
    return std::string(kQueryHead) + name + "?" + std::string(kAccessCode) + args;
}

std::string quotePathFor(const std::string &code)
{
    return query(code.size() > 5 ? "GetStkOneHQWithNameSH" : "GetStkOneHQWithNameSZ", "&" + code);
}

std::string rankingPath(int exchange, int shareClass, int key, int first, int count)
{
    return query("GETORDERHQ",
                 "&" + std::to_string(exchange) + "&" + std::to_string(shareClass) + "&"
                     + std::to_string(key) + "&" + std::to_string(first) + "&"
                     + std::to_string(count));
}

// The 97-byte reply read at its documented offsets.
struct Decoded
{
    std::string name;
    int32_t previousClose, open, high, low, last, volume, amount;
    int32_t bidPrice[3], bidVolume[3], askPrice[3], askVolume[3];
};

Decoded decodeQuote(const std::string &b)
{
    Decoded d {};
    d.name = b.substr(0, 8);
    d.previousClose = readInt32(b, 16);
    d.open = readInt32(b, 20);
    d.high = readInt32(b, 24);
    d.low = readInt32(b, 28);
    d.last = readInt32(b, 32);
    for (int i = 0; i < 3; ++i) {
        d.bidPrice[i] = readInt32(b, 36 + 8 * i);
        d.bidVolume[i] = readInt32(b, 40 + 8 * i);
        d.askPrice[i] = readInt32(b, 60 + 8 * i);
        d.askVolume[i] = readInt32(b, 64 + 8 * i);
    }
    d.volume = readInt32(b, 84);
    d.amount = readInt32(b, 88);
    return d;
}

std::time_t localTime(int y, int mon, int d, int h, int min)
{
    std::tm tm {};
    tm.tm_year = y - 1900;
    tm.tm_mon = mon - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = min;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

// Wednesday 13 March 2024, mid-morning.
const std::time_t kWednesday = localTime(2024, 3, 13, 10, 30);

class QuoteServerTest : public ::testing::Test
{
protected:
    explicit QuoteServerTest(quoteserver::QuoteServerOptions options = {})
        : server(options)
    {
        server.freezeClock(kWednesday);
        client = std::make_unique<Client>(server.start());
    }

    // A failed transfer must not pass for a short reply.
    std::string body(const std::string &target)
    {
        Fetched f = client->get(target);
        EXPECT_EQ(f.code, CURLE_OK) << curl_easy_strerror(f.code) << " for " << target;
        return std::move(f.body);
    }
    Decoded quote(const std::string &code) { return decodeQuote(body(quotePathFor(code))); }

    quoteserver::QuoteServer server;
    std::unique_ptr<Client> client;
};

std::vector<std::string> defaultCodes()
{
    return {"600061", "600062", "600063", "600064", "600065", "600066", "600067", "600068",
            "0001",   "0002",   "0003",   "0004",   "0005",   "0006",   "0007",   "0008"};
}

// ---- Real-time quote

using QuoteServerQuote = QuoteServerTest;

TEST_F(QuoteServerQuote, DefaultCodesGiveConsistentFigures)
{
    for (const std::string &code : defaultCodes()) {
        SCOPED_TRACE(code);
        const std::string reply = body(quotePathFor(code));
        ASSERT_EQ(reply.size(), 97u);
        EXPECT_EQ(reply.substr(8, 8), std::string(8, '\0'));
        EXPECT_EQ(reply.substr(92, 5), std::string(5, '\0'));
        const Decoded q = decodeQuote(reply);
        EXPECT_LE(q.low, q.last);
        EXPECT_LE(q.last, q.high);
        EXPECT_LE(q.low, q.open);
        EXPECT_LE(q.open, q.high);
        EXPECT_GE(q.low, q.previousClose * 0.9);
        EXPECT_LE(q.high, q.previousClose * 1.1);
        EXPECT_GT(q.volume, 0);
        EXPECT_EQ(q.volume % 100, 0);
        // Turnover is the volume at prices within the day's range.
        EXPECT_GE(q.amount, int64_t(q.volume) * q.low / 1000 - 1);
        EXPECT_LE(q.amount, int64_t(q.volume) * q.high / 1000 + 1);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(q.bidPrice[i], q.last - 10 * (i + 1));
            EXPECT_EQ(q.askPrice[i], q.last + 10 * (i + 1));
            EXPECT_EQ(q.bidVolume[i] % 100, 0);
            EXPECT_GT(q.askVolume[i], 0);
        }
    }
}

TEST_F(QuoteServerQuote, NamesAreGbkAndFourCharacterOnesFillTheField)
{
    for (const std::string code : {"600061", "0001"}) {
        const std::string name = quote(code).name;
        EXPECT_EQ(name.find('\0'), std::string::npos) << code;
        EXPECT_EQ(gbkToUtf8(name).size(), 12u) << code; // four 3-byte UTF-8 characters
    }
    size_t padded = 0;
    for (const std::string &code : defaultCodes()) {
        const std::string name = quote(code).name;
        const std::string_view text = untilNul(name);
        EXPECT_GE(text.size(), 4u) << code;
        EXPECT_EQ(name.find_first_not_of('\0', text.size()), std::string::npos) << code;
        padded += text.size() < 8;
    }
    EXPECT_GE(padded, 4u);
}

TEST_F(QuoteServerQuote, PinnedFiguresComeBackExactly)
{
    const std::string before = body(quotePathFor("600061"));
    server.pin("600061",
               {.name = "测试",
                .previousClose = 12000,
                .last = 12340,
                .volume = 600000,
                .bid1Price = 12330,
                .ask3Volume = 700});
    const Decoded q = quote("600061");
    EXPECT_EQ(q.name, utf8ToGbk("测试") + std::string(4, '\0'));
    EXPECT_EQ(q.previousClose, 12000);
    EXPECT_EQ(q.last, 12340);
    EXPECT_EQ(q.volume, 600000);
    EXPECT_EQ(q.bidPrice[0], 12330);
    EXPECT_EQ(q.askVolume[2], 700);
    EXPECT_EQ(q.open, decodeQuote(before).open); // unset fields keep the model's value
    EXPECT_EQ(body(quotePathFor("600062")).size(), 97u);

    EXPECT_THROW(server.pin("600061", {.name = "五个汉字名"}), std::invalid_argument);
    EXPECT_THROW(server.pin("699999", {.last = 1}), std::invalid_argument);
    server.unpinAll();
    EXPECT_EQ(body(quotePathFor("600061")), before);
}

TEST_F(QuoteServerQuote, WrongFormsAreRejectedByLength)
{
    for (const std::string &target :
         {query("GetStkOneHQWithNameSH", "&0001"), query("GetStkOneHQWithNameSZ", "&600061"),
          query("GetStkOneHQWithNameSH", "&600999"), query("GetStkOneHQWithNameSH", "&600061&1"),
          query("GetStkOneHQWithNameSZ")}) {
        const Fetched f = client->get(target);
        EXPECT_EQ(f.status, 200) << target;
        EXPECT_FALSE(f.body.empty()) << target;
        EXPECT_NE(f.body.size(), 97u) << target;
    }
    const std::string wrongCode = std::string(kQueryHead) + "GetStkOneHQWithNameSH?507194&600061";
    const std::string noCode = std::string(kQueryHead) + "GetStkOneHQWithNameSH&600061";
    for (const std::string &target : {wrongCode, noCode}) {
        const Fetched f = client->get(target);
        EXPECT_EQ(f.status, 403) << target;
        EXPECT_NE(f.body.find("<html"), std::string::npos);
        EXPECT_NE(f.body.size(), 97u);
    }
    const Fetched unknown = client->get(query("GetStkTwoHQ", "&600061"));
    EXPECT_EQ(unknown.status, 404);
    EXPECT_NE(unknown.body.size(), 97u);
}

TEST(QuoteServerClock, FiguresMoveWithTimeAndOnlyInSessionsWithExchangeHours)
{
    const quoteserver::MarketModel allDay(1, false), sessions(1, true);
    const std::time_t morning = localTime(2024, 3, 13, 10, 0);
    int moved = 0;
    for (int tick = 1; tick <= 10; ++tick) {
        const quoteserver::Stock &s = *allDay.find("600061");
        moved += allDay.quote(s, morning + 3 * tick).last
            != allDay.quote(s, morning + 3 * tick - 3).last;
    }
    EXPECT_GE(moved, 3); // a client polling every few seconds sees the price move

    const quoteserver::Stock &stock = *sessions.find("600061");

    EXPECT_EQ(sessions.quote(stock, localTime(2024, 3, 13, 3, 0)),
              sessions.quote(stock, localTime(2024, 3, 13, 9, 29)));
    EXPECT_EQ(sessions.quote(stock, localTime(2024, 3, 13, 12, 0)),
              sessions.quote(stock, localTime(2024, 3, 13, 12, 59)));
    EXPECT_NE(sessions.quote(stock, localTime(2024, 3, 13, 10, 0)),
              sessions.quote(stock, localTime(2024, 3, 13, 10, 30)));
    const quoteserver::Quote evening = sessions.quote(stock, localTime(2024, 3, 13, 20, 0));
    EXPECT_EQ(evening.volume % 100, 0);
    EXPECT_GE(evening.volume, sessions.quote(stock, localTime(2024, 3, 13, 14, 59)).volume);
}

// ---- Day history

using QuoteServerHistory = QuoteServerTest;

std::vector<int32_t> historyDates(const std::string &reply)
{
    std::vector<int32_t> dates;
    for (size_t at = 10; at + 40 <= reply.size(); at += 40)
        dates.push_back(readInt32(reply, at));
    return dates;
}

TEST_F(QuoteServerHistory, WeekdaysFromStartUpToTheEndDate)
{
    const std::string reply = body(query("GetDayHisSH", "&600061&1&1&20240301&20240313&96"));
    ASSERT_EQ(reply.size(), 10u + 40 * 8);
    EXPECT_EQ(readInt32(reply, 0), 8);
    EXPECT_EQ(historyDates(reply),
              (std::vector<int32_t> {20240301, 20240304, 20240305, 20240306, 20240307, 20240308,
                                     20240311, 20240312}));
    for (size_t at = 10; at < reply.size(); at += 40) {
        const int32_t open = readInt32(reply, at + 4), high = readInt32(reply, at + 8);
        const int32_t low = readInt32(reply, at + 12), close = readInt32(reply, at + 16);
        EXPECT_LE(low, std::min(open, close));
        EXPECT_GE(high, std::max(open, close));
        EXPECT_EQ(readInt32(reply, at + 20), 0);
        EXPECT_GT(readInt32(reply, at + 24), 0);
        EXPECT_EQ(reply.substr(at + 32, 8), std::string(8, '\0'));
    }
    // Today is never history, whatever end date is asked; the count caps from the start.
    EXPECT_EQ(body(query("GetDayHisSH", "&600061&1&1&20240301&20240329&96")), reply);
    EXPECT_EQ(historyDates(body(query("GetDayHisSZ", "&0001&1&1&20240301&20240313&3"))),
              (std::vector<int32_t> {20240301, 20240304, 20240305}));
}

TEST_F(QuoteServerHistory, BadDatesAndCodesGetShortReplies)
{
    for (const std::string args :
         {"&600061&1&1&20240230&20240313&96", "&600061&1&1&2024031&20240313&96",
          "&600061&1&1&20240301&abcdefgh&96"}) {
        const std::string reply = body(query("GetDayHisSH", args));
        EXPECT_GT(reply.size(), 0u) << args;
        EXPECT_LT(reply.size(), 10u) << args;
    }
    EXPECT_LT(body(query("GetDayHisSZ", "&600061&1&1&20240301&20240313&96")).size(), 40u);
}

TEST(QuoteServerHistoryVolume, IsTheDaysClosingVolumeInLots)
{
    quoteserver::QuoteServer server({.exchangeHours = true});
    Client client(server.start());
    for (const std::string code : {"600061", "0003", "900901"}) {
        server.freezeClock(localTime(2024, 3, 12, 15, 30));
        const Decoded close = decodeQuote(client.get(quotePathFor(code)).body);
        server.freezeClock(localTime(2024, 3, 13, 9, 0));
        const std::string form = code.size() > 5 ? "GetDayHisSH" : "GetDayHisSZ";
        const std::string reply
            = client.get(query(form, "&" + code + "&1&1&20240312&20240313&96")).body;
        ASSERT_EQ(reply.size(), 50u) << code;
        EXPECT_EQ(readInt32(reply, 10 + 24), close.volume / 100) << code;
        EXPECT_EQ(readInt32(reply, 10 + 16), close.last) << code;
        EXPECT_EQ(close.volume % 100, 0);
    }
}

// ---- Stock lists

struct ListRecord
{
    uint8_t kind;
    std::string code; // all six bytes
    std::string name; // all eight bytes
};

std::vector<ListRecord> listRecords(const std::string &reply)
{
    std::vector<ListRecord> records;
    for (size_t at = 0; at + 16 <= reply.size(); at += 16)
        records.push_back({uint8_t(reply[at]), reply.substr(at + 1, 6), reply.substr(at + 7, 8)});
    return records;
}

using QuoteServerStockList = QuoteServerTest;

TEST_F(QuoteServerStockList, MarkersFirstThenABoardThenBBoard)
{
    for (bool shanghai : {true, false}) {
        SCOPED_TRACE(shanghai ? "Shanghai" : "Shenzhen");
        const std::string reply = body(query(shanghai ? "getstkmsgsh" : "getstkmsgsz"));
        ASSERT_EQ(reply.size() % 16, 0u);
        const auto records = listRecords(reply);
        const uint8_t markerKind = shanghai ? 0x10 : 0x20;
        size_t markers = 0;
        while (markers < records.size() && records[markers].kind == markerKind)
            ++markers;
        EXPECT_GE(markers, 1u);
        std::set<std::string> codes;
        for (size_t i = markers; i < records.size(); ++i) {
            const ListRecord &r = records[i];
            EXPECT_EQ(r.kind, 0) << i;
            EXPECT_EQ(reply[16 * i + 15], '\0');
            const std::string_view code = untilNul(r.code);
            EXPECT_EQ(code.size(), shanghai ? 6u : 4u) << i;
            EXPECT_EQ(r.code.find_first_not_of('\0', code.size()), std::string::npos);
            EXPECT_FALSE(untilNul(r.name).empty());
            EXPECT_EQ(gbkToUtf8(untilNul(r.name)).find("\xEF\xBF\xBD"), std::string::npos);
            codes.insert(std::string(code));
        }
        for (const std::string &code : defaultCodes())
            EXPECT_EQ(codes.count(code), code.size() == (shanghai ? 6u : 4u)) << code;
        // B board after A board: the first B code comes after the last A code.
        const char bLead = shanghai ? '9' : '2';
        auto firstB = std::find_if(records.begin() + markers, records.end(),
                                   [&](const ListRecord &r) { return r.code[0] == bLead; });
        ASSERT_NE(firstB, records.end());
        EXPECT_TRUE(
            std::all_of(firstB, records.end(), [&](auto &r) { return r.code[0] == bLead; }));
    }
}

TEST_F(QuoteServerStockList, ComesChunkedInPiecesOfAtMost4096Bytes)
{
    const std::string decoded = body(query("getstkmsgsz"));
    const Fetched raw = client->get(query("getstkmsgsz"), true);
    ASSERT_EQ(raw.code, CURLE_OK);
    std::string joined;
    size_t at = 0, chunks = 0;
    for (;;) {
        const size_t lineEnd = raw.body.find("\r\n", at);
        ASSERT_NE(lineEnd, std::string::npos);
        const size_t size = std::stoul(raw.body.substr(at, lineEnd - at), nullptr, 16);
        if (size == 0)
            break;
        EXPECT_LE(size, 4096u);
        joined += raw.body.substr(lineEnd + 2, size);
        at = lineEnd + 2 + size + 2;
        ++chunks;
    }
    EXPECT_GT(chunks, 1u);
    EXPECT_EQ(joined, decoded);
}

// ---- Ranking

class QuoteServerRanking : public QuoteServerTest
{
protected:
    // Stock number to code by the client's rule: Shanghai list position minus its markers;
    // Shenzhen ones after the whole Shanghai list.
    std::map<int32_t, std::string> numbering()
    {
        const auto sh = listRecords(body(query("getstkmsgsh")));
        const auto sz = listRecords(body(query("getstkmsgsz")));
        auto skip = [](const auto &records, uint8_t kind) {
            return int32_t(std::count_if(records.begin(), records.end(),
                                         [&](auto &r) { return r.kind == kind; }));
        };
        const int32_t shCount = int32_t(sh.size()), shSkip = skip(sh, 0x10),
                      szSkip = skip(sz, 0x20);
        std::map<int32_t, std::string> codes;
        for (int32_t p = shSkip; p < shCount; ++p)
            codes[p - shSkip] = std::string(untilNul(sh[p].code));
        for (int32_t q = szSkip; q < int32_t(sz.size()); ++q)
            codes[shCount + q - szSkip] = std::string(untilNul(sz[q].code));
        return codes;
    }

    struct Board
    {
        int exchange, shareClass;
        char lead;
        size_t codeSize;
    };
    static constexpr Board kBoards[]
        = {{1, 0, '6', 6}, {1, 1, '9', 6}, {0, 0, '0', 4}, {0, 1, '2', 4}};
};

double changeOf(const Decoded &q)
{
    return (double(q.last) - q.previousClose) / q.previousClose;
}

double measure(const Decoded &q, int key)
{
    switch (key) {
    case 1:
        return q.amount;
    case 2:
        return q.volume;
    case 3:
        return changeOf(q);
    case 4:
        return -changeOf(q);
    case 5:
        return (double(q.high) - q.low) / q.previousClose;
    case 6: {
        const double bids = double(q.bidVolume[0]) + q.bidVolume[1] + q.bidVolume[2];
        const double asks = double(q.askVolume[0]) + q.askVolume[1] + q.askVolume[2];
        return (bids - asks) / (bids + asks);
    }
    }
    return 0;
}

TEST_F(QuoteServerRanking, CountsFollowFirstAndWanted)
{
    for (const Board &b : kBoards) {
        SCOPED_TRACE(b.lead);
        const std::string page = body(rankingPath(b.exchange, b.shareClass, 0, 0, 20));
        const int32_t total = readInt32(page, 0);
        ASSERT_GT(total, 16);
        EXPECT_EQ(readInt32(page, 4), 16);
        EXPECT_EQ(page.size(), 8u + 16 * 88);
        const std::string tail = body(rankingPath(b.exchange, b.shareClass, 0, total - 3, 10));
        EXPECT_EQ(readInt32(tail, 4), 3);
        EXPECT_EQ(tail.size(), 8u + 3 * 88);
        EXPECT_EQ(readInt32(body(rankingPath(b.exchange, b.shareClass, 2, 0, 5)), 4), 5);
        for (int first : {total, total + 50}) {
            const std::string past = body(rankingPath(b.exchange, b.shareClass, 1, first, 16));
            ASSERT_EQ(past.size(), 8u);
            EXPECT_EQ(readInt32(past, 4), 0);
        }
    }
    // Bad arguments get a reply no client takes for a ranking page.
    for (const std::string &target : {rankingPath(2, 0, 0, 0, 16), rankingPath(1, 0, 7, 0, 16)}) {
        const size_t size = body(target).size();
        EXPECT_TRUE(size < 8 || (size - 8) % 88 != 0) << target;
    }
}

TEST_F(QuoteServerRanking, RecordsAgreeWithQuotesAndSortByEachKey)
{
    const auto codes = numbering();
    std::map<std::string, Decoded> quotes;
    for (const Board &b : kBoards) {
        for (int key = 0; key <= 6; ++key) {
            SCOPED_TRACE(std::string(1, b.lead) + " key " + std::to_string(key));
            std::vector<std::pair<std::string, Decoded>> ranked;
            for (int first = 0;; first += 16) {
                const std::string page
                    = body(rankingPath(b.exchange, b.shareClass, key, first, 16));
                ASSERT_GE(page.size(), 8u) << "first " << first;
                const int32_t count = readInt32(page, 4);
                if (count == 0)
                    break;
                for (int32_t i = 0; i < count; ++i) {
                    const std::string record = page.substr(8 + 88 * i, 88);
                    ASSERT_TRUE(codes.count(readInt32(record, 0)));
                    const std::string &code = codes.at(readInt32(record, 0));
                    ASSERT_EQ(code.size(), b.codeSize);
                    ASSERT_EQ(code[0], b.lead);
                    if (!quotes.count(code))
                        quotes[code] = quote(code);
                    const Decoded &q = quotes[code];
                    EXPECT_EQ(readInt32(record, 7), q.previousClose) << code;
                    EXPECT_EQ(readInt32(record, 23), q.last) << code;
                    EXPECT_EQ(readInt32(record, 27), q.bidPrice[0]) << code;
                    EXPECT_EQ(readInt32(record, 51), q.askPrice[0]) << code;
                    EXPECT_EQ(readInt32(record, 75), q.volume) << code;
                    ranked.emplace_back(code, q);
                }
            }
            ASSERT_EQ(size_t(readInt32(body(rankingPath(b.exchange, b.shareClass, key, 0, 1)), 0)),
                      ranked.size());
            std::set<std::string> distinct;
            for (auto &entry : ranked)
                distinct.insert(entry.first);
            EXPECT_EQ(distinct.size(), ranked.size());
            for (size_t i = 1; i < ranked.size(); ++i) {
                const double before = measure(ranked[i - 1].second, key),
                             after = measure(ranked[i].second, key);
                EXPECT_TRUE(before > after
                            || (before == after && ranked[i - 1].first < ranked[i].first))
                    << ranked[i - 1].first << " then " << ranked[i].first;
            }
        }
    }
}

TEST_F(QuoteServerRanking, PinnedFiguresRankAndShow)
{
    // Beyond any real day's limit, so nothing ties with it.
    server.pin("600123", {.previousClose = 10000, .last = 11500, .bid1Price = 11490});
    const std::string page = body(rankingPath(1, 0, 3, 0, 1));
    ASSERT_EQ(page.size(), 8u + 88);
    EXPECT_EQ(numbering().at(readInt32(page, 8)), "600123");
    EXPECT_EQ(readInt32(page, 8 + 7), 10000);
    EXPECT_EQ(readInt32(page, 8 + 23), 11500);
    EXPECT_EQ(readInt32(page, 8 + 27), 11490);
}

// ---- Faults

using QuoteServerFaults = QuoteServerTest;

TEST_F(QuoteServerFaults, EachKindBendsTheAnswer)
{
    server.injectFault({quoteserver::FaultKind::Delay, "&0001", 150, 0, 500, 1});
    const auto start = std::chrono::steady_clock::now();
    const Fetched delayed = client->get(quotePathFor("0001"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    EXPECT_EQ(delayed.body.size(), 97u);

    for (size_t length : {size_t(0), size_t(96), size_t(98), size_t(1) << 20}) {
        server.injectFault({quoteserver::FaultKind::WrongLength, "&0002", 0, length, 500, 1});
        const Fetched f = client->get(quotePathFor("0002"));
        EXPECT_EQ(f.status, 200);
        EXPECT_EQ(f.body.size(), length);
    }
    server.injectFault({quoteserver::FaultKind::HttpError, "&0003", 0, 0, 503, 1});
    const Fetched error = client->get(quotePathFor("0003"));
    EXPECT_EQ(error.status, 503);
    EXPECT_NE(error.body.find("<html"), std::string::npos);
    EXPECT_NE(error.body.size(), 97u);

    server.injectFault({quoteserver::FaultKind::Drop, "&0004", 0, 0, 500, 1});
    const Fetched dropped = client->get(quotePathFor("0004"));
    EXPECT_EQ(dropped.code, CURLE_PARTIAL_FILE);
    EXPECT_LT(dropped.body.size(), 97u);
    EXPECT_EQ(client->get(quotePathFor("0004")).body.size(), 97u);
}

TEST_F(QuoteServerFaults, CountPathAndClear)
{
    server.injectFault({quoteserver::FaultKind::WrongLength, "&0001", 0, 10, 500, 2});
    EXPECT_EQ(body(quotePathFor("0002")).size(), 97u);
    EXPECT_EQ(body(quotePathFor("0001")).size(), 10u);
    EXPECT_EQ(body(quotePathFor("0001")).size(), 10u);
    EXPECT_EQ(body(quotePathFor("0001")).size(), 97u);

    server.injectFault({quoteserver::FaultKind::HttpError, "", 0, 0, 500, -1});
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(client->get("/stksrv_curve/version.txt").status, 500);
    EXPECT_EQ(client->get("/control/requests").status, 404); // never faulted, never counted
    server.clearFaults();
    EXPECT_EQ(client->get("/stksrv_curve/version.txt").status, 200);

    EXPECT_EQ(server.requestCount("&0001"), 3u);
    EXPECT_EQ(server.requestCount("version.txt"), 4u);
    EXPECT_EQ(server.requestCount("control"), 0u);
    EXPECT_THROW(server.injectFault({quoteserver::FaultKind::HttpError, "", 0, 0, 200, 1}),
                 std::invalid_argument);
}

// ---- Control interface and pages

constexpr const char *kToken = "test-token";

struct QuoteServerControl : QuoteServerTest
{
    QuoteServerControl()
        : QuoteServerTest({.controlToken = kToken})
    { }
    Fetched control(const std::string &target) { return client->post(target, kToken); }
};

TEST_F(QuoteServerControl, EndpointsDriveTheServer)
{
    // name=测试, percent-encoded UTF-8
    Fetched f = control(
        "/control/pin?code=600061&last=12340&previousClose=12000&name=%E6%B5%8B%E8%AF%95");
    EXPECT_EQ(f.status, 200);
    EXPECT_EQ(f.body, "ok");
    Decoded q = quote("600061");
    EXPECT_EQ(q.last, 12340);
    EXPECT_EQ(q.previousClose, 12000);
    EXPECT_EQ(gbkToUtf8(untilNul(q.name)), "测试");
    EXPECT_EQ(control("/control/unpin").body, "ok");
    EXPECT_NE(quote("600061").last, 12340);

    EXPECT_EQ(control("/control/fault?kind=length&path=%260005&length=5&count=1").body, "ok");
    EXPECT_EQ(body(quotePathFor("0005")).size(), 5u);
    EXPECT_EQ(control("/control/fault?kind=drop").body, "ok");
    EXPECT_EQ(control("/control/clear").body, "ok");
    EXPECT_EQ(body(quotePathFor("0005")).size(), 97u);

    EXPECT_EQ(control("/control/version?text=version%3D2.1").body, "ok");
    EXPECT_EQ(body("/stksrv_curve/version.txt"), "version=2.1");

    const std::time_t later = kWednesday + 3600;
    EXPECT_EQ(control("/control/freeze?time=" + std::to_string(later)).body, "ok");
    EXPECT_EQ(server.modelTime(), later);
    EXPECT_EQ(control("/control/unfreeze").body, "ok");
    EXPECT_LE(std::abs(server.modelTime() - std::time(nullptr)), 2);
    EXPECT_EQ(control("/control/requests?path=0005").body, "2");
}

TEST_F(QuoteServerControl, BadOrOutOfRangeValuesGetAReason)
{
    for (const std::string target :
         {"/control/pin?code=699999&last=1", "/control/pin?code=600061&last=x",
          "/control/pin?code=600061&colour=1", "/control/pin?last=1",
          "/control/pin?code=600061&last=2147483648",
          "/control/pin?code=600061&name=%E4%BA%94%E4%B8%AA%E6%B1%89%E5%AD%97%E5%90%8D",
          "/control/fault?kind=melt", "/control/fault?kind=http&status=200",
          "/control/fault?kind=delay&ms=soon", "/control/fault?kind=delay&ms=600001",
          "/control/fault?kind=delay&ms=99999999999", "/control/fault?kind=length&length=-1",
          "/control/fault?kind=drop&count=0", "/control/freeze",
          "/control/freeze?time=9223372036854775807", "/control/freeze?time=-9223372036854775808",
          "/control/freeze?time=4102444800", "/control/version"}) {
        const Fetched f = control(target);
        EXPECT_EQ(f.status, 400) << target;
        EXPECT_FALSE(f.body.empty()) << target;
    }
    EXPECT_EQ(control("/control/explode").status, 404);
    EXPECT_EQ(server.modelTime(), kWednesday);
}

// No web page (a GET, or a POST without the token) and no other program may change what the
// server says; without a token the interface is not there at all.
TEST_F(QuoteServerControl, OnlyPostWithTheTokenChangesAnything)
{
    const std::string pin = "/control/pin?code=600061&last=99999999";
    EXPECT_EQ(client->get(pin).status, 405);
    EXPECT_EQ(client->post(pin, "").status, 403);
    EXPECT_EQ(client->post(pin, "wrong").status, 403);
    quoteserver::QuoteServer closed;
    Client other(closed.start());
    EXPECT_EQ(other.post(pin, kToken).status, 404);
    EXPECT_EQ(other.post(pin, "").status, 404);
    EXPECT_NE(quote("600061").last, 99999999);
    EXPECT_NE(decodeQuote(other.get(quotePathFor("600061")).body).last, 99999999);
}

TEST_F(QuoteServerControl, PagesAndDownload)
{
    EXPECT_EQ(body("/stksrv_curve/version.txt"), "version=2.0");
    const Fetched chart
        = client->get("/stksrv_curve/Chart.asp?ZXYHID=&ZXSXID=&STYLE=SSQX&STKNO=0001&MT=GET");
    EXPECT_EQ(chart.status, 200);
    EXPECT_NE(chart.body.find("charset=\"utf-8\""), std::string::npos);
    EXPECT_NE(chart.body.find(gbkToUtf8(untilNul(quote("0001").name))), std::string::npos);
    EXPECT_NE(chart.body.find("<svg"), std::string::npos);
    EXPECT_EQ(client->get("/stksrv_curve/Chart.asp?STKNO=9999&MT=GET").status, 404);
    // The site's own page, which the window's link opens, and its tip and memo pages.
    for (const std::string page : {"/", "/jinribd/jrtishi.asp", "/jinribd/yizhoutz.asp"}) {
        const Fetched f = client->get(page);
        EXPECT_EQ(f.status, 200);
        EXPECT_NE(f.body.find("模拟"), std::string::npos) << page;
    }
    const std::string zip = body("/download/download/tamberly.zip");
    EXPECT_EQ(zip, std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    EXPECT_EQ(client->get("/nowhere").status, 404);
    EXPECT_EQ(client->get("/stksrv_curve/version.txt").connects, 0); // kept alive
}

// ---- Determinism and lifecycle

TEST(QuoteServerDeterminism, SameSeedAndTimeGiveTheSameBytes)
{
    const std::vector<std::string> targets {quotePathFor("600061"), quotePathFor("2005"),
                                            query("GetDayHisSZ", "&0001&1&1&20240201&20240313&96"),
                                            rankingPath(0, 0, 3, 16, 16), query("getstkmsgsh")};
    auto fetchAll = [&](uint64_t seed, size_t workers = 2) {
        quoteserver::QuoteServer server({.seed = seed, .workers = workers});
        server.freezeClock(kWednesday);
        Client client(server.start());
        std::vector<std::string> bodies;
        for (const std::string &t : targets)
            bodies.push_back(client.get(t).body);
        return bodies;
    };
    const auto first = fetchAll(7);
    EXPECT_EQ(fetchAll(7), first);
    EXPECT_EQ(fetchAll(7, 0), first); // answered by the connections' own thread, as in Lark
    const auto other = fetchAll(8);
    EXPECT_NE(other[0].substr(16), first[0].substr(16)); // prices follow the seed
    EXPECT_EQ(other[4], first[4]); // codes and names do not
}

TEST(QuoteServerLifecycle, StopIsPromptWhileADelaySleeps)
{
    quoteserver::QuoteServer server;
    const int port = server.start();
    server.injectFault({quoteserver::FaultKind::Delay, "", 20000, 0, 500, -1});
    auto pending = std::async(std::launch::async, [port] {
        return Client(port).get(quotePathFor("0001"), false, 30000);
    });
    while (server.requestCount("") == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto start = std::chrono::steady_clock::now();
    server.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_NE(pending.get().code, CURLE_OK);
}

TEST(QuoteServerThreads, ControlCallsWhileServing)
{
    quoteserver::QuoteServer server;
    const int port = server.start();
    std::atomic<bool> done {false};
    const std::vector<std::string> targets {quotePathFor("600061"), rankingPath(0, 0, 6, 0, 16),
                                            query("getstkmsgsh"), "/stksrv_curve/version.txt"};
    std::vector<std::thread> clients;
    for (const std::string &target : targets) {
        clients.emplace_back([&, target] {
            Client client(port);
            while (!done)
                client.get(target);
        });
    }
    // Under a sanitizer a ranking page takes ~100 ms, so a fixed number of rounds may end before
    // the clients get going: go on until each has been served a few times meanwhile.
    const auto eachServed = [&] {
        return std::all_of(targets.begin(), targets.end(),
                           [&](const std::string &t) { return server.requestCount(t) >= 3; });
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (int i = 0; (i < 40 || !eachServed()) && std::chrono::steady_clock::now() < deadline; ++i) {
        server.pin("600061", {.last = 10000 + i});
        server.injectFault({quoteserver::FaultKind::Delay, "", 1, 0, 500, 1});
        server.freezeClock(kWednesday + i);
        server.setVersionText("version=" + std::to_string(i));
        EXPECT_TRUE(server.quote("600061").has_value());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    server.unpinAll();
    server.clearFaults();
    server.unfreezeClock();
    done = true;
    for (std::thread &t : clients)
        t.join();
    EXPECT_TRUE(eachServed());
}

TEST(QuoteServerLifecycle, StartFailsOnATakenPort)
{
    quoteserver::QuoteServer first;
    const int port = first.start();
    EXPECT_EQ(first.port(), port);
    quoteserver::QuoteServer second({.port = port});
    EXPECT_THROW(second.start(), std::runtime_error);
}

} // namespace
