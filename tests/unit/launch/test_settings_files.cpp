// Settings files a hostile process or bad luck left behind: things that are not values in a
// value's place, values that cannot be read, planted links, stale temporaries, numbers too big
// for their field.
#include "launch/registry_settings.h"

#include <cfloat>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace lark;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

struct SettingsFiles : ::testing::Test
{
    fs::path root = fs::temp_directory_path()
        / ("lark-files-" + std::to_string(::getpid()) + "-"
           + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::path product = root / "SOFTWARE" / "halvern" / "tamberly";
    RegistrySettings settings {root};
    WatchTables tables;
    std::string version;

    void SetUp() override
    {
        fs::remove_all(root);
        fs::create_directories(product);
        tables.resetForStart();
    }
    void TearDown() override
    {
        fs::permissions(product, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root);
    }

    void store(const std::string &name, const std::string &text) const
    {
        std::ofstream(product / name, std::ios::binary) << text << '\0';
    }
    std::string stored(const std::string &name) const
    {
        std::ifstream in(product / name, std::ios::binary);
        std::string bytes(std::istreambuf_iterator<char>(in), {});
        return bytes.substr(0, bytes.find('\0'));
    }
    bool save()
    {
        int next = 0;
        return settings.saveSettings(tables, 1, next, version);
    }
};

} // namespace

TEST_F(SettingsFiles, WhatCannotBeReadLoadsTheDefaultAndIsNeverReplaced)
{
    struct Case
    {
        const char *what;
        std::function<void(const fs::path &)> plant;
        std::function<bool(const fs::path &)> stillThere;
    };
    const Case cases[] = {
        {"fifo", [](const fs::path &p) { ::mkfifo(p.c_str(), 0644); },
         [](const fs::path &p) { return fs::is_fifo(p); }},
        {"directory", [](const fs::path &p) { fs::create_directory(p); },
         [](const fs::path &p) { return fs::is_directory(p); }},
        {"device", [](const fs::path &p) { fs::create_symlink("/dev/zero", p); },
         [](const fs::path &p) { return fs::is_symlink(p); }},
        {"no permission",
         [](const fs::path &p) {
             std::ofstream(p, std::ios::binary) << "600519" << '\0';
             fs::permissions(p, fs::perms::none);
         },
         [](const fs::path &p) {
             fs::permissions(p, fs::perms::owner_read);
             std::ifstream in(p, std::ios::binary);
             return std::string(std::istreambuf_iterator<char>(in), {}) == "600519\0"s;
         }},
    };
    for (const Case &c : cases) {
        if (std::string(c.what) == "no permission" && ::geteuid() == 0)
            continue; // permissions do not stop root
        SCOPED_TRACE(c.what);
        fs::remove_all(product);
        fs::create_directories(product);
        c.plant(product / "3");
        c.plant(product / "35");
        tables.resetForStart();
        tables.bigOrderAlarm[3] = 77;
        settings.loadSettings(tables, version);
        EXPECT_EQ(tables.watchCodes[3], "0004");
        EXPECT_EQ(tables.bigOrderAlarm[3], 0);
        tables.watchCodes[3] = "600000";
        EXPECT_FALSE(save());
        EXPECT_TRUE(c.stillThere(product / "3"));
        EXPECT_TRUE(c.stillThere(product / "35"));
        EXPECT_EQ(stored("4"), "0005"); // the rest is saved
    }
}

TEST_F(SettingsFiles, SavesWriteFreshTemporariesAndTheStartRemovesStaleOnes)
{
    // Where a save once put its temporary files, links to a file of someone else's.
    const fs::path victim = root / "victim";
    std::ofstream(victim) << "untouched";
    for (const std::string name : {"16", "32", "48"})
        fs::create_symlink(victim,
                           product / ("." + name + "." + std::to_string(::getpid()) + ".tmp"));
    std::ofstream(product / ".20.4242.tmp") << "  9.";
    std::ofstream(product / ".0.0123456789abcdef.tmp") << "600";

    settings.prepare();
    for (const auto &entry : fs::directory_iterator(product))
        ADD_FAILURE() << "left behind: " << entry.path().filename();
    tables.changeAlarmPct[0] = 1.5f;
    EXPECT_TRUE(save());
    EXPECT_EQ(stored("16"), "  1.50");
    std::ifstream in(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "untouched");
    for (const auto &entry : fs::directory_iterator(product))
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
}

TEST_F(SettingsFiles, NumbersTooBigForTheirFieldStopAtItsLimitAndKeepTheirText)
{
    store("32", "99999999999999");
    store("33", "-99999999999999");
    store("16", "1e39");
    store("48", "4294967298"); // wrapped, this would read as 2
    settings.loadSettings(tables, version);
    EXPECT_EQ(tables.bigOrderAlarm[0], INT32_MAX);
    EXPECT_EQ(tables.bigOrderAlarm[1], INT32_MIN);
    EXPECT_EQ(tables.changeAlarmPct[0], FLT_MAX);
    EXPECT_EQ(settings.readInterfaceSize(), 1);
    tables.bigOrderAlarm[1] = 500; // changed in the run: stored as the new number
    EXPECT_TRUE(save());
    EXPECT_EQ(stored("32"), "99999999999999");
    EXPECT_EQ(stored("16"), "1e39");
    EXPECT_EQ(stored("33"), "500");
    EXPECT_EQ(stored("48"), "1");
}
