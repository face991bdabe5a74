#include "launch/instance_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lark {

InstanceLock::InstanceLock(const std::filesystem::path &root)
{
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    const std::filesystem::path file = lockFile(root);
    m_fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (m_fd < 0 || ::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return;
    m_heldElsewhere = errno == EWOULDBLOCK;
    ::close(m_fd);
    m_fd = -1;
    if (m_heldElsewhere)
        ::utimensat(AT_FDCWD, file.c_str(), nullptr, AT_SYMLINK_NOFOLLOW);
}

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::filesystem::path InstanceLock::lockFile(const std::filesystem::path &root)
{
    return root / ".lock";
}

} // namespace lark
