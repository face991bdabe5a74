#include "upstream_replay.h"

#include "base/gbk.h"

#include <httplib.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

namespace lark::test {
namespace {

constexpr const char *kJson = "application/json; charset=utf-8";
constexpr const char *kGbkText = "text/html; charset=GBK";

std::string readFile(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The recorded lines of a quotes reply by symbol ("sh600061"), each line "PREFIXsymbol=...".
std::map<std::string, std::string> linesBySymbol(const std::string &reply,
                                                 const std::string &prefix)
{
    std::map<std::string, std::string> lines;
    std::istringstream in(reply);
    for (std::string line; std::getline(in, line);) {
        const size_t equals = line.find('=');
        if (line.starts_with(prefix) && equals != std::string::npos)
            lines[line.substr(prefix.size(), equals - prefix.size())] = line + "\n";
    }
    return lines;
}

std::string boardOf(std::string filter)
{
    for (char &c : filter)
        c = c == '+' ? ' ' : c;
    static const std::map<std::string, std::string> boards {{"m:1 t:2,m:1 t:23", "sh_a"},
                                                            {"m:1 t:3", "sh_b"},
                                                            {"m:0 t:6,m:0 t:80", "sz_a"},
                                                            {"m:0 t:7", "sz_b"}};
    const auto it = boards.find(filter);
    return it == boards.end() ? "none" : it->second;
}

// A page of the list service's shape with far more rows than any page has.
std::string floodedPage(size_t rows)
{
    std::string page = "{\"rc\":0,\"data\":{\"total\":" + std::to_string(rows) + ",\"diff\":[";
    for (size_t i = 0; i < rows; ++i) {
        page += i ? "," : "";
        page += "{\"f12\":\"" + std::to_string(600000 + i % 400000)
            + "\",\"f13\":1,\"f14\":\"假名\"}";
    }
    return page + "]}}";
}

// httplib keeps function-local statics on its request path. Set up here, before the server's
// threads exist (or a quote server's in the same test), their creation orders them before any
// use, visibly so to ThreadSanitizer, which cannot see the guards in the uninstrumented library.
class WarmedServer : public httplib::Server
{
public:
    void warmUp()
    {
        httplib::detail::BufferStream stream;
        const std::string request = "GET /warm-up HTTP/1.1\r\nHost: localhost\r\n\r\n";
        stream.write(request.data(), request.size());
        bool closed = false;
        process_request(stream, true, closed, nullptr);
    }
};

} // namespace

UpstreamReplay::UpstreamReplay(std::filesystem::path dataDir, std::string quotesFile,
                               std::string sinaFile)
    : m_dataDir(std::move(dataDir))
    , m_quotesFile(std::move(quotesFile))
    , m_sinaFile(std::move(sinaFile))
{ }

UpstreamReplay::~UpstreamReplay()
{
    stop();
}

std::string UpstreamReplay::quoteLines(const std::string &file, const std::string &codes,
                                       const std::string &prefix, const std::string &missing) const
{
    const auto lines = linesBySymbol(readFile(m_dataDir / file), prefix);
    std::string body;
    std::istringstream symbols(codes);
    for (std::string symbol; std::getline(symbols, symbol, ',');) {
        const auto line = lines.find(symbol);
        std::string absent = missing;
        if (const size_t at = absent.find("{}"); at != std::string::npos)
            absent.replace(at, 2, symbol);
        body += line != lines.end() ? line->second : absent;
    }
    return utf8ToGbk(body);
}

std::string UpstreamReplay::fileOr(const std::string &name, const std::string &fallback) const
{
    const auto file = m_dataDir / name;
    return readFile(std::filesystem::exists(file) ? file : m_dataDir / fallback);
}

void UpstreamReplay::setListFlood(size_t rows)
{
    std::lock_guard lock(m_mutex);
    m_listFlood = rows;
}

UpstreamReplay::Reply UpstreamReplay::replyTo(const httplib::Request &req) const
{
    const std::string &path = req.path;
    if (path.starts_with("/q="))
        return {"quotes",
                quoteLines(m_quotesFile, path.substr(3), "v_", "v_pv_none_match=\"1\";\n"),
                kGbkText};
    if (path.starts_with("/list="))
        return {"sina",
                quoteLines(m_sinaFile, path.substr(6), "var hq_str_", "var hq_str_{}=\"\";\n"),
                kGbkText};
    if (path == "/api/qt/stock/kline/get")
        return {"history",
                fileOr("kline_" + req.get_param_value("secid") + ".json", "kline_none.json"),
                kJson};
    if (path == "/api/qt/clist/get" && m_listFlood > 0)
        return {req.get_param_value("fields") == "f12,f13,f14" ? "lists" : "ranking",
                floodedPage(m_listFlood), kJson};
    if (path == "/api/qt/clist/get") {
        const bool list = req.get_param_value("fields") == "f12,f13,f14";
        const std::string board = boardOf(req.get_param_value("fs"));
        const std::string name = (list ? "boards_" : "ranking_") + board + ".json";
        const bool pastEnd = req.get_param_value("pn") != "1";
        return {list ? "lists" : "ranking",
                fileOr(pastEnd ? "clist_past_end.json" : name, "clist_past_end.json"), kJson};
    }
    if (path == "/appstock/app/fqkline/get") {
        const std::string param = req.get_param_value("param");
        return {
            "bars",
            fileOr("fqkline_" + param.substr(0, param.find(',')) + ".json", "ifzq_no_data.json"),
            kJson};
    }
    if (path == "/appstock/app/minute/query")
        return {"minutes",
                fileOr("minute_" + req.get_param_value("code") + ".json", "ifzq_no_data.json"),
                kJson};
    return {};
}

int UpstreamReplay::start()
{
    m_server = std::make_unique<WarmedServer>();
    m_server->set_tcp_nodelay(true);
    m_server->set_keep_alive_timeout(1); // a stop waits for idle connections this long
    m_server->set_pre_routing_handler([this](const httplib::Request &req, httplib::Response &res) {
        if (req.path.starts_with("/q="))
            std::this_thread::sleep_for(m_quotesDelay.load());
        std::lock_guard lock(m_mutex);
        Reply reply = replyTo(req);
        if (reply.kind.empty()) {
            res.status = 404;
            return httplib::Server::HandlerResponse::Handled;
        }
        if (m_garbage || m_failing.contains(reply.kind))
            reply.body = readFile(m_dataDir / "error_page.html");
        m_requests.push_back({reply.kind, req.target, req.get_header_value("User-Agent"),
                              std::chrono::steady_clock::now(), reply.body.size()});
        res.status = m_failing.contains(reply.kind) ? 503 : 200;
        res.set_content(reply.body, reply.type.c_str());
        return httplib::Server::HandlerResponse::Handled;
    });
    m_port = m_port == 0 ? m_server->bind_to_any_port("127.0.0.1")
                         : (m_server->bind_to_port("127.0.0.1", m_port) ? m_port : -1);
    if (m_port <= 0)
        throw std::runtime_error("upstream replay cannot listen");
    static_cast<WarmedServer &>(*m_server).warmUp();
    m_thread = std::thread([server = m_server.get()] { server->listen_after_bind(); });
    // httplib ignores a stop() that comes before its accept loop has begun.
    while (!m_server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return m_port;
}

void UpstreamReplay::stop()
{
    if (!m_server)
        return;
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
    m_server.reset();
}

std::string UpstreamReplay::url() const
{
    return "http://127.0.0.1:" + std::to_string(m_port);
}

void UpstreamReplay::setQuotesFile(const std::string &name)
{
    std::lock_guard lock(m_mutex);
    m_quotesFile = name;
}

void UpstreamReplay::setSinaFile(const std::string &name)
{
    std::lock_guard lock(m_mutex);
    m_sinaFile = name;
}

void UpstreamReplay::setGarbage(bool garbage)
{
    std::lock_guard lock(m_mutex);
    m_garbage = garbage;
}

void UpstreamReplay::setFailing(const std::string &kind, bool failing)
{
    std::lock_guard lock(m_mutex);
    if (failing)
        m_failing.insert(kind);
    else
        m_failing.erase(kind);
}

void UpstreamReplay::setQuotesDelay(std::chrono::milliseconds delay)
{
    m_quotesDelay = delay;
}

std::vector<UpstreamReplay::Request> UpstreamReplay::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

size_t UpstreamReplay::count(const std::string &kind) const
{
    std::lock_guard lock(m_mutex);
    return std::count_if(m_requests.begin(), m_requests.end(),
                         [&](const Request &r) { return r.kind == kind; });
}

size_t UpstreamReplay::bytes(const std::string &kind) const
{
    std::lock_guard lock(m_mutex);
    size_t total = 0;
    for (const Request &r : m_requests)
        total += r.kind == kind ? r.bytes : 0;
    return total;
}

} // namespace lark::test
