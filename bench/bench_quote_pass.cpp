// One refresh pass worth of quotes (16 sequential queries on one kept-alive connection),
// ours against bare libcurl doing the same requests on one easy handle.
#include "engine/watch_list.h"
#include "protocol/query_paths.h"
#include "protocol/quote_record.h"
#include "protocol/quote_session.h"
#include "quoteserver/quote_server.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

namespace {

lark::quoteserver::QuoteServer &server()
{
    static lark::quoteserver::QuoteServer instance;
    static int port = instance.start();
    (void)port;
    return instance;
}

size_t keep(char *data, size_t size, size_t count, void *userdata)
{
    static_cast<std::string *>(userdata)->append(data, size * count);
    return size * count;
}

void ours(benchmark::State &state)
{
    lark::QuoteSession session({"127.0.0.1", server().port()});
    session.connect();
    lark::QuoteRecord record;
    for (auto _ : state) {
        for (std::string_view code : lark::kDefaultCodes)
            benchmark::DoNotOptimize(lark::fetchQuote(session, code, record));
    }
    state.counters["connections"] = double(session.connectionsOpened());
}

void rawCurl(benchmark::State &state)
{
    CURL *curl = curl_easy_init();
    std::string base = "http://127.0.0.1:" + std::to_string(server().port());
    std::string body;
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, keep);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_TCP_NODELAY, 1L);
    curl_easy_setopt(curl, CURLOPT_PROXY, ""); // as ours: a proxy in the environment is not used
    long connections = 0;
    for (auto _ : state) {
        for (std::string_view code : lark::kDefaultCodes) {
            body.clear();
            std::string url = base + lark::quotePath(code);
            curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
            benchmark::DoNotOptimize(curl_easy_perform(curl));
            long opened = 0;
            curl_easy_getinfo(curl, CURLINFO_NUM_CONNECTS, &opened);
            connections += opened;
        }
    }
    // Both benchmarks report it: the csv reporter needs the same counters in every row.
    state.counters["connections"] = double(connections);
    curl_easy_cleanup(curl);
}

} // namespace

BENCHMARK(rawCurl)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(ours)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK_MAIN();
