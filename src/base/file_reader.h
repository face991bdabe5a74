#pragma once

#include <filesystem>
#include <string>

namespace lark {

// Reads a file whole, as a stored value or a cache is read: only a regular file, opened without
// blocking (a FIFO or a device in its place is unreadable, not a hang), at most limit bytes.
struct ReadRules
{
    size_t limit = 0;
    // A cache must be this user's own file, not a link to one: others may share its folder.
    bool ownFileNoLink = false;
};

struct FileRead
{
    enum class Status { Read, Missing, Unreadable, TooLong };
    Status status = Status::Missing;
    std::string bytes; // when Read

    bool ok() const { return status == Status::Read; }
};

FileRead readFile(const std::filesystem::path &path, ReadRules rules);

} // namespace lark
