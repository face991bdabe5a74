#pragma once

#include "engine/engine.h"
#include "launch/registry_settings.h"
#include "protocol/query_paths.h"
#include "quoteserver/quote_server.h"
#include "support/recording_ports.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace lark::test {

// A market simulator on loopback, a scratch settings tree and an engine writing into
// recording ports, with pauses short enough for tests.
struct EngineFixture : ::testing::Test
{
    quoteserver::QuoteServer server;
    std::filesystem::path root = std::filesystem::temp_directory_path()
        / ("lark-engine-" + std::to_string(::getpid()) + "-"
           + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    RegistrySettings settings {root};
    RecordingList list;
    RecordingDesktop desktop;
    EngineConfig config;
    std::unique_ptr<Engine> engine;

    void SetUp() override
    {
        std::filesystem::remove_all(root);
        server.freezeClock(1'700'000'000);
        config.quoteServer = config.chartServer = config.webSite = {"127.0.0.1", server.start()};
        config.pauseUnit = std::chrono::milliseconds(10);
        config.flashPhase = std::chrono::milliseconds(5);
        config.timeouts.stalled = std::chrono::seconds(2);
        config.settings = &settings;
        config.clock = [] {
            std::tm t {};
            t.tm_year = 124;
            t.tm_mon = 2;
            t.tm_mday = 5;
            t.tm_hour = 10;
            return t;
        };
    }

    void TearDown() override
    {
        engine.reset();
        std::filesystem::remove_all(root);
    }

    // Stores values under SOFTWARE/halvern/tamberly before the engine starts.
    void storeValue(const std::string &name, const std::string &text)
    {
        std::filesystem::create_directories(root / "SOFTWARE" / "halvern" / "tamberly");
        Registry(root).set(root / "SOFTWARE" / "halvern" / "tamberly", name, text);
    }

    Engine &startEngine()
    {
        engine = std::make_unique<Engine>(config, list, desktop);
        engine->start();
        return *engine;
    }

    bool waitForRows(size_t rows)
    {
        return list.waitFor([&] {
            auto all = list.rows();
            if (all.size() < rows)
                return false;
            for (size_t r = 0; r < rows; ++r)
                if (all[r].size() < 2)
                    return false;
            return true;
        });
    }

    uint64_t quoteRequests() const { return server.requestCount("GetStkOneHQWithName"); }
    uint64_t quoteAsked(const std::string &code) const
    {
        return server.requestCount(quotePath(code));
    }
};

} // namespace lark::test
