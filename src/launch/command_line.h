#pragma once

#include "protocol/server_address.h"
#include "quoteserver/market_options.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lark {

struct CommandLine
{
    bool console = false;
    bool once = false;
    bool help = false;
    bool version = false;
    std::optional<bool> autostart; // --autostart on|off: switch the login entry, then end
    std::optional<std::string> find; // --find TEXT: print the instruments it matches, then end
    std::optional<ServerAddress> quoteServer;
    std::optional<ServerAddress> chartServer;
    std::optional<ServerAddress> webSite;
    std::optional<std::filesystem::path> registry;
    quoteserver::MarketChoice market; // of the built-in quote server
    std::vector<std::string> passThrough; // options left for the toolkit
};

struct CommandLineResult
{
    CommandLine options;
    std::string error; // empty when the arguments were understood
};

// Options first, then LARK_QUOTE_SERVER, LARK_CHART_SERVER, LARK_WEB_SITE, LARK_REGISTRY (only
// when absolute), LARK_MARKET and LARK_*_UPSTREAM. An error is one line naming the option or
// variable.
CommandLineResult parseCommandLine(const std::vector<std::string> &arguments,
                                   const std::function<const char *(const char *)> &environment);

const char *commandLineHelp();

// xdgHome for XDG_CONFIG_HOME: $XDG_CONFIG_HOME, else ~/.config, with the account's home when
// HOME is unset; variables that are not absolute paths are ignored. Nothing without a home.
std::optional<std::filesystem::path>
configHome(const std::function<const char *(const char *)> &environment);

// --registry or LARK_REGISTRY, else configHome()/lark/registry; throws std::runtime_error when
// there is none.
std::filesystem::path settingsRoot(const CommandLine &options,
                                   const std::function<const char *(const char *)> &environment);

} // namespace lark
