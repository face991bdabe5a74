#include "base/terminal_text.h"
#include "base/whole_number.h"
#include "quoteserver/control_api.h"
#include "quoteserver/market_options.h"
#include "quoteserver/quote_server.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

const char *const kUsage
    = "Usage: lark-quote-server [--listen HOST:PORT] [--seed N] [--exchange-hours]\n"
      "                         [--market live|simulated] [--*-upstream URL]\n"
      "                         [--control | --control-token TOKEN]\n"
      "Serves simulated or live quotes over HTTP until SIGINT or SIGTERM.\n"
      "  --listen HOST:PORT  address to listen on (default 127.0.0.1:0; port 0 = any free\n"
      "                      port). The first line printed is \"listening on HOST:PORT\".\n"
      "  --seed N            market model seed (default 1); same seed, same figures\n"
      "  --exchange-hours    prices move only 09:30-11:30 and 13:00-15:00 local time\n"
      "  --control           open the control interface below, with a random token; the\n"
      "                      second line printed is \"control token TOKEN\"\n"
      "  --control-token T   open it with the token T (at least 16 characters)\n"
      "  --help              this text\n"
      "  --version           the program's version\n";

constexpr size_t kShortestToken = 16;

std::string randomToken()
{
    std::random_device device;
    std::string token;
    for (int i = 0; i < 4; ++i) {
        char part[9];
        std::snprintf(part, sizeof part, "%08x", device());
        token += part;
    }
    return token;
}

bool parseListen(std::string_view text, lark::quoteserver::QuoteServerOptions &options)
{
    const size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0)
        return false;
    const auto port = lark::wholeNumber<int>(text.substr(colon + 1));
    if (!port || *port < 0 || *port > 65535)
        return false;
    options.host = std::string(text.substr(0, colon));
    options.port = *port;
    return true;
}

struct Request
{
    bool help = false;
    bool version = false;
};

// Returns an error message, or nothing when the arguments are good.
std::optional<std::string> parseArguments(int argc, char **argv,
                                          lark::quoteserver::QuoteServerOptions &options,
                                          lark::quoteserver::MarketChoice &market, Request &request)
{
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::string_view value;
        const bool takesValue = arg == "--listen" || arg == "--seed" || arg == "--control-token"
            || lark::quoteserver::isMarketOption(arg);
        if (takesValue) {
            if (i + 1 >= argc)
                return std::string(arg) + " needs a value";
            value = argv[++i];
        }
        if (arg == "--help" || arg == "-h") {
            request.help = true;
        } else if (arg == "--version") {
            request.version = true;
        } else if (arg == "--exchange-hours") {
            options.exchangeHours = true;
        } else if (arg == "--control") {
            options.controlToken = options.controlToken.value_or(randomToken());
        } else if (arg == "--control-token") {
            if (value.size() < kShortestToken)
                return "--control-token needs at least 16 characters";
            options.controlToken = std::string(value);
        } else if (arg == "--listen") {
            if (!parseListen(value, options))
                return "bad --listen address: " + std::string(value);
        } else if (lark::quoteserver::isMarketOption(arg)) {
            if (std::string error = lark::quoteserver::applyMarketOption(arg, value, market);
                !error.empty())
                return error;
        } else if (arg == "--seed") {
            const auto seed = lark::wholeNumber<uint64_t>(value);
            if (!seed)
                return "bad --seed: " + std::string(value);
            options.seed = *seed;
        } else {
            return "unknown argument: " + std::string(arg);
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv)
{
    lark::quoteserver::QuoteServerOptions options;
    lark::quoteserver::MarketChoice market;
    Request request;
    std::optional<std::string> error
        = lark::quoteserver::applyMarketEnvironment(std::getenv, market);
    if (error->empty())
        error = parseArguments(argc, argv, options, market, request);
    if (error) {
        // Arguments are echoed in errors: the message stays one line, with no terminal control.
        std::fprintf(stderr,
                     "lark-quote-server: %s\n"
                     "Try 'lark-quote-server --help' for more information.\n",
                     lark::terminalText(*error).c_str());
        return 2;
    }
    if (request.help) {
        std::printf("%s%s\n%s", kUsage, lark::quoteserver::marketOptionsHelp(),
                    lark::quoteserver::controlUsage());
        return 0;
    }
    if (request.version) {
        std::printf("lark-quote-server " LARK_VERSION "\n");
        return 0;
    }
    options.live = lark::quoteserver::liveOptions(market, std::getenv);
    // Blocked before any thread starts, so only sigwait below receives them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    lark::quoteserver::QuoteServer server(options);
    try {
        const int port = server.start();
        std::printf("listening on %s:%d\n", options.host.c_str(), port);
        if (options.controlToken)
            std::printf("control token %s\n", options.controlToken->c_str());
        std::fflush(stdout);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "lark-quote-server: %s\n", e.what());
        return 1;
    }
    int signal = 0;
    sigwait(&signals, &signal);
    server.stop();
    return 0;
}
