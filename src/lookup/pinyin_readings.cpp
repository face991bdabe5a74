#include "lookup/pinyin_readings.h"

#include "lookup/unihan_readings.h"

#include <unicode/translit.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace lark {
namespace {

std::unique_ptr<icu::Transliterator> transliterator(const char *id)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> made(icu::Transliterator::createInstance(
        icu::UnicodeString::fromUTF8(id), UTRANS_FORWARD, status));
    if (U_FAILURE(status) || !made)
        throw std::runtime_error(std::string("ICU has no transliterator ") + id);
    return made;
}

std::string spelt(const icu::Transliterator &rules, icu::UnicodeString text)
{
    rules.transliterate(text);
    std::string out;
    text.trim().toUTF8String(out);
    return out;
}

// Keeps a reading once, and only when it came out as plain letters.
void keep(std::vector<std::string> &readings, const std::string &reading)
{
    const bool letters = !reading.empty()
        && std::all_of(reading.begin(), reading.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    if (letters && std::find(readings.begin(), readings.end(), reading) == readings.end())
        readings.push_back(reading);
}

const char *dictionaryReadings(char32_t character)
{
    const auto table = unihanReadings();
    const auto it
        = std::lower_bound(table.begin(), table.end(), character,
                           [](const UnihanReadings &r, char32_t c) { return r.codePoint < c; });
    return it != table.end() && it->codePoint == character ? it->readings : nullptr;
}

} // namespace

struct PinyinReadings::Transliterators
{
    std::unique_ptr<icu::Transliterator> common = transliterator("Han-Latin; Latin-ASCII; Lower");
    std::unique_ptr<icu::Transliterator> surname
        = transliterator("Han-Latin/Names; Latin-ASCII; Lower");
    std::unique_ptr<icu::Transliterator> toneless = transliterator("Latin-ASCII; Lower");
};

PinyinReadings::PinyinReadings()
    : m_icu(std::make_unique<Transliterators>())
{ }

PinyinReadings::~PinyinReadings() = default;

const std::vector<std::string> &PinyinReadings::of(char32_t character)
{
    auto it = m_known.find(character);
    if (it == m_known.end())
        it = m_known.emplace(character, lookUp(character)).first;
    return it->second;
}

std::vector<std::string> PinyinReadings::lookUp(char32_t character) const
{
    std::vector<std::string> readings;
    UErrorCode status = U_ZERO_ERROR;
    if (uscript_getScript(static_cast<UChar32>(character), &status) != USCRIPT_HAN
        || U_FAILURE(status))
        return readings;
    const icu::UnicodeString alone(static_cast<UChar32>(character));
    keep(readings, spelt(*m_icu->common, alone));
    keep(readings, spelt(*m_icu->surname, alone));
    if (const char *more = dictionaryReadings(character)) {
        std::istringstream words(more);
        for (std::string word; words >> word;)
            keep(readings, spelt(*m_icu->toneless, icu::UnicodeString::fromUTF8(word)));
    }
    return readings;
}

} // namespace lark
