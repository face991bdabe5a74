#include "quoteserver/live/cache_file.h"

#include "base/file_reader.h"
#include "base/whole_number.h"
#include "quoteserver/live/decimal_text.h"

namespace lark::quoteserver {
namespace {

std::string escaped(std::string_view field)
{
    std::string out;
    for (char c : field) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size())
            return std::nullopt;
        switch (field[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::string headerOf(const CacheKind &kind, int32_t date, size_t rows)
{
    return "lark-" + std::string(kind.name) + '\t' + std::to_string(kind.version) + '\t'
        + std::to_string(date) + '\t' + std::to_string(rows);
}

std::optional<CacheContents> parse(std::string_view text, const CacheKind &kind)
{
    const size_t headerEnd = text.find('\n');
    if (headerEnd == std::string_view::npos)
        return std::nullopt;
    const auto header = splitKeepingEmpty(text.substr(0, headerEnd), '\t');
    const auto date = header.size() == 4 ? wholeNumber<int32_t>(header[2]) : std::nullopt;
    const auto rows = header.size() == 4 ? wholeNumber<size_t>(header[3]) : std::nullopt;
    if (!date || !rows || headerOf(kind, *date, *rows) != text.substr(0, headerEnd))
        return std::nullopt;
    CacheContents contents {*date, {}};
    std::string_view body = text.substr(headerEnd + 1);
    // A file cut short ends without its last line feed, or with fewer lines than it says.
    if (!body.empty() && !body.ends_with('\n'))
        return std::nullopt;
    body.remove_suffix(body.empty() ? 0 : 1);
    if (!body.empty()) {
        for (std::string_view line : splitKeepingEmpty(body, '\n')) {
            std::vector<std::string> fields;
            for (std::string_view field : splitKeepingEmpty(line, '\t')) {
                auto value = unescaped(field);
                if (!value)
                    return std::nullopt;
                fields.push_back(std::move(*value));
            }
            contents.rows.push_back(std::move(fields));
        }
    }
    if (contents.rows.size() != *rows)
        return std::nullopt;
    return contents;
}

std::string format(const CacheKind &kind, const CacheContents &contents)
{
    std::string out = headerOf(kind, contents.date, contents.rows.size()) + '\n';
    for (const auto &row : contents.rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            out += i ? "\t" : "";
            out += escaped(row[i]);
        }
        out += '\n';
    }
    return out;
}

} // namespace

std::optional<CacheContents> loadCache(const std::filesystem::path &file, const CacheKind &kind)
{
    const FileRead read = readFile(file, {kind.maxBytes, true});
    return read.ok() ? parse(read.bytes, kind) : std::nullopt;
}

WriteStatus updateCache(const std::filesystem::path &file, const CacheKind &kind,
                        const std::function<CacheContents(std::optional<CacheContents>)> &update)
{
    FileWriter writer(file.parent_path(), FileWriter::Folder::OwnNoLink);
    // The folder is checked before anything is made in it, the lock file too.
    if (WriteStatus opened = writer.openFolder(); !opened)
        return opened;
    const FileLock lock = writer.lock("." + file.filename().string() + ".lock");
    const std::string bytes = format(kind, update(loadCache(file, kind)));
    if (bytes.size() > kind.maxBytes)
        return {"not written: " + file.string() + " would exceed its size"};
    if (WriteStatus staged = writer.stage(file.filename().string(), bytes); !staged)
        return staged;
    return writer.commit();
}

} // namespace lark::quoteserver
