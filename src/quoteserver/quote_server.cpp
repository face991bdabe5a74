#include "quoteserver/quote_server.h"

#include "protocol/stock_code.h"
#include "quoteserver/control_api.h"
#include "quoteserver/fault_book.h"
#include "quoteserver/http/raw_target_server.h"
#include "quoteserver/http/request_tally.h"
#include "quoteserver/live/live_source.h"
#include "quoteserver/request_router.h"
#include "quoteserver/simulated/simulated_source.h"

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace lark::quoteserver {
namespace {

constexpr std::string_view kControlPrefix = "/control/";
constexpr const char *kControlTokenHeader = "X-Control-Token";
constexpr std::time_t kLatestFrozenTime = 4'102'444'800; // 2100-01-01

void send(Reply reply, httplib::Response &res)
{
    res.status = reply.status;
    if (!reply.chunked) {
        res.set_content(std::move(reply.body), reply.contentType.c_str());
        return;
    }
    auto body = std::make_shared<std::string>(std::move(reply.body));
    res.set_chunked_content_provider(
        reply.contentType, [body](size_t offset, httplib::DataSink &sink) {
            if (offset >= body->size()) {
                sink.done();
                return true;
            }
            return sink.write(body->data() + offset, std::min(kChunkSize, body->size() - offset));
        });
}

// The headers go out, the body never does. A client that got nothing at all on a
// kept-alive connection would quietly retry (libcurl does), hiding the fault.
void dropAfterHeaders(const Reply &reply, httplib::Response &res)
{
    res.status = reply.status;
    res.set_content_provider(std::max<size_t>(reply.body.size(), 1), reply.contentType,
                             [](size_t, size_t, httplib::DataSink &) { return false; });
}

LoopLimits limitsOf(const QuoteServerOptions &options)
{
    LoopLimits limits;
    limits.ownUserOnly = options.ownUserOnly;
    return limits;
}

} // namespace

struct QuoteServer::Impl
{
    Impl(QuoteServer &owner, QuoteServerOptions o)
        : owner(owner)
        , options(std::move(o))
        , http(options.workers, limitsOf(options))
    {
        if (options.live) {
            source = std::make_unique<LiveSource>(*options.live);
            return;
        }
        auto sim = std::make_unique<SimulatedSource>(options.seed, options.exchangeHours);
        simulated = sim.get();
        source = std::move(sim);
    }

    httplib::Server::HandlerResponse handle(const httplib::Request &req, httplib::Response &res);
    ControlAnswer control(const httplib::Request &req);
    void serveQuery(const std::string &target, httplib::Response &res);
    bool sleepUnlessStopped(int ms);
    SimulatedSource &simulatedSource() const;

    QuoteServer &owner;
    const QuoteServerOptions options;
    std::unique_ptr<MarketSource> source;
    SimulatedSource *simulated = nullptr; // the source, when it is the simulated one
    RawTargetServer http;
    std::thread listener;
    std::atomic<int> port {0};

    mutable std::mutex mutex;
    std::condition_variable wake;
    bool started = false;
    bool stopped = false;
    FaultBook faults;
    std::string versionText = "version=2.0";
    RequestTally seen;
};

httplib::Server::HandlerResponse QuoteServer::Impl::handle(const httplib::Request &req,
                                                           httplib::Response &res)
{
    if (req.target.starts_with(kControlPrefix)) {
        ControlAnswer answer = control(req);
        res.status = answer.status;
        res.set_content(answer.text, "text/plain; charset=utf-8");
    } else {
        serveQuery(req.target, res);
    }
    return httplib::Server::HandlerResponse::Handled;
}

// Changes of state come as POST only, so that no web page can make them with a link, and with
// the token, so that no other local program can.
ControlAnswer QuoteServer::Impl::control(const httplib::Request &req)
{
    if (!options.controlToken)
        return {404, "no control interface here"};
    if (req.method != "POST")
        return {405, "control requests are POST"};
    if (req.get_header_value(kControlTokenHeader) != *options.controlToken)
        return {403, "wrong or missing control token"};
    const std::string_view command
        = std::string_view(req.path).substr(std::min(req.path.size(), kControlPrefix.size()));
    return handleControl(owner, command, req.params);
}

void QuoteServer::Impl::serveQuery(const std::string &target, httplib::Response &res)
{
    FaultPlan plan;
    {
        std::lock_guard lock(mutex);
        seen.add(target);
        plan = faults.take(target);
    }
    if (plan.delayMs > 0 && !sleepUnlessStopped(plan.delayMs)) {
        RawTargetServer::dropCurrentConnection();
        return;
    }
    std::string version;
    {
        std::lock_guard lock(mutex);
        version = versionText;
    }
    Reply reply = routeRequest(target, *source, version);
    if (reply.dropped || (plan.answer && plan.answer->kind == FaultKind::Drop))
        dropAfterHeaders(reply, res);
    else
        send(plan.answer ? bendReply(*plan.answer, std::move(reply)) : std::move(reply), res);
}

bool QuoteServer::Impl::sleepUnlessStopped(int ms)
{
    std::unique_lock lock(mutex);
    return !wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopped; });
}

