#pragma once

#include <filesystem>
#include <string_view>

namespace lark {

// Writes bytes to file through a temporary beside it and a rename, creating the folders on the
// way: a reader finds the old file or the new one, never a half-written one. False on failure.
bool replaceFile(const std::filesystem::path &file, std::string_view bytes);

} // namespace lark
