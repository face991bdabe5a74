#pragma once

#include "engine/engine.h"
#include "launch/command_line.h"
#include "protocol/server_address.h"

#include <filesystem>
#include <memory>
#include <string>

namespace lark {
class InstanceLock;
class RegistrySettings;
namespace quoteserver {
class QuoteServer;
}

// Where quotes, charts, web pages and settings come from for this run.
struct LaunchSetup
{
    ServerAddress quoteServer;
    ServerAddress chartServer;
    ServerAddress webSite;
    std::filesystem::path registryRoot;
    std::unique_ptr<InstanceLock> instance; // this run's hold on the settings root
    std::unique_ptr<quoteserver::QuoteServer> builtInServer; // set when no quote server was given
    bool live = false; // the built-in server serves the real market

    LaunchSetup();
    ~LaunchSetup();
    LaunchSetup(LaunchSetup &&) noexcept;
    bool simulated() const { return builtInServer && !live; }
    // "模拟行情" or "实时行情", saying since when the real market has not answered while it
    // does not; "" when the figures come from a quote server given on the command line.
    std::string marketText() const;
};

// Takes the settings root for this run, then the quote server as chooseQuoteServer does.
// Throws std::runtime_error when no settings root can be found, when another Lark holds the
// root and when the built-in server cannot start.
LaunchSetup prepareLaunch(const CommandLine &options,
                          const std::function<const char *(const char *)> &environment);

// The quote server given or, with none given, the built-in one (simulated or live, as chosen)
// started on a free loopback port; all three addresses point at it unless given. Throws
// std::runtime_error when it cannot start.
void chooseQuoteServer(const CommandLine &options,
                       const std::function<const char *(const char *)> &environment,
                       LaunchSetup &setup);

// The engine's addresses and settings for this run, at the interface size they hold.
EngineConfig engineConfig(const LaunchSetup &setup, RegistrySettings &settings);

} // namespace lark
