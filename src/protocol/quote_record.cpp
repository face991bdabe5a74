#include "protocol/quote_record.h"

#include "base/gbk.h"
#include "protocol/query_paths.h"
#include "protocol/quote_session.h"
#include "protocol/wire_format.h"

namespace lark {

QuoteRecord QuoteRecord::decode(std::string_view reply)
{
    QuoteRecord r;
    static_cast<QuoteFigures &>(r) = wire::readFigures(reply, wire::kQuoteFiguresOffset);
    r.name = gbkToUtf8(untilNul(reply.substr(wire::kQuoteNameOffset, wire::kNameSize)));
    return r;
}

QuoteOutcome fetchQuote(QuoteSession &session, std::string_view code, QuoteRecord &record)
{
    auto reply = session.query(quotePath(code), wire::kQuoteReadLimit);
    if (!reply)
        return QuoteOutcome::Failed;
    if (reply->size() != wire::kQuoteSize)
        return QuoteOutcome::Rejected;
    record = QuoteRecord::decode(*reply);
    return QuoteOutcome::Valid;
}

float changePercent(int32_t last, int32_t previousClose)
{
    if (previousClose == 0)
        return 0.0f;
    return static_cast<float>(double(int64_t(last) - previousClose) / previousClose * 100.0);
}

double changeYuan(int32_t last, int32_t previousClose)
{
    return double(int64_t(last) - previousClose) / 1000.0;
}

} // namespace lark
