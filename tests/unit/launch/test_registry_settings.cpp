#include "launch/registry_settings.h"
#include "store/registry.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace lark;
namespace fs = std::filesystem;

namespace {

struct RegistrySettingsTest : ::testing::Test
{
    fs::path root = fs::temp_directory_path()
        / ("lark-settings-" + std::to_string(::getpid()) + "-"
           + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    RegistrySettings store {root};
    WatchTables tables;
    std::string version;

    void SetUp() override
    {
        fs::remove_all(root);
        fs::create_directories(root);
        tables.resetForStart();
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path product() const { return root / "SOFTWARE" / "halvern" / "tamberly"; }
    void provisionProduct() const { fs::create_directories(product()); }
    void store_(const std::string &name, const std::string &text) const
    {
        std::ofstream(product() / name, std::ios::binary) << text << '\0';
    }
    std::string stored(const std::string &name) const
    {
        std::ifstream in(product() / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void save(int size = 1, int next = 0) { store.saveSettings(tables, size, next, version); }
};

} // namespace

TEST_F(RegistrySettingsTest, EmptyTreeLoadsNothingAndSavesNothing)
{
    tables.changeAlarmPct[0] = 2;
    store.loadSettings(tables, version);
    EXPECT_EQ(tables.watchCodes[12], "600065");
    EXPECT_EQ(tables.changeAlarmPct[0], 2);
    EXPECT_EQ(version, "");
    EXPECT_EQ(store.readInterfaceSize(), 1);
    save();
    EXPECT_TRUE(fs::is_empty(root));
}

TEST_F(RegistrySettingsTest, FirstStartProvisionsTheMakerKeyOnceSoExitSaves)
{
    store.prepare();
    EXPECT_TRUE(fs::is_directory(root / "SOFTWARE" / "halvern"));
    store.loadSettings(tables, version);
    EXPECT_EQ(version, "");
    save();
    int values = 0;
    for (auto &entry : fs::directory_iterator(product()))
        values += entry.path().filename().string().front() != '.';
    EXPECT_EQ(values, 66);
    EXPECT_EQ(stored("49"), std::string("\0", 1));

    fs::remove_all(root / "SOFTWARE" / "halvern");
    store.prepare(); // SOFTWARE exists: the tree is someone's, leave it
    EXPECT_FALSE(fs::exists(root / "SOFTWARE" / "halvern"));
}

TEST_F(RegistrySettingsTest, ValuesRoundTripInTheirPrintedForms)
{
    provisionProduct();
    store_("16", "  1.50");
    store_("32", "999999");
    store_("65", "  2.25");
    store_("31", " -9.50");
    store.loadSettings(tables, version);
    EXPECT_EQ(tables.changeAlarmPct[0], 1.5f);
    EXPECT_EQ(tables.bigOrderAlarm[0], 999999);
    EXPECT_EQ(tables.volumeRatioAlarm[15], 2.25f);
    EXPECT_EQ(tables.volumeRatioAlarm[0], 0);
    EXPECT_EQ(tables.changeAlarmPct[15], -9.5f);
    EXPECT_EQ(version, "version=2.0");
    save();
    EXPECT_EQ(stored("16"), std::string("  1.50\0", 7));
    EXPECT_EQ(stored("50"), std::string("  0.00\0", 7));
    EXPECT_EQ(stored("49"), std::string("version=2.0\0", 12));
}

TEST_F(RegistrySettingsTest, NumbersTheProgramWritesSurviveARestart)
{
    provisionProduct();
    tables.bigOrderAlarm[3] = 1'000'000;
    tables.volumeRatioAlarm[2] = 1000.0f;
    save();
    WatchTables loaded;
    store.loadSettings(loaded, version);
    EXPECT_EQ(loaded.bigOrderAlarm[3], 1'000'000);
    EXPECT_EQ(loaded.volumeRatioAlarm[2], 1000.0f);
}

TEST_F(RegistrySettingsTest, OverlongOrMissingCodesFallBackToTheirDefault)
{
    provisionProduct();
    store_("8", "6000610");
    std::ofstream(product() / "10", std::ios::binary) << "6000001"; // 7 bytes, no NUL
    store_("9", "1234");
    store_("3", "");
    store.loadSettings(tables, version);
    EXPECT_EQ(tables.watchCodes[8], "600061");
    EXPECT_EQ(tables.watchCodes[10], "600063");
    EXPECT_EQ(tables.watchCodes[9], "1234");
    EXPECT_EQ(tables.watchCodes[3], "");
    EXPECT_EQ(tables.watchCodes[4], "0005");
}

TEST_F(RegistrySettingsTest, MalformedNumbersLoadAsZero)
{
    provisionProduct();
    store_("17", "abc");
    store_("33", "12x");
    store.loadSettings(tables, version);
    EXPECT_EQ(tables.changeAlarmPct[1], 0);
    EXPECT_EQ(tables.bigOrderAlarm[1], 12);
}

TEST_F(RegistrySettingsTest, SizeChosenFromTheMenuIsWrittenAtExitOnly)
{
    provisionProduct();
    int chosen = 3;
    store.saveSettings(tables, 1, chosen, version);
    EXPECT_EQ(stored("48"), std::string("3\0", 2));
    EXPECT_EQ(store.readInterfaceSize(), 3);
    int next = 0;
    store.saveSettings(tables, 2, next, version);
    EXPECT_EQ(next, 2);
    EXPECT_EQ(store.readInterfaceSize(), 2);
    for (const char *bad : {"7", "0", "abc", "-1"}) {
        store_("48", bad);
        EXPECT_EQ(store.readInterfaceSize(), 1) << bad;
    }
}

TEST_F(RegistrySettingsTest, AnInterruptedSaveLeavesEveryValueWhole)
{
    provisionProduct();
    store_("20", "  4.00");
    // A crash between writing the temporary file and renaming it.
    std::ofstream(product() / ".20.999.tmp", std::ios::binary) << "  9.";
    WatchTables loaded;
    store.loadSettings(loaded, version);
    EXPECT_EQ(loaded.changeAlarmPct[4], 4.0f);
    Registry registry(root);
    EXPECT_TRUE(registry.set(product(), "20", "  5.00"));
    EXPECT_EQ(stored("20"), std::string("  5.00\0", 7));
    EXPECT_FALSE(registry.set(product(), "../escape", "x"));
    EXPECT_FALSE(registry.query(product(), "20", 6).has_value()); // 7 bytes with the NUL
}
