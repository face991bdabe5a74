#include "launch/launch_setup.h"

#include "launch/instance_lock.h"
#include "launch/registry_settings.h"
#include "quoteserver/quote_server.h"

#include <stdexcept>

namespace lark {

LaunchSetup::LaunchSetup() = default;
LaunchSetup::~LaunchSetup() = default;
LaunchSetup::LaunchSetup(LaunchSetup &&) noexcept = default;

LaunchSetup prepareLaunch(const CommandLine &options,
                          const std::function<const char *(const char *)> &environment)
{
    LaunchSetup setup;
    setup.registryRoot = settingsRoot(options, environment);
    // Before anything else starts: a second Lark on the same root changes nothing.
    setup.instance = std::make_unique<InstanceLock>(setup.registryRoot);
    if (setup.instance->heldElsewhere())
        throw std::runtime_error("Lark is already running with the settings in "
                                 + setup.registryRoot.string());
    if (options.quoteServer) {
        setup.quoteServer = *options.quoteServer;
    } else {
        // One thread answers: a desktop program's worth. No control interface: any local
        // program or web page could reach it.
        setup.simulator
            = std::make_unique<sim::QuoteServer>(sim::QuoteServerOptions {.workers = 1});
        setup.quoteServer = {"127.0.0.1", setup.simulator->start()};
    }
    setup.chartServer = options.chartServer.value_or(setup.quoteServer);
    setup.webSite = options.webSite.value_or(setup.quoteServer);
    return setup;
}

EngineConfig engineConfig(const LaunchSetup &setup, RegistrySettings &settings)
{
    EngineConfig config;
    config.quoteServer = setup.quoteServer;
    config.chartServer = setup.chartServer;
    config.webSite = setup.webSite;
    config.interfaceSize = settings.readInterfaceSize();
    config.settings = &settings;
    return config;
}

} // namespace lark
