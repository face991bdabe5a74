#include "store/registry.h"

#include "base/file_reader.h"

namespace lark {
namespace {

bool isPlainName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos
        && name.find('\0') == std::string_view::npos;
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
    FileRead value = readFile(key / name, {limit});
    if (!value.ok())
        return std::nullopt;
    return value.bytes.substr(0, value.bytes.find('\0'));
}

void Registry::removeTemporaries(const Key &key) const
{
    removeWriterTemporaries(key);
}

bool Registry::set(const Key &key, const std::vector<Value> &values) const
{
    FileWriter writer(key);
    bool ok = true;
    for (const auto &[name, text] : values)
        ok = stage(writer, name, text) && ok;
    return writer.commit().ok() && ok;
}

// Unchanged values are skipped, so an ordinary exit writes nothing at all. A value there that
// cannot be read is never replaced: it may hold what the user stored.
bool Registry::stage(FileWriter &writer, const std::string &name, const std::string &text) const
{
    if (!isPlainName(name))
        return false;
    const FileRead current = readFile(writer.folder() / name, {text.size() + 1});
    if (current.status == FileRead::Status::Unreadable)
        return false;
    if (current.ok() && current.bytes.substr(0, current.bytes.find('\0')) == text)
        return true;
    return writer.stage(name, text + '\0').ok();
}

} // namespace lark
