#pragma once

#include "base/file_writer.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lark::quoteserver {

// What the live market keeps on disk between runs, in a folder of the user's own: a header
// line "lark-KIND<TAB>VERSION<TAB>YYYYMMDD<TAB>ROWS", then ROWS lines of tab-separated fields,
// each escaped (\\, \t, \n, \r), so no name can break a line. Any thread; Larks sharing the
// folder take turns on a lock file beside the cache.
struct CacheContents
{
    int32_t date = 0; // the trading day the contents are of
    std::vector<std::vector<std::string>> rows;
};

struct CacheKind
{
    std::string_view name; // "boards", "history"
    int version = 1;
    size_t maxBytes = 0; // a larger file is not read at all
};

// The contents when the file is this user's own regular file and no link, within the kind's
// size, of its name and version, and whole: as many complete lines as its header says.
std::optional<CacheContents> loadCache(const std::filesystem::path &file, const CacheKind &kind);

// Replaces the file whole. update gets what the file holds now (nothing when it is absent or
// fails a check) and turns it into what is written: a second Lark's save is merged, not lost.
WriteStatus updateCache(const std::filesystem::path &file, const CacheKind &kind,
                        const std::function<CacheContents(std::optional<CacheContents>)> &update);

} // namespace lark::quoteserver
