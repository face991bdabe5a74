#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace lark {

// The readings of a Han character as a user types them, lower-case letters without tones: the
// common one first (ICU's Han-Latin), then the one it has in surnames (Han-Latin/Names) and
// those modern dictionaries add (Unihan), so that 行 is both "xing" and "hang". Nothing for a
// character that is not Han. The first of these in a process compiles ICU's rules, a few
// hundred milliseconds. One thread at a time.
class PinyinReadings
{
public:
    // Throws std::runtime_error when ICU lacks the transliterators.
    PinyinReadings();
    ~PinyinReadings();
    PinyinReadings(const PinyinReadings &) = delete;
    PinyinReadings &operator=(const PinyinReadings &) = delete;

    const std::vector<std::string> &of(char32_t character);

private:
    struct Transliterators;

    std::vector<std::string> lookUp(char32_t character) const;

    std::unique_ptr<Transliterators> m_icu;
    std::unordered_map<char32_t, std::vector<std::string>> m_known;
};

} // namespace lark
