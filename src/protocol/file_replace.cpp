#include "protocol/file_replace.h"

#include <fstream>
#include <system_error>

namespace lark {

bool replaceFile(const std::filesystem::path &file, std::string_view bytes)
{
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    const std::filesystem::path temporary = file.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), std::streamsize(bytes.size())) || !out.flush())
            return false;
    }
    std::filesystem::rename(temporary, file, error);
    return !error;
}

} // namespace lark
