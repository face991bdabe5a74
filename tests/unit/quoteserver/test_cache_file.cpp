#include "quoteserver/live/cache_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace lark;
using namespace lark::quoteserver;
namespace fs = std::filesystem;

namespace {

constexpr CacheKind kKind {"test", 1, 4096};

struct CacheFile : ::testing::Test
{
    fs::path folder = fs::temp_directory_path()
        / ("lark-cache-" + std::to_string(::getpid()) + "-"
           + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::path file = folder / "lark" / "test.tsv";

    void SetUp() override
    {
        fs::remove_all(folder);
        fs::create_directories(file.parent_path());
    }
    void TearDown() override { fs::remove_all(folder); }

    WriteStatus save(CacheContents contents)
    {
        return updateCache(file, kKind, [&](std::optional<CacheContents>) { return contents; });
    }
    void writeRaw(const std::string &bytes) { std::ofstream(file, std::ios::binary) << bytes; }
};

} // namespace

TEST_F(CacheFile, KeepsEveryFieldWholeAndReadsBackOnlyAWholeOwnFile)
{
    const CacheContents contents {20251009, {{"0", "600061", "国投\t资本\n\\"}, {"1", "", "x"}}};
    ASSERT_TRUE(save(contents).ok());
    const auto back = loadCache(file, kKind);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->date, contents.date);
    EXPECT_EQ(back->rows, contents.rows);

    std::ifstream in(file, std::ios::binary);
    const std::string whole {std::istreambuf_iterator<char>(in), {}};
    struct Case
    {
        const char *what;
        std::string bytes;
    } damaged[] = {
        {"cut mid-line", whole.substr(0, whole.size() - 3)},
        {"a line lost", whole.substr(0, whole.find('\n') + 1)},
        {"another kind", "lark-boards" + whole.substr(whole.find('\t'))},
        {"a bad escape", "lark-test\t1\t20251009\t1\n\\q\n"},
        {"beyond its size", whole + std::string(4096, 'x')},
    };
    for (const Case &c : damaged) {
        writeRaw(c.bytes);
        EXPECT_FALSE(loadCache(file, kKind)) << c.what;
    }

    fs::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_FALSE(loadCache(file, kKind)) << "a FIFO is no cache, and no hang";
    fs::remove(file);
    ASSERT_TRUE(save(contents).ok());
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    EXPECT_FALSE(loadCache(file, kKind)) << "another user's file";
}

TEST_F(CacheFile, NothingOutsideTheCacheIsWrittenThroughAPlantedLink)
{
    const fs::path victim = folder / "victim";
    std::ofstream(victim) << "untouched";
    for (const char *name : {"test.tsv", ".test.tsv.lock", "test.tsv.new"})
        fs::create_symlink(victim, file.parent_path() / name);
    EXPECT_TRUE(save({20251009, {{"a"}}}).ok());
    std::ifstream in(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "untouched");
    EXPECT_TRUE(loadCache(file, kKind));

    // The cache folder itself linked elsewhere: nothing is written at all.
    fs::remove_all(file.parent_path());
    fs::create_directory(folder / "elsewhere");
    fs::create_symlink(folder / "elsewhere", file.parent_path());
    EXPECT_FALSE(save({20251009, {{"a"}}}).ok());
    EXPECT_TRUE(fs::is_empty(folder / "elsewhere"));
}

TEST_F(CacheFile, TwoLarksSavingAtOnceLoseNeitherSave)
{
    auto add = [this](const std::string &row) {
        for (int i = 0; i < 20; ++i) {
            updateCache(file, kKind, [&](std::optional<CacheContents> current) {
                CacheContents next = current.value_or(CacheContents {20251009, {}});
                next.rows.push_back({row + std::to_string(i)});
                return next;
            });
        }
    };
    std::thread first(add, "a"), second(add, "b");
    first.join();
    second.join();
    const auto back = loadCache(file, kKind);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->rows.size(), 40u);
}
