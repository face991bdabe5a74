#pragma once

#include "base/file_writer.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lark {

// Key/value store laid out as a directory tree: a key is a directory, a value a file
// holding the text and its NUL. Writes are atomic, so a crash never leaves half a value.
class Registry
{
public:
    using Key = std::filesystem::path;

    explicit Registry(std::filesystem::path root)
        : m_root(std::move(root))
    { }

    const Key &root() const { return m_root; }

    // An existing key only.
    std::optional<Key> open(const Key &parent, std::string_view name) const;
    // Opens the key, making it when absent (the parent must exist).
    std::optional<Key> create(const Key &parent, std::string_view name) const;
    // The stored text up to its NUL; fails when absent, unreadable, not a regular file or
    // longer than limit bytes.
    std::optional<std::string> query(const Key &key, std::string_view name, size_t limit) const;
    using Value = std::pair<std::string, std::string>; // name, text

    // Stores each text plus NUL; values that already hold exactly that are left alone, and so
    // are values there that cannot be read. Each value is replaced whole: its new bytes are on
    // disk before its rename. False when any value was not stored.
    bool set(const Key &key, const std::vector<Value> &values) const;
    bool set(const Key &key, std::string_view name, std::string_view text) const
    {
        return set(key, {{std::string(name), std::string(text)}});
    }

    // Removes the temporary files an interrupted save left in the key.
    void removeTemporaries(const Key &key) const;

private:
    // Stages one value that needs replacing; false when it cannot.
    bool stage(FileWriter &writer, const std::string &name, const std::string &text) const;

    std::filesystem::path m_root;
};

} // namespace lark
