#include "store/registry.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace lark {
namespace {

bool isPlainName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos
        && name.find('\0') == std::string_view::npos;
}

enum class ReadStatus { Read, Missing, Unreadable, TooLong };

// A value is a regular file. The open never blocks, so a FIFO or a device planted in a value's
// place is an unreadable value, not a hang.
ReadStatus readValueFile(const std::filesystem::path &path, size_t limit, std::string &bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    struct stat info
    {
    };
    ReadStatus status = ReadStatus::Unreadable;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        bytes.assign(limit + 1, '\0');
        size_t got = 0;
        ssize_t n = 1;
        while (n > 0 && got < bytes.size()) {
            n = ::read(fd, bytes.data() + got, bytes.size() - got);
            got += n > 0 ? static_cast<size_t>(n) : 0;
            n = n < 0 && errno == EINTR ? 1 : n;
        }
        bytes.resize(got);
        status = n < 0    ? ReadStatus::Unreadable
            : got > limit ? ReadStatus::TooLong
                          : ReadStatus::Read;
    }
    ::close(fd);
    return status;
}

// ".NAME.<16 random hex digits>.tmp": nobody can plant a file at a name known in advance.
std::string temporaryName(std::string_view name)
{
    std::random_device device;
    const uint64_t random = uint64_t(device()) << 32 | device();
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(random));
    return "." + std::string(name) + "." + hex + ".tmp";
}

bool isTemporaryName(const std::string &name)
{
    return name.size() > 5 && name.front() == '.' && name.ends_with(".tmp");
}

// Made afresh, never through a link or over a file already there; not yet synced.
bool writeFile(const std::filesystem::path &path, std::string_view bytes)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = true;
    while (ok && !bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        ok = n >= 0;
        if (ok)
            bytes.remove_prefix(static_cast<size_t>(n));
    }
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        std::remove(path.c_str());
    return ok;
}

// The file's bytes on the disk.
bool syncFile(const std::filesystem::path &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fdatasync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

} // namespace

std::optional<Registry::Key> Registry::open(const Key &parent, std::string_view name) const
{
    std::error_code ec;
    Key key = parent / name;
    if (!isPlainName(name) || !std::filesystem::is_directory(key, ec))
        return std::nullopt;
    return key;
}

std::optional<Registry::Key> Registry::create(const Key &parent, std::string_view name) const
{
    std::error_code ec;
    if (!isPlainName(name) || !std::filesystem::is_directory(parent, ec))
        return std::nullopt;
    Key key = parent / name;
    std::filesystem::create_directory(key, ec);
    if (!std::filesystem::is_directory(key, ec))
        return std::nullopt;
    return key;
}

std::optional<std::string> Registry::query(const Key &key, std::string_view name,
                                           size_t limit) const
{
    std::string bytes;
    if (!isPlainName(name) || readValueFile(key / name, limit, bytes) != ReadStatus::Read)
        return std::nullopt;
    return bytes.substr(0, bytes.find('\0'));
}

void Registry::removeTemporaries(const Key &key) const
{
    std::error_code ec;
    for (const auto &entry : std::filesystem::directory_iterator(key, ec)) {
        if (isTemporaryName(entry.path().filename().string()))
            std::filesystem::remove(entry.path(), ec);
    }
}

bool Registry::set(const Key &key, const std::vector<Value> &values) const
{
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> renames;
    bool ok = true;
    for (const auto &[name, text] : values)
        ok = stage(key, name, text, renames) && ok;
    // Every new value's bytes are on the disk before the first rename: synced one after another
    // with nothing in between, all but the first find their commit already made.
    std::vector<bool> synced;
    for (const auto &[temporary, target] : renames)
        synced.push_back(syncFile(temporary));
    for (size_t i = 0; i < renames.size(); ++i) {
        const auto &[temporary, target] = renames[i];
        if (!synced[i] || std::rename(temporary.c_str(), target.c_str()) != 0) {
            std::remove(temporary.c_str());
            ok = false;
        }
    }
    // The renames themselves become durable with the directory, once for all of them.
    if (renames.empty())
        return ok;
    if (int dir = ::open(key.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return ok;
}

// Unchanged values are skipped, so an ordinary exit writes nothing at all. A value there that
// cannot be read is never replaced: it may hold what the user stored.
bool Registry::stage(const Key &key, const std::string &name, const std::string &text,
                     std::vector<std::pair<Key, Key>> &renames) const
{
    std::string current;
    const ReadStatus status = isPlainName(name)
        ? readValueFile(key / name, text.size() + 1, current)
        : ReadStatus::Unreadable;
    if (status == ReadStatus::Unreadable)
        return false;
    if (status == ReadStatus::Read && current.substr(0, current.find('\0')) == text)
        return true;
    const Key temporary = key / temporaryName(name);
    if (!writeFile(temporary, text + '\0'))
        return false;
    renames.emplace_back(temporary, key / name);
    return true;
}

} // namespace lark
