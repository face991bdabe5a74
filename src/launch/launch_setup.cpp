#include "launch/launch_setup.h"

#include "base/c_format.h"
#include "launch/instance_lock.h"
#include "launch/registry_settings.h"
#include "quoteserver/market_options.h"
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
    chooseQuoteServer(options, environment, setup);
    return setup;
}

void chooseQuoteServer(const CommandLine &options,
                       const std::function<const char *(const char *)> &environment,
                       LaunchSetup &setup)
{
    if (options.quoteServer) {
        setup.quoteServer = *options.quoteServer;
    } else {
        setup.live = options.market.live;
        // A desktop program's worth of threads: the simulated market answers on the thread that
        // waits on the connections, the live one, which waits on the public services, on one
        // of its own. No control interface: any local program or web page could reach it. Only
        // this user's programs (Lark, the browser showing its pages) are answered.
        auto live = quoteserver::liveOptions(options.market, environment);
        const size_t workers = live ? 1 : 0;
        setup.builtInServer
            = std::make_unique<quoteserver::QuoteServer>(quoteserver::QuoteServerOptions {
                .live = std::move(live), .workers = workers, .ownUserOnly = true});
        setup.quoteServer = {"127.0.0.1", setup.builtInServer->start()};
    }
    setup.chartServer = options.chartServer.value_or(setup.quoteServer);
    setup.webSite = options.webSite.value_or(setup.quoteServer);
}

std::string LaunchSetup::marketText() const
{
    if (!builtInServer)
        return {};
    if (!live)
        return "模拟行情";
    const quoteserver::MarketStatus status = builtInServer->marketStatus();
    // Closed, the services are asked once a minute at most and the rows keep the day's figures.
    if (status.closed)
        return "实时行情: 休市";
    const auto since = status.failingSince;
    if (!since)
        return "实时行情";
    std::tm local {}, today {};
    const std::time_t now = std::time(nullptr);
    localtime_r(&*since, &local);
    localtime_r(&now, &today);
    const std::string day = local.tm_yday == today.tm_yday && local.tm_year == today.tm_year
        ? std::string()
        : cformat("%02d-%02d ", local.tm_mon + 1, local.tm_mday);
    return cformat("实时行情: 自 %s%02d:%02d:%02d 起取不到行情, 恢复后自动更新", day.c_str(),
                   local.tm_hour, local.tm_min, local.tm_sec);
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
