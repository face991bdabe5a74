#include "quoteserver/control_api.h"

#include "base/whole_number.h"
#include "quoteserver/quote_server.h"

#include <optional>
#include <stdexcept>

namespace lark::quoteserver {
namespace {

using Params = std::multimap<std::string, std::string>;

ControlAnswer bad(std::string reason)
{
    return {400, std::move(reason)};
}

std::optional<std::string> param(const Params &params, const std::string &key)
{
    auto it = params.find(key);
    return it == params.end() ? std::nullopt : std::optional(it->second);
}

ControlAnswer pin(QuoteServer &server, const Params &params)
{
    const auto code = param(params, "code");
    if (!code)
        return bad("pin needs code");
    PinnedQuote figures;
    for (const auto &[key, value] : params) {
        if (key == "code")
            continue;
        if (key == "name") {
            figures.name = value;
            continue;
        }
        const PinField *field = nullptr;
        for (const PinField &f : pinFields())
            field = key == f.key ? &f : field;
        if (!field)
            return bad("unknown field " + key);
        const auto n = wholeNumber<int32_t>(value);
        if (!n)
            return bad("bad value for " + key);
        figures.*field->pinned = *n;
    }
    server.pin(*code, figures);
    return {};
}

// Reads an optional numeric argument into target; false when it is there but no number.
template<typename T>
bool readNumber(const Params &params, const char *key, T &target)
{
    const auto text = param(params, key);
    if (!text)
        return true;
    const auto n = wholeNumber<T>(*text);
    if (n)
        target = *n;
    return n.has_value();
}

ControlAnswer fault(QuoteServer &server, const Params &params)
{
    static const std::map<std::string, FaultKind> kinds {{"delay", FaultKind::Delay},
                                                         {"length", FaultKind::WrongLength},
                                                         {"http", FaultKind::HttpError},
                                                         {"drop", FaultKind::Drop}};
    const auto kind = kinds.find(param(params, "kind").value_or(""));
    if (kind == kinds.end())
        return bad("kind must be delay, length, http or drop");
    Fault f;
    f.kind = kind->second;
    f.pathContains = param(params, "path").value_or("");
    if (!readNumber(params, "ms", f.delayMs) || !readNumber(params, "status", f.status)
        || !readNumber(params, "count", f.count) || !readNumber(params, "length", f.length))
        return bad("ms, status, count and length must be numbers");
    server.injectFault(f);
    return {};
}

ControlAnswer unpin(QuoteServer &server, const Params &params)
{
    if (const auto code = param(params, "code"))
        server.unpin(*code);
    else
        server.unpinAll();
    return {};
}

ControlAnswer clear(QuoteServer &server, const Params &)
{
    server.clearFaults();
    return {};
}

ControlAnswer version(QuoteServer &server, const Params &params)
{
    const auto text = param(params, "text");
    if (!text)
        return bad("version needs text");
    server.setVersionText(*text);
    return {};
}

ControlAnswer freeze(QuoteServer &server, const Params &params)
{
    const auto t = wholeNumber<int64_t>(param(params, "time").value_or(""));
    if (!t)
        return bad("freeze needs time in unix seconds");
    server.freezeClock(static_cast<std::time_t>(*t));
    return {};
}

ControlAnswer unfreeze(QuoteServer &server, const Params &)
{
    server.unfreezeClock();
    return {};
}

ControlAnswer requests(QuoteServer &server, const Params &params)
{
    return {200, std::to_string(server.requestCount(param(params, "path").value_or("")))};
}

ControlAnswer dispatch(QuoteServer &server, std::string_view command, const Params &params)
{
    using Command = ControlAnswer (*)(QuoteServer &, const Params &);
    static const std::map<std::string_view, Command> commands {
        {"pin", pin},         {"unpin", unpin},   {"fault", fault},       {"clear", clear},
        {"version", version}, {"freeze", freeze}, {"unfreeze", unfreeze}, {"requests", requests}};
    const auto it = commands.find(command);
    if (it == commands.end())
        return {404, "unknown control command"};
    return it->second(server, params);
}

} // namespace

ControlAnswer handleControl(QuoteServer &server, std::string_view command, const Params &params)
{
    try {
        return dispatch(server, command, params);
    } catch (const std::invalid_argument &e) {
        return bad(e.what());
    }
}

const char *controlUsage()
{
    return "Control interface (only with --control or --control-token): POST on the same port\n"
           "with the header \"X-Control-Token: TOKEN\", key=value arguments in the target;\n"
           "answers \"ok\", or 400 with the reason for a bad or out-of-range value (403: no or a\n"
           "wrong token, 405: not a POST). Never subject to faults. With curl:\n"
           "  curl -sf -X POST -H \"X-Control-Token: $token\" \"http://$address/control/clear\"\n"
           "  /control/pin?code=C&FIELD=V...  pin figures of stock C until unpinned; FIELD is\n"
           "      name (UTF-8, at most 8 GBK bytes) or one of previousClose open high low last\n"
           "      volume amount bid1Price..bid3Price bid1Volume..bid3Volume ask1Price..ask3Price\n"
           "      ask1Volume..ask3Volume (prices in thousandths of a yuan). Replaces an earlier\n"
           "      pin of C.\n"
           "  /control/unpin[?code=C]          drop the pin of C, or all pins\n"
           "  /control/fault?kind=K[&path=P][&ms=N][&length=N][&status=N][&count=N]\n"
           "      K: delay (wait ms, then answer), length (answer exactly length bytes),\n"
           "      http (HTML error page with status 400-599, default 500), drop (send the\n"
           "      headers, then close the connection before the body). Applies to requests\n"
           "      whose target contains P (default: all), count times (default -1: until\n"
           "      cleared).\n"
           "  /control/clear                    remove all faults\n"
           "  /control/version?text=T           body of /stksrv_curve/version.txt\n"
           "  /control/freeze?time=T            fix the model clock at unix time T (1970-2099)\n"
           "  /control/unfreeze                 back to the wall clock\n"
           "  /control/requests[?path=P]        number of requests seen whose target contains P\n";
}

} // namespace lark::quoteserver