SimulatedSource &QuoteServer::Impl::simulatedSource() const
{
    if (!simulated)
        throw std::invalid_argument("the live market has no pins and no model clock");
    return *simulated;
}

QuoteServer::QuoteServer(QuoteServerOptions options)
    : m_impl(std::make_unique<Impl>(*this, std::move(options)))
{
    auto &http = m_impl->http;
    http.set_keep_alive_max_count(1000000);
    http.set_pre_routing_handler(
        [impl = m_impl.get()](const httplib::Request &req, httplib::Response &res) {
            return impl->handle(req, res);
        });
}

QuoteServer::~QuoteServer()
{
    stop();
}

int QuoteServer::start()
{
    {
        std::lock_guard lock(m_impl->mutex);
        if (m_impl->stopped)
            throw std::logic_error("quote server already stopped");
        if (m_impl->started)
            return m_impl->port;
        m_impl->started = true;
    }
    auto &http = m_impl->http;
    const auto &o = m_impl->options;
    const int bound = http.bind(o.host, o.port);
    if (bound <= 0) {
        std::lock_guard lock(m_impl->mutex);
        m_impl->started = false;
        throw std::runtime_error("cannot listen on " + o.host + ":" + std::to_string(o.port));
    }
    m_impl->port = bound;
    http.warmUp("/control/requests");
    m_impl->listener = std::thread([&http] { http.serve(); });
    return bound;
}

void QuoteServer::stop()
{
    {
        std::lock_guard lock(m_impl->mutex);
        m_impl->stopped = true;
    }
    m_impl->wake.notify_all();
    m_impl->source->stop();
    if (m_impl->listener.joinable()) {
        m_impl->http.stopServing();
        m_impl->listener.join();
    }
}

int QuoteServer::port() const
{
    return m_impl->port;
}

void QuoteServer::pin(const std::string &code, const PinnedQuote &figures)
{
    m_impl->simulatedSource().pin(code, figures);
}

void QuoteServer::unpin(const std::string &code)
{
    m_impl->simulatedSource().unpin(code);
}

void QuoteServer::unpinAll()
{
    m_impl->simulatedSource().unpinAll();
}

void QuoteServer::injectFault(const Fault &fault)
{
    std::lock_guard lock(m_impl->mutex);
    m_impl->faults.add(fault);
}

void QuoteServer::clearFaults()
{
    std::lock_guard lock(m_impl->mutex);
    m_impl->faults.clear();
}

void QuoteServer::setVersionText(std::string text)
{
    std::lock_guard lock(m_impl->mutex);
    m_impl->versionText = std::move(text);
}

void QuoteServer::freezeClock(std::time_t t)
{
    // The model's calendar arithmetic holds for these years only.
    if (t < 0 || t >= kLatestFrozenTime)
        throw std::invalid_argument("time must be from 0 to 4102444799 (1970 to 2099)");
    m_impl->simulatedSource().freezeClock(t);
}

void QuoteServer::unfreezeClock()
{
    m_impl->simulatedSource().unfreezeClock();
}

std::time_t QuoteServer::modelTime() const
{
    return m_impl->simulated ? m_impl->simulated->view().time() : std::time(nullptr);
}

std::optional<Quote> QuoteServer::quote(std::string_view code) const
{
    const Answer<Quote> answer = m_impl->source->quote(code, isShanghaiCode(code));
    return answer.outcome == Outcome::Answered ? std::optional(answer.value) : std::nullopt;
}

uint64_t QuoteServer::requestCount(std::string_view targetContains) const
{
    std::lock_guard lock(m_impl->mutex);
    return m_impl->seen.count(targetContains);
}

MarketStatus QuoteServer::marketStatus() const
{
    return m_impl->source->status();
}

} // namespace lark::quoteserver
