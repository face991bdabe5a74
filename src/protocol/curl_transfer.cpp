#include "protocol/curl_transfer.h"

#include <algorithm>
#include <curl/curl.h>
#include <mutex>

namespace lark {
namespace {

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Receiver
{
    const std::function<bool(std::string_view)> &onData;
    bool cut = false;
};

} // namespace

CurlTransfer::CurlTransfer(const std::string &userAgent, Limits limits)
{
    initCurlOnce();
    m_easy = curl_easy_init();
    m_multi = curl_multi_init();
    if (!ready())
        return;
    curl_easy_setopt(m_easy, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy, CURLOPT_TCP_NODELAY, 1L);
    curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connect.count()));
    curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_TIME, std::max(1L, long(limits.stalled.count())));
    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &CurlTransfer::onWrite);
}

CurlTransfer::~CurlTransfer()
{
    if (m_easy)
        curl_easy_cleanup(m_easy);
    if (m_multi)
        curl_multi_cleanup(m_multi);
}

void CurlTransfer::abort()
{
    m_aborted = true;
    if (m_multi)
        curl_multi_wakeup(m_multi);
}

size_t CurlTransfer::onWrite(char *data, size_t size, size_t count, void *userdata)
{
    auto &receiver = *static_cast<Receiver *>(userdata);
    const size_t n = size * count;
    if (!receiver.onData(std::string_view(data, n))) {
        receiver.cut = true;
        return 0;
    }
    return n;
}

CurlTransfer::Outcome CurlTransfer::get(const std::string &url, std::chrono::milliseconds deadline,
                                        const std::function<bool(std::string_view)> &onData)
{
    Outcome outcome;
    if (!ready() || m_aborted || deadline.count() <= 0)
        return outcome;
    Receiver receiver {onData};
    curl_easy_setopt(m_easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(m_easy, CURLOPT_TIMEOUT_MS, long(deadline.count()));
    curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, &receiver);
    if (curl_multi_add_handle(m_multi, m_easy) != CURLM_OK)
        return outcome;
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
    curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &outcome.status);
    curl_easy_getinfo(m_easy, CURLINFO_NUM_CONNECTS, &outcome.connects);
    curl_multi_remove_handle(m_multi, m_easy);
    if (m_aborted)
        outcome.ending = Ending::Aborted;
    else if (result == CURLE_OK)
        outcome.ending = Ending::Done;
    else if (result == CURLE_WRITE_ERROR && receiver.cut)
        outcome.ending = Ending::Cut;
    return outcome;
}

} // namespace lark
