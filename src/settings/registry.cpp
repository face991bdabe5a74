#include "registry.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace lark {
namespace {

bool isPlainName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos
        && name.find('\0') == std::string_view::npos;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
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
    if (!isPlainName(name))
        return std::nullopt;
    std::ifstream in(key / name, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes(limit + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad() || static_cast<size_t>(in.gcount()) > limit)
        return std::nullopt;
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes.substr(0, bytes.find('\0'));
}

bool Registry::set(const Key &key, std::string_view name, std::string_view text) const
{
    if (!isPlainName(name))
        return false;
    if (query(key, name, text.size() + 1) == text)
        return true;
    std::filesystem::path target = key / name;
    std::filesystem::path temporary
        = key / ("." + std::string(name) + "." + std::to_string(::getpid()) + ".tmp");
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    std::string bytes(text);
    bytes.push_back('\0');
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

void Registry::sync(const Key &key) const
{
    int fd = ::open(key.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace lark
