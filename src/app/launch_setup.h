#pragma once

#include "command_line.h"
#include "engine.h"
#include "server_address.h"

#include <filesystem>
#include <memory>
#include <string>

namespace lark {
class SettingsStore;
namespace sim {
class QuoteServer;
}

// Where quotes, charts, web pages and settings come from for this run.
struct LaunchSetup
{
    ServerAddress quoteServer;
    ServerAddress chartServer;
    ServerAddress webSite;
    std::filesystem::path registryRoot;
    std::unique_ptr<sim::QuoteServer> simulator; // set when the figures are simulated

    LaunchSetup();
    ~LaunchSetup();
    LaunchSetup(LaunchSetup &&) noexcept;
    bool simulated() const { return simulator != nullptr; }
};

// With no quote server given, starts the built-in simulated one on a free loopback port and
// points all three addresses at it. Throws std::runtime_error when it cannot start.
LaunchSetup prepareLaunch(const CommandLine &options,
                          const std::function<const char *(const char *)> &environment);

// The engine's addresses and store for this run, at the interface size the store holds.
EngineConfig engineConfig(const LaunchSetup &setup, const SettingsStore &store);

} // namespace lark
