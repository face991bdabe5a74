#include "base/file_reader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lark {

FileRead readFile(const std::filesystem::path &path, ReadRules rules)
{
    FileRead result;
    const int noLink = rules.ownFileNoLink ? O_NOFOLLOW : 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | noLink);
    if (fd < 0) {
        result.status = errno == ENOENT ? FileRead::Status::Missing : FileRead::Status::Unreadable;
        return result;
    }
    result.status = FileRead::Status::Unreadable;
    struct stat info
    {
    };
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)
        && (!rules.ownFileNoLink || info.st_uid == ::geteuid());
    if (regular && static_cast<uint64_t>(info.st_size) > rules.limit) {
        result.status = FileRead::Status::TooLong;
    } else if (regular) {
        // One byte more than allowed tells a file that grew while it was read.
        const size_t expected
            = std::min<uint64_t>(static_cast<uint64_t>(info.st_size), rules.limit);
        std::string bytes(expected + 1, '\0');
        size_t got = 0;
        ssize_t n = 1;
        while (n > 0 && got <= rules.limit) {
            if (got == bytes.size())
                bytes.resize(std::min(bytes.size() * 2, rules.limit + 1));
            n = ::read(fd, bytes.data() + got, bytes.size() - got);
            got += n > 0 ? static_cast<size_t>(n) : 0;
            n = n < 0 && errno == EINTR ? 1 : n;
        }
        bytes.resize(got);
        result.status = n < 0   ? FileRead::Status::Unreadable
            : got > rules.limit ? FileRead::Status::TooLong
                                : FileRead::Status::Read;
        if (result.ok())
            result.bytes = std::move(bytes);
    }
    ::close(fd);
    return result;
}

} // namespace lark
