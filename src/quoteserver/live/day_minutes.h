#pragma once

#include "quoteserver/live/live_services.h"
#include "quoteserver/live/tencent_bars.h"

#include <chrono>
#include <map>
#include <mutex>
#include <vector>

namespace lark::quoteserver {

// The day's price path of a stock for the chart: the minutes service's points since the open,
// kept a minute, then what the quote batches saw after them. Any thread.
class DayMinutes
{
public:
    DayMinutes(UpstreamClient &service, const LiveOptions &options);

    // polled: the batches' points of the trading day date (YYYYMMDD); the service's points of
    // that day replace those they cover.
    std::vector<PathPoint> pathOf(const Instrument &instrument, int32_t date,
                                  const std::vector<PathPoint> &polled);

private:
    struct Kept
    {
        std::chrono::steady_clock::time_point fetched;
        MinuteDay minutes;
    };

    // The service's minutes, asked again once a minute; nothing while it does not answer.
    MinuteDay minutesOf(const Instrument &instrument);

    UpstreamClient &m_service;
    const LiveOptions &m_options;
    std::mutex m_mutex;
    std::map<Instrument, Kept> m_kept;
};

} // namespace lark::quoteserver
