#include "protocol/instrument.h"

#include <algorithm>

namespace lark {
namespace {

constexpr std::string_view kShanghaiIndexPrefix = "1A";

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

struct CodeRule
{
    std::string_view prefix;
    Exchange exchange;
    InstrumentKind kind;
};

// Longest prefixes first where they overlap (399 before 3, 900 before 9).
constexpr CodeRule kRules[] = {
    {"399", Exchange::Shenzhen, InstrumentKind::Index},
    {"900", Exchange::Shanghai, InstrumentKind::BShare},
    {"200", Exchange::Shenzhen, InstrumentKind::BShare},
    {"60", Exchange::Shanghai, InstrumentKind::Stock},
    {"68", Exchange::Shanghai, InstrumentKind::Stock},
    {"5", Exchange::Shanghai, InstrumentKind::Fund},
    {"11", Exchange::Shanghai, InstrumentKind::Bond},
    {"00", Exchange::Shenzhen, InstrumentKind::Stock},
    {"30", Exchange::Shenzhen, InstrumentKind::Stock},
    {"15", Exchange::Shenzhen, InstrumentKind::Fund},
    {"16", Exchange::Shenzhen, InstrumentKind::Fund},
    {"18", Exchange::Shenzhen, InstrumentKind::Fund},
    {"12", Exchange::Shenzhen, InstrumentKind::Bond},
    {"92", Exchange::Beijing, InstrumentKind::Stock},
};

} // namespace

std::optional<Instrument> instrumentOf(std::string_view code)
{
    if (code.size() == 6 && code.starts_with(kShanghaiIndexPrefix) && allDigits(code.substr(2)))
        return Instrument {Exchange::Shanghai, InstrumentKind::Index,
                           "00" + std::string(code.substr(2))};
    if (!allDigits(code) || (code.size() != 4 && code.size() != 6))
        return std::nullopt;
    const std::string digits = code.size() == 4 ? "00" + std::string(code) : std::string(code);
    for (const CodeRule &rule : kRules) {
        if (digits.starts_with(rule.prefix)) {
            const bool star = digits.starts_with("688") || digits.starts_with("689");
            return Instrument {rule.exchange, rule.kind, digits, star};
        }
    }
    return std::nullopt;
}

std::string userCode(const Instrument &instrument)
{
    if (instrument.exchange == Exchange::Shanghai && instrument.kind == InstrumentKind::Index)
        return std::string(kShanghaiIndexPrefix) + instrument.code.substr(2);
    return instrument.code;
}

int priceDecimals(std::string_view code)
{
    const auto instrument = instrumentOf(code);
    const bool thousandths = instrument
        && (instrument->kind == InstrumentKind::Fund || instrument->kind == InstrumentKind::Bond);
    return thousandths ? 3 : 2;
}

const char *kindName(InstrumentKind kind)
{
    switch (kind) {
    case InstrumentKind::Stock:
        return "股票";
    case InstrumentKind::BShare:
        return "B股";
    case InstrumentKind::Fund:
        return "基金";
    case InstrumentKind::Bond:
        return "债券";
    case InstrumentKind::Index:
        return "指数";
    }
    return "";
}

const char *exchangeName(Exchange exchange)
{
    switch (exchange) {
    case Exchange::Shanghai:
        return "上海";
    case Exchange::Shenzhen:
        return "深圳";
    case Exchange::Beijing:
        return "北京";
    }
    return "";
}

} // namespace lark
