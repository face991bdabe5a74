#pragma once

#include <filesystem>

namespace lark {

// One Lark per settings root, so that two never undo each other's saves: a lock on a file in
// the root, held for the life of this object (and of the process, whatever ends it).
class InstanceLock
{
public:
    // Takes the lock. When the root cannot hold a lock file (read-only) the run goes on
    // without one; its save will fail and say so.
    explicit InstanceLock(const std::filesystem::path &root);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // True when another process holds the root; the lock file has then been touched, which
    // a running window takes as the call to come forward.
    bool heldElsewhere() const { return m_heldElsewhere; }

    static std::filesystem::path lockFile(const std::filesystem::path &root);

private:
    int m_fd = -1;
    bool m_heldElsewhere = false;
};

} // namespace lark
