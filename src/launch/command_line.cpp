#include "launch/command_line.h"

#include "base/terminal_text.h"
#include "base/xdg_home.h"

#include <algorithm>
#include <stdexcept>

namespace lark {
namespace {

bool takeAddress(const std::string &text, std::optional<ServerAddress> &into, std::string &error,
                 const std::string &what)
{
    into = parseServerAddress(text);
    if (!into)
        error = what + ": '" + text
            + "' is not HOST[:PORT] (a DNS name, an IPv4 address or an [IPv6] address; "
              "port 1-65535)";
    return into.has_value();
}

CommandLineResult parsed(const std::vector<std::string> &arguments,
                         const std::function<const char *(const char *)> &environment)
{
    CommandLineResult result;
    CommandLine &o = result.options;
    struct AddressOption
    {
        const char *flag;
        const char *variable;
        std::optional<ServerAddress> *into;
    };
    const AddressOption addresses[] = {{"--quote-server", "LARK_QUOTE_SERVER", &o.quoteServer},
                                       {"--chart-server", "LARK_CHART_SERVER", &o.chartServer},
                                       {"--web-site", "LARK_WEB_SITE", &o.webSite}};
    for (const AddressOption &a : addresses) {
        const char *value = environment(a.variable);
        if (value && *value && !takeAddress(value, *a.into, result.error, a.variable))
            return result;
    }
    o.registry = absolutePathFrom(environment, "LARK_REGISTRY");
    if (result.error = quoteserver::applyMarketEnvironment(environment, o.market);
        !result.error.empty())
        return result;

    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &arg = arguments[i];
        auto next = [&](std::string &value) {
            if (i + 1 >= arguments.size()) {
                result.error = arg + " needs a value";
                return false;
            }
            value = arguments[++i];
            return true;
        };
        std::string value;
        if (arg == "--console") {
            o.console = true;
        } else if (arg == "--once") {
            o.once = true;
        } else if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--version") {
            o.version = true;
        } else if (arg == "--autostart") {
            if (!next(value))
                return result;
            if (value != "on" && value != "off") {
                result.error = "--autostart takes on or off, not '" + value + "'";
                return result;
            }
            o.autostart = value == "on";
        } else if (arg == "--find") {
            if (!next(value))
                return result;
            o.find = value;
        } else if (arg == "--registry") {
            if (!next(value))
                return result;
            if (value.empty()) {
                result.error = "--registry needs a folder";
                return result;
            }
            o.registry = value;
        } else if (auto a = std::find_if(std::begin(addresses), std::end(addresses),
                                         [&](const AddressOption &a) { return arg == a.flag; });
                   a != std::end(addresses)) {
            if (!next(value) || !takeAddress(value, *a->into, result.error, arg))
                return result;
        } else if (quoteserver::isMarketOption(arg)) {
            if (!next(value)
                || !(result.error = quoteserver::applyMarketOption(arg, value, o.market)).empty())
                return result;
        } else if (arg.starts_with("--")) {
            result.error = "unknown option " + arg;
            return result;
        } else {
            o.passThrough.push_back(arg);
        }
    }
    if (o.once && !o.console)
        o.console = true;
    return result;
}

} // namespace

CommandLineResult parseCommandLine(const std::vector<std::string> &arguments,
                                   const std::function<const char *(const char *)> &environment)
{
    CommandLineResult result = parsed(arguments, environment);
    // Values are echoed in errors: the message stays one line, with no terminal control.
    result.error = terminalText(result.error);
    return result;
}

const char *commandLineHelp()
{
    static const std::string help
        = std::string(
              "Usage: lark [options]\n"
              "Lark watches up to 16 stocks of the Shanghai and Shenzhen markets and raises "
              "alarms.\n"
              "\n"
              "  --console              run the text front end instead of the window\n"
              "  --once                 (text front end) one refresh pass, print the rows, exit\n"
              "  --quote-server HOST[:PORT]  quote server (port 80 when omitted)\n"
              "  --chart-server HOST[:PORT]  server of the chart pages (default: quote server)\n"
              "  --web-site HOST[:PORT]      the maker's web site (default: quote server)\n"
              "  --registry DIR         settings root (default $XDG_CONFIG_HOME/lark/registry)\n"
              "  --autostart on|off     start Lark at login with the other options given, or no\n"
              "                         longer ($XDG_CONFIG_HOME/autostart/lark.desktop)\n"
              "  --find TEXT            print the stocks, indices and funds whose code, name or\n"
              "                         pinyin (initials or full) TEXT matches, best first, at\n"
              "                         most 20, tab-separated: code, name, market, kind;\n"
              "                         exit status 1 when none does\n"
              "  --help                 this text\n"
              "  --version              the program's version\n")
        + quoteserver::marketOptionsHelp()
        + "\n"
          "Environment: LARK_QUOTE_SERVER, LARK_CHART_SERVER, LARK_WEB_SITE, LARK_REGISTRY,\n"
          "LARK_MARKET and LARK_<SERVICE>_UPSTREAM (QUOTES, HISTORY, LISTS, MINUTES,\n"
          "FALLBACK_QUOTES, FALLBACK_LISTS) mean the same as the options; options win.\n"
          "Settings folders from the environment count only when absolute. One Lark runs\n"
          "per settings folder.\n"
          "With no quote server given, Lark starts its built-in quote server on a free\n"
          "loopback port and uses it for quotes, charts and web pages: on the simulated\n"
          "market (the default) or, with --market live, on the real one. The real market's\n"
          "figures are for personal, non-commercial use.\n";
    return help.c_str();
}

std::optional<std::filesystem::path>
configHome(const std::function<const char *(const char *)> &environment)
{
    return xdgHome(environment, "XDG_CONFIG_HOME", ".config");
}

std::filesystem::path settingsRoot(const CommandLine &options,
                                   const std::function<const char *(const char *)> &environment)
{
    if (options.registry)
        return *options.registry;
    if (auto config = configHome(environment))
        return *config / "lark" / "registry";
    throw std::runtime_error("no folder for the settings: HOME is not set; give one with "
                             "--registry DIR");
}

} // namespace lark
