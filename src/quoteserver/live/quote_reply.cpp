#include "quoteserver/live/quote_reply.h"

#include "base/gbk.h"
#include "base/whole_number.h"
#include "quoteserver/live/decimal_text.h"
#include "quoteserver/model_time.h"

#include <algorithm>

namespace lark::quoteserver {
namespace {

bool validKey(std::string_view key)
{
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

std::string_view trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::optional<QuoteStatement> statementOf(std::string_view line, std::string_view prefix, bool last)
{
    if (!line.starts_with(prefix))
        return std::nullopt;
    line.remove_prefix(prefix.size());
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || !validKey(line.substr(0, equals)))
        return std::nullopt;
    std::string_view value = line.substr(equals + 1);
    if (value.size() >= 3 && value.front() == '"' && value.ends_with("\";")) {
        value = value.substr(1, value.size() - 3);
    } else if (last) {
        if (value.starts_with('"'))
            value.remove_prefix(1);
        if (value.ends_with(';'))
            value.remove_suffix(1);
        if (value.ends_with('"'))
            value.remove_suffix(1);
    } else {
        return std::nullopt;
    }
    if (value.find('"') != std::string_view::npos)
        return std::nullopt;
    return QuoteStatement {line.substr(0, equals), value};
}

std::string digitsOnly(std::string_view text, char separator)
{
    std::string digits(text);
    std::erase(digits, separator);
    return digits;
}

bool readBook(const QuoteTexts &t, Quote &q)
{
    int32_t *const prices[]
        = {&q.bid1Price, &q.bid2Price, &q.bid3Price, &q.ask1Price, &q.ask2Price, &q.ask3Price};
    int32_t *const volumes[] = {&q.bid1Volume, &q.bid2Volume, &q.bid3Volume,
                                &q.ask1Volume, &q.ask2Volume, &q.ask3Volume};
    for (size_t i = 0; i < 6; ++i) {
        const auto price = priceFieldOf(i < 3 ? t.bidPrices[i] : t.askPrices[i - 3]);
        const auto volume
            = countFieldOf(i < 3 ? t.bidVolumes[i] : t.askVolumes[i - 3], t.sharesPerUnit);
        if (!price || !volume)
            return false;
        *prices[i] = *price;
        *volumes[i] = *volume;
    }
    return true;
}

} // namespace

QuoteTexts quoteTextsAt(const std::vector<std::string_view> &f, const QuoteLayout &at)
{
    QuoteTexts t;
    t.nameUtf8 = gb18030ToUtf8(f[at.name]);
    t.last = f[at.last];
    t.previousClose = f[at.previousClose];
    t.open = f[at.open];
    t.high = f[at.high];
    t.low = f[at.low];
    t.volume = f[at.volume];
    const size_t price = at.volumeBeforePrice ? 1 : 0, volume = 1 - price;
    for (size_t level = 0; level < 3; ++level) {
        t.bidPrices[level] = f[at.bid1 + 2 * level + price];
        t.bidVolumes[level] = f[at.bid1 + 2 * level + volume];
        t.askPrices[level] = f[at.ask1 + 2 * level + price];
        t.askVolumes[level] = f[at.ask1 + 2 * level + volume];
    }
    return t;
}

std::string symbolList(const std::vector<Instrument> &symbols)
{
    std::string list;
    for (const Instrument &s : symbols)
        list += (list.empty() ? "" : ",") + quoteSymbol(s);
    return list;
}

std::optional<std::vector<QuoteStatement>> quoteStatements(std::string_view text,
                                                           std::string_view prefix)
{
    std::vector<std::string_view> lines;
    for (std::string_view line : splitKeepingEmpty(text, '\n')) {
        if (!trimmed(line).empty())
            lines.push_back(trimmed(line));
    }
    std::vector<QuoteStatement> statements;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto statement = statementOf(lines[i], prefix, i + 1 == lines.size());
        if (!statement)
            return std::nullopt;
        statements.push_back(*statement);
    }
    if (statements.empty())
        return std::nullopt;
    return statements;
}

double sessionMinuteOf(int hhmmss)
{
    const int second = hhmmss / 10000 * 3600 + hhmmss / 100 % 100 * 60 + hhmmss % 100;
    return tradedSeconds(second) / 60.0;
}

std::optional<double> sessionMinuteOfText(std::string_view hhmmss)
{
    const auto clock = hhmmss.size() == 6 ? wholeNumber<uint32_t>(hhmmss) : std::nullopt;
    if (!clock || *clock >= 240000 || *clock / 100 % 100 >= 60 || *clock % 100 >= 60)
        return std::nullopt;
    return sessionMinuteOf(static_cast<int>(*clock));
}

Answer<LiveQuote> liveQuoteOf(const QuoteTexts &t)
{
    LiveQuote line;
    Quote &q = line.quote;
    const auto last = priceFieldOf(t.last), previousClose = priceFieldOf(t.previousClose),
               open = priceFieldOf(t.open), high = priceFieldOf(t.high), low = priceFieldOf(t.low);
    const auto volume = countFieldOf(t.volume, t.sharesPerUnit), amount = countFieldOf(t.amount, 1);
    const std::string date = digitsOnly(t.date, '-');
    const auto minute = sessionMinuteOfText(digitsOnly(t.time, ':'));
    if (!last || !previousClose || *previousClose <= 0 || !open || !high || !low || !volume
        || !amount || !dayFromDateText(date) || !minute || !readBook(t, q))
        return Answer<LiveQuote>::failed();
    const bool traded = !t.suspended && *volume != 0 && *last > 0;
    q.nameGbk = protocolNameFromUtf8(t.nameUtf8);
    q.previousClose = *previousClose;
    q.last = traded ? *last : *previousClose;
    q.open = *open;
    q.high = *high;
    q.low = *low;
    q.volume = t.suspended ? 0 : *volume;
    q.amount = t.suspended ? 0 : *amount;
    line.date = *wholeNumber<int32_t>(date);
    line.sessionMinute = *minute;
    return Answer<LiveQuote>::of(std::move(line));
}

} // namespace lark::quoteserver
