#include "quoteserver/live/upstream_client.h"

#include "quoteserver/live/live_options.h"

#include <curl/curl.h>

namespace lark::sim {
namespace {

// No reply of these services comes near this; a larger one is not theirs.
constexpr size_t kLargestBody = 8 * 1024 * 1024;

struct Body
{
    std::string bytes;
    bool tooLong = false;
};

} // namespace

UpstreamClient::UpstreamClient(std::string base, std::string userAgent, const LiveTiming &timing,
                               RateLimiter &limiter)
    : m_base(std::move(base))
    , m_limiter(limiter)
    , m_health(timing.backoffFirst, timing.backoffLongest)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    m_easy = curl_easy_init();
    m_multi = curl_multi_init();
    if (!m_easy || !m_multi)
        return;
    const long stallSeconds
        = std::max<long>(1, std::chrono::duration_cast<std::chrono::seconds>(timing.stall).count());
    curl_easy_setopt(m_easy, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy, CURLOPT_TCP_NODELAY, 1L);
    curl_easy_setopt(m_easy, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, long(timing.connect.count()));
    curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &UpstreamClient::onWrite);
}

UpstreamClient::~UpstreamClient()
{
    if (m_easy)
        curl_easy_cleanup(m_easy);
    if (m_multi)
        curl_multi_cleanup(m_multi);
    curl_global_cleanup();
}

void UpstreamClient::abort()
{
    m_aborted = true;
    if (m_multi)
        curl_multi_wakeup(m_multi);
}

size_t UpstreamClient::onWrite(char *data, size_t size, size_t count, void *userdata)
{
    auto &body = *static_cast<Body *>(userdata);
    const size_t n = size * count;
    if (body.bytes.size() + n > kLargestBody) {
        body.tooLong = true;
        return 0;
    }
    body.bytes.append(data, n);
    return n;
}

std::optional<std::string> UpstreamClient::get(std::string_view target,
                                               std::chrono::milliseconds deadline)
{
    if (!m_easy || !m_multi || m_aborted || !m_limiter.acquire())
        return std::nullopt;
    Body body;
    const std::string url = m_base + std::string(target);
    curl_easy_setopt(m_easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(m_easy, CURLOPT_TIMEOUT_MS, long(deadline.count()));
    if (curl_multi_add_handle(m_multi, m_easy) != CURLM_OK)
        return std::nullopt;
    int running = 1;
    while (running && !m_aborted) {
        if (curl_multi_perform(m_multi, &running) != CURLM_OK)
            break;
        if (running)
            curl_multi_poll(m_multi, nullptr, 0, 1000, nullptr);
    }
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    int queued = 0;
    while (CURLMsg *message = curl_multi_info_read(m_multi, &queued)) {
        if (message->msg == CURLMSG_DONE)
            result = message->data.result;
    }
    long status = 0;
    curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &status);
    curl_multi_remove_handle(m_multi, m_easy);
    if (m_aborted || result != CURLE_OK || status != 200 || body.tooLong)
        return std::nullopt;
    return std::move(body.bytes);
}

} // namespace lark::sim
