#include "store/registry.h"

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

bool writeFile(const std::filesystem::path &path, std::string_view bytes)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = true;
    while (ok && !bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        ok = n >= 0;
        if (ok)
            bytes.remove_prefix(static_cast<size_t>(n));
    }
    ok = ok && ::fdatasync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        std::remove(path.c_str());
    return ok;
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

bool Registry::set(const Key &key, const std::vector<Value> &values) const
{
    // Unchanged values are skipped, so an ordinary exit writes nothing at all.
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> renames;
    bool ok = true;
    for (const auto &[name, text] : values) {
        if (!isPlainName(name)) {
            ok = false;
            continue;
        }
        if (query(key, name, text.size() + 1) == text)
            continue;
        std::filesystem::path temporary
            = key / ("." + name + "." + std::to_string(::getpid()) + ".tmp");
        if (writeFile(temporary, text + '\0'))
            renames.emplace_back(temporary, key / name);
        else
            ok = false;
    }
    for (const auto &[temporary, target] : renames) {
        if (std::rename(temporary.c_str(), target.c_str()) != 0) {
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

} // namespace lark
