#include "upstream_replay.h"

#include <httplib.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

namespace lark::test {
namespace {

std::string readFile(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The recorded lines of a quotes reply by symbol ("sh600061").
std::map<std::string, std::string> linesBySymbol(const std::string &reply)
{
    std::map<std::string, std::string> lines;
    std::istringstream in(reply);
    for (std::string line; std::getline(in, line);) {
        const size_t equals = line.find('=');
        if (line.starts_with("v_") && equals != std::string::npos)
            lines[line.substr(2, equals - 2)] = line + "\n";
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

} // namespace

UpstreamReplay::UpstreamReplay(std::filesystem::path dataDir, std::string quotesFile)
    : m_dataDir(std::move(dataDir))
    , m_quotesFile(std::move(quotesFile))
{ }

UpstreamReplay::~UpstreamReplay()
{
    stop();
}

int UpstreamReplay::start()
{
    m_server = std::make_unique<httplib::Server>();
    m_server->set_tcp_nodelay(true);
    m_server->set_keep_alive_timeout(1); // a stop waits for idle connections this long
    m_server->set_pre_routing_handler([this](const httplib::Request &req, httplib::Response &res) {
        std::string kind, body, type = "application/json; charset=utf-8";
        if (req.path.starts_with("/q="))
            std::this_thread::sleep_for(m_quotesDelay.load());
        std::lock_guard lock(m_mutex);
        if (req.path.starts_with("/q=")) {
            kind = "quotes";
            type = "text/html; charset=GBK";
            const auto lines = linesBySymbol(readFile(m_dataDir / m_quotesFile));
            std::istringstream symbols(req.path.substr(3));
            for (std::string symbol; std::getline(symbols, symbol, ',');) {
                const auto line = lines.find(symbol);
                body += line != lines.end() ? line->second : "v_pv_none_match=\"1\";\n";
            }
        } else if (req.path == "/api/qt/stock/kline/get") {
            kind = "history";
            const auto file = m_dataDir / ("kline_" + req.get_param_value("secid") + ".json");
            body = readFile(std::filesystem::exists(file) ? file : m_dataDir / "kline_none.json");
        } else if (req.path == "/api/qt/clist/get") {
            const bool list = req.get_param_value("fields") == "f12,f13,f14";
            kind = list ? "lists" : "ranking";
            const std::string board = boardOf(req.get_param_value("fs"));
            const auto file = m_dataDir / ((list ? "boards_" : "ranking_") + board + ".json");
            const bool pastEnd = req.get_param_value("pn") != "1" || !std::filesystem::exists(file);
            body = readFile(pastEnd ? m_dataDir / "clist_past_end.json" : file);
        } else {
            res.status = 404;
            return httplib::Server::HandlerResponse::Handled;
        }
        m_requests.push_back({kind, req.target, req.get_header_value("User-Agent"),
                              std::chrono::steady_clock::now()});
        if (m_garbage)
            body = readFile(m_dataDir / "error_page.html");
        res.set_content(body, type.c_str());
        return httplib::Server::HandlerResponse::Handled;
    });
    m_port = m_port == 0 ? m_server->bind_to_any_port("127.0.0.1")
                         : (m_server->bind_to_port("127.0.0.1", m_port) ? m_port : -1);
    if (m_port <= 0)
        throw std::runtime_error("upstream replay cannot listen");
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

void UpstreamReplay::setGarbage(bool garbage)
{
    std::lock_guard lock(m_mutex);
    m_garbage = garbage;
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

} // namespace lark::test
