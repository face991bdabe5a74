#include "base/file_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace lark {
namespace {

std::string temporaryName(std::string_view name)
{
    std::random_device device;
    const uint64_t random = uint64_t(device()) << 32 | device();
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(random));
    return "." + std::string(name) + "." + hex + ".tmp";
}

bool isPlainName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos
        && name.find('\0') == std::string_view::npos;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

FileWriter::FileWriter(std::filesystem::path folder, Folder rule)
    : m_folder(std::move(folder))
    , m_rule(rule)
{ }

FileWriter::~FileWriter()
{
    discardStaged();
    if (m_folderFd >= 0)
        ::close(m_folderFd);
}

WriteStatus FileWriter::failed(std::string_view what, std::string_view name, int error) const
{
    std::string text(what);
    text += ' ';
    text += (name.empty() ? m_folder : m_folder / name).string();
    text += ": ";
    text += std::strerror(error);
    return {text};
}

WriteStatus FileWriter::openFolder()
{
    if (m_folderFd >= 0)
        return {};
    if (m_rule != Folder::Existing) {
        std::error_code ignored;
        if (m_folder.has_parent_path())
            std::filesystem::create_directories(m_folder.parent_path(), ignored);
        if (::mkdir(m_folder.c_str(), 0700) != 0 && errno != EEXIST)
            return failed("cannot create", {}, errno);
    }
    const int noLink = m_rule == Folder::OwnNoLink ? O_NOFOLLOW : 0;
    m_folderFd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | noLink);
    if (m_folderFd < 0)
        return failed("cannot open", {}, errno == ELOOP ? ENOTDIR : errno);
    struct stat info
    {
    };
    if (m_rule == Folder::OwnNoLink
        && (::fstat(m_folderFd, &info) != 0 || info.st_uid != ::geteuid())) {
        ::close(m_folderFd);
        m_folderFd = -1;
        return failed("not this user's folder:", {}, EPERM);
    }
    return {};
}

WriteStatus FileWriter::stage(std::string_view name, std::string_view bytes, int mode)
{
    if (!isPlainName(name))
        return failed("not a file name:", name, EINVAL);
    if (WriteStatus opened = openFolder(); !opened)
        return opened;
    const std::string temporary = temporaryName(name);
    const int fd = ::openat(m_folderFd, temporary.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0)
        return failed("cannot create", temporary, errno);
    const bool written = writeAll(fd, bytes);
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        ::unlinkat(m_folderFd, temporary.c_str(), 0);
        return failed("cannot write", temporary, written ? EIO : writeError);
    }
    m_staged.push_back({temporary, std::string(name)});
    return {};
}

// Synced one after another with nothing in between, so all but the first find their data
// already on the disk; renamed only once every byte is there.
WriteStatus FileWriter::commit()
{
    WriteStatus status;
    std::vector<bool> synced;
    for (const Staged &s : m_staged) {
        const int fd = ::openat(m_folderFd, s.temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        const bool ok = fd >= 0 && ::fdatasync(fd) == 0;
        if (!ok && status)
            status = failed("cannot sync", s.temporary, errno);
        if (fd >= 0)
            ::close(fd);
        synced.push_back(ok);
    }
    for (size_t i = 0; i < m_staged.size(); ++i) {
        const Staged &s = m_staged[i];
        if (synced[i]
            && ::renameat(m_folderFd, s.temporary.c_str(), m_folderFd, s.name.c_str()) == 0)
            continue;
        if (synced[i] && status)
            status = failed("cannot replace", s.name, errno);
        ::unlinkat(m_folderFd, s.temporary.c_str(), 0);
    }
    if (!m_staged.empty() && ::fsync(m_folderFd) != 0 && status)
        status = failed("cannot sync", {}, errno);
    m_staged.clear();
    return status;
}

void FileWriter::discardStaged()
{
    for (const Staged &s : m_staged)
        ::unlinkat(m_folderFd, s.temporary.c_str(), 0);
    m_staged.clear();
}

FileLock::FileLock(int fd)
    : m_fd(fd)
{
    if (m_fd >= 0)
        ::flock(m_fd, LOCK_EX);
}

FileLock::FileLock(FileLock &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
{ }

FileLock::~FileLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

FileLock FileWriter::lock(std::string_view name)
{
    const bool open = isPlainName(name) && openFolder().ok();
    return FileLock(open ? ::openat(m_folderFd, std::string(name).c_str(),
                                    O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600)
                         : -1);
}

WriteStatus replaceFile(const std::filesystem::path &file, std::string_view bytes,
                        FileWriter::Folder rule, int mode)
{
    FileWriter writer(file.parent_path(), rule);
    if (WriteStatus staged = writer.stage(file.filename().string(), bytes, mode); !staged)
        return staged;
    return writer.commit();
}

bool isWriterTemporary(std::string_view fileName)
{
    return fileName.size() > 5 && fileName.front() == '.' && fileName.ends_with(".tmp");
}

void removeWriterTemporaries(const std::filesystem::path &folder)
{
    std::error_code ec;
    for (const auto &entry : std::filesystem::directory_iterator(folder, ec)) {
        if (isWriterTemporary(entry.path().filename().string()))
            std::filesystem::remove(entry.path(), ec);
    }
}

} // namespace lark
