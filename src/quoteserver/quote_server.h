#pragma once

#include "quoteserver/fault.h"
#include "quoteserver/live/live_options.h"
#include "quoteserver/market_source.h"
#include "quoteserver/quote_types.h"
#include "quoteserver/simulated/market_model.h"

#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lark::quoteserver {

struct QuoteServerOptions
{
    std::string host = "127.0.0.1";
    int port = 0; // 0 = any free port
    uint64_t seed = 1;
    bool exchangeHours = false; // prices move only 09:30-11:30 and 13:00-15:00 local time
    std::optional<LiveOptions> live {}; // set: the real market instead of the simulated one
    // Threads answering whole requests; waiting connections need none. 0: the thread that waits
    // on the connections answers too, which suits only a market that never waits itself.
    size_t workers = 2;
    // The control interface (POST /control/..., this token in X-Control-Token) is there only
    // when a token is given.
    std::optional<std::string> controlToken {};
    // Only this user's own programs are answered: the built-in server's figures and upstream
    // budget are not for other users of the machine.
    bool ownUserOnly = false;
};

// The stand-in for the quote server: serves the quote queries and pages over HTTP
// from one market source, with faults tests can inject; on the simulated market also
// pins and a clock tests control. Every method may be called from any thread while serving.
class QuoteServer
{
public:
    explicit QuoteServer(QuoteServerOptions options = {});
    ~QuoteServer();
    QuoteServer(const QuoteServer &) = delete;
    QuoteServer &operator=(const QuoteServer &) = delete;

    // Binds and serves on background threads; returns the bound port. Throws
    // std::runtime_error when it cannot bind, std::logic_error after stop().
    int start();
    void stop();
    int port() const;

    // Replaces any earlier pin of the code. Throws std::invalid_argument for an
    // unknown code, a name longer than 8 GBK bytes, or on the live market.
    void pin(const std::string &code, const PinnedQuote &figures);
    void unpin(const std::string &code);
    void unpinAll();

    // Throws std::invalid_argument for figures no reply can have (see FaultBook::check).
    void injectFault(const Fault &fault);
    void clearFaults();

    void setVersionText(std::string text); // default "version=2.0"
    // Throws std::invalid_argument for a time before 1970 or after 2099.
    void freezeClock(std::time_t t);
    void unfreezeClock();
    std::time_t modelTime() const;

    // Figures as a real-time quote would serve them now, pins applied.
    std::optional<Quote> quote(std::string_view code) const;
    // Quote-server requests seen (control ones not counted) whose target contains the text.
    // Past a few thousand distinct targets, new ones count only towards "" (see RequestTally).
    uint64_t requestCount(std::string_view targetContains) const;
    MarketStatus marketStatus() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace lark::quoteserver
