#include "quoteserver/quote_server.h"

#include "protocol/stock_code.h"
#include "quoteserver/control_api.h"
#include "quoteserver/fault_book.h"
#include "quoteserver/live/live_source.h"
#include "quoteserver/raw_target_server.h"
#include "quoteserver/request_router.h"
#include "quoteserver/simulated/simulated_source.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace lark::sim {
namespace {

constexpr std::string_view kControlPrefix = "/control/";

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

} // namespace

struct QuoteServer::Impl
{
    Impl(QuoteServer &owner, QuoteServerOptions o)
        : owner(owner)
        , options(std::move(o))
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
    std::map<std::string, uint64_t, std::less<>> seen;
};

httplib::Server::HandlerResponse QuoteServer::Impl::handle(const httplib::Request &req,
                                                           httplib::Response &res)
{
    if (req.target.starts_with(kControlPrefix)) {
        const std::string_view command
            = std::string_view(req.path).substr(std::min(req.path.size(), kControlPrefix.size()));
        ControlAnswer answer = handleControl(owner, command, req.params);
        res.status = answer.status;
        res.set_content(answer.text, "text/plain; charset=utf-8");
    } else {
        serveQuery(req.target, res);
    }
    return httplib::Server::HandlerResponse::Handled;
}

void QuoteServer::Impl::serveQuery(const std::string &target, httplib::Response &res)
{
    FaultPlan plan;
    {
        std::lock_guard lock(mutex);
        ++seen[target];
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
    : impl_(std::make_unique<Impl>(*this, std::move(options)))
{
    auto &http = impl_->http;
    http.set_tcp_nodelay(true);
    http.set_keep_alive_max_count(1000000);
    http.set_pre_routing_handler(
        [impl = impl_.get()](const httplib::Request &req, httplib::Response &res) {
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
        std::lock_guard lock(impl_->mutex);
        if (impl_->stopped)
            throw std::logic_error("quote server already stopped");
        if (impl_->started)
            return impl_->port;
        impl_->started = true;
    }
    auto &http = impl_->http;
    const auto &o = impl_->options;
    const int bound = o.port == 0 ? http.bind_to_any_port(o.host)
                                  : (http.bind_to_port(o.host, o.port) ? o.port : -1);
    if (bound <= 0) {
        std::lock_guard lock(impl_->mutex);
        impl_->started = false;
        throw std::runtime_error("cannot listen on " + o.host + ":" + std::to_string(o.port));
    }
    impl_->port = bound;
    http.warmUp("/control/requests");
    auto finished = std::make_shared<std::atomic<bool>>(false);
    impl_->listener = std::thread([&http, finished] {
        http.listen_after_bind();
        *finished = true;
    });
    // httplib ignores a stop() that comes before its accept loop has begun.
    while (!http.is_running() && !*finished)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return bound;
}

void QuoteServer::stop()
{
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stopped = true;
    }
    impl_->wake.notify_all();
    impl_->source->stop();
    if (impl_->listener.joinable()) {
        impl_->http.stopServing();
        impl_->listener.join();
    }
}

int QuoteServer::port() const
{
    return impl_->port;
}

void QuoteServer::pin(const std::string &code, const PinnedQuote &figures)
{
    impl_->simulatedSource().pin(code, figures);
}

void QuoteServer::unpin(const std::string &code)
{
    impl_->simulatedSource().unpin(code);
}

void QuoteServer::unpinAll()
{
    impl_->simulatedSource().unpinAll();
}

void QuoteServer::injectFault(const Fault &fault)
{
    std::lock_guard lock(impl_->mutex);
    impl_->faults.add(fault);
}

void QuoteServer::clearFaults()
{
    std::lock_guard lock(impl_->mutex);
    impl_->faults.clear();
}

void QuoteServer::setVersionText(std::string text)
{
    std::lock_guard lock(impl_->mutex);
    impl_->versionText = std::move(text);
}

void QuoteServer::freezeClock(std::time_t t)
{
    impl_->simulatedSource().freezeClock(t);
}

void QuoteServer::unfreezeClock()
{
    impl_->simulatedSource().unfreezeClock();
}

std::time_t QuoteServer::modelTime() const
{
    return impl_->simulated ? impl_->simulated->view().time() : std::time(nullptr);
}

std::optional<Quote> QuoteServer::quote(std::string_view code) const
{
    const Answer<Quote> answer = impl_->source->quote(code, isShanghaiCode(code));
    return answer.outcome == Outcome::Answered ? std::optional(answer.value) : std::nullopt;
}

uint64_t QuoteServer::requestCount(std::string_view targetContains) const
{
    std::lock_guard lock(impl_->mutex);
    uint64_t count = 0;
    for (const auto &[target, n] : impl_->seen) {
        if (target.find(targetContains) != std::string::npos)
            count += n;
    }
    return count;
}

const MarketModel &QuoteServer::market() const
{
    if (!impl_->simulated)
        throw std::logic_error("the live market has no model");
    return impl_->simulated->model();
}

MarketStatus QuoteServer::marketStatus() const
{
    return impl_->source->status();
}

} // namespace lark::sim
