#include "base/file_reader.h"
#include "base/file_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace lark;
namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path()
            / ("lark-base-" + std::to_string(::getpid()) + "-"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
        std::ofstream(root / "victim") << "untouched";
    }
    void TearDown() override { fs::remove_all(root); }

    static std::string contents(const fs::path &file)
    {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> names(const fs::path &folder) const
    {
        std::vector<std::string> all;
        for (const auto &entry : fs::directory_iterator(folder))
            all.push_back(entry.path().filename().string());
        std::sort(all.begin(), all.end());
        return all;
    }

    fs::path root;
};

} // namespace

TEST_F(Files, ReplacesWholeThroughNothingPlantedAndLeavesNoTemporary)
{
    const fs::path folder = root / "cache";
    // Made with its parents; a link planted at the file's own name is replaced, not followed.
    ASSERT_TRUE(replaceFile(folder / "boards.tsv", "old\n").ok());
    fs::remove(folder / "boards.tsv");
    fs::create_symlink(root / "victim", folder / "boards.tsv");
    FileWriter writer(folder, FileWriter::Folder::OwnNoLink);
    ASSERT_TRUE(writer.stage("boards.tsv", "new\n").ok());
    ASSERT_TRUE(writer.stage("history.tsv", "days\n", 0600).ok());
    EXPECT_FALSE(fs::exists(folder / "history.tsv")) << "nothing replaced before the commit";
    ASSERT_TRUE(writer.commit().ok());

    EXPECT_EQ(contents(root / "victim"), "untouched");
    EXPECT_FALSE(fs::is_symlink(folder / "boards.tsv"));
    EXPECT_EQ(contents(folder / "boards.tsv"), "new\n");
    EXPECT_EQ(fs::status(folder / "history.tsv").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(names(folder), (std::vector<std::string> {"boards.tsv", "history.tsv"}));
}

TEST_F(Files, AFailedWriteSaysWhyAndTouchesNothing)
{
    fs::create_directory(root / "elsewhere");
    fs::create_symlink(root / "elsewhere", root / "linked");
    struct Case
    {
        fs::path file;
        FileWriter::Folder rule;
        std::string reason;
    } cases[] = {
        {root / "linked" / "boards.tsv", FileWriter::Folder::OwnNoLink, "Not a directory"},
        {root / "missing" / "16", FileWriter::Folder::Existing, "No such file or directory"},
        {root / "victim" / "16", FileWriter::Folder::Made, "Not a directory"},
    };
    for (const Case &c : cases) {
        FileWriter writer(c.file.parent_path(), c.rule);
        const WriteStatus status = writer.stage(c.file.filename().string(), "x");
        EXPECT_FALSE(status.ok()) << c.file;
        EXPECT_NE(status.failure.find(c.reason), std::string::npos) << status.failure;
        EXPECT_NE(status.failure.find(c.file.parent_path().string()), std::string::npos);
    }
    EXPECT_TRUE(fs::is_empty(root / "elsewhere"));
    EXPECT_FALSE(fs::exists(root / "missing"));
    EXPECT_EQ(contents(root / "victim"), "untouched");
}

TEST_F(Files, AnUncommittedWriteAndAStaleTemporaryLeaveNothingBehind)
{
    {
        FileWriter writer(root);
        ASSERT_TRUE(writer.stage("16", "1.5").ok());
    }
    std::ofstream(root / ".48.4242.tmp") << "stale";
    removeWriterTemporaries(root);
    EXPECT_EQ(names(root), std::vector<std::string> {"victim"});
}

TEST_F(Files, ReadsOnlyARegularFileWithinItsLimitWithoutBlocking)
{
    std::ofstream(root / "value") << "600061";
    ASSERT_EQ(::mkfifo((root / "fifo").c_str(), 0600), 0);
    fs::create_symlink(root / "value", root / "link");
    struct Case
    {
        const char *name;
        ReadRules rules;
        FileRead::Status status;
    } cases[] = {
        {"value", {6}, FileRead::Status::Read},
        {"value", {5}, FileRead::Status::TooLong},
        {"fifo", {6}, FileRead::Status::Unreadable},
        {"link", {6}, FileRead::Status::Read},
        {"link", {6, true}, FileRead::Status::Unreadable},
        {"absent", {6}, FileRead::Status::Missing},
    };
    for (const Case &c : cases) {
        const FileRead read = readFile(root / c.name, c.rules);
        EXPECT_EQ(read.status, c.status) << c.name << " limit " << c.rules.limit;
        EXPECT_EQ(read.bytes, read.ok() ? "600061" : "") << c.name;
    }
}
