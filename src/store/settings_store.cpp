#include "store/settings_store.h"

#include "base/c_format.h"

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace lark {
namespace {

constexpr const char *kSoftware = "SOFTWARE";
constexpr const char *kMaker = "halvern";
constexpr const char *kProduct = "tamberly";
constexpr const char *kLoadedVersion = "version=2.0";

// Codes keep the short limit, so an over-long code falls back to its default; numbers get
// room for anything the program itself writes.
constexpr size_t kCodeLimit = 7;
constexpr size_t kNumberLimit = 64;

constexpr int kChangePctBase = 16;
constexpr int kBigOrderBase = 32;
constexpr int kSizeValue = 48;
constexpr int kVersionValue = 49;
constexpr int kVolumeRatioBase = 50;

std::string valueName(int n)
{
    return std::to_string(n);
}

// A stored number as atoi or atof reads it, except that one beyond its field stops at the
// field's limit instead of wrapping; beyond says whether it did.
template<typename T>
T fieldValue(const std::string &text, bool *beyond = nullptr);

template<>
int32_t fieldValue<int32_t>(const std::string &text, bool *beyond)
{
    const long long n = std::strtoll(text.c_str(), nullptr, 10);
    if (beyond)
        *beyond = n < INT32_MIN || n > INT32_MAX;
    return static_cast<int32_t>(std::clamp<long long>(n, INT32_MIN, INT32_MAX));
}

template<>
float fieldValue<float>(const std::string &text, bool *beyond)
{
    const double x = std::strtod(text.c_str(), nullptr);
    if (beyond)
        *beyond = x < -FLT_MAX || x > FLT_MAX;
    return static_cast<float>(std::clamp<double>(x, -FLT_MAX, FLT_MAX));
}

// The text a number is saved as. Nothing while the stored text is a number beyond the field
// that loaded as this very value: it stays as the user wrote it. Only a value at the field's
// limit can have loaded so, so only then is the stored text read.
template<typename T, typename ReadStored>
std::optional<std::string> numberText(ReadStored readStored, T value, const char *format)
{
    if (value == std::numeric_limits<T>::max() || value == std::numeric_limits<T>::lowest()) {
        bool beyond = false;
        const std::optional<std::string> stored = readStored();
        if (stored && fieldValue<T>(*stored, &beyond) == value && beyond)
            return std::nullopt;
    }
    if constexpr (std::is_same_v<T, float>)
        return cformat(format, double(value));
    else
        return cformat(format, value);
}

} // namespace

void SettingsStore::prepare() const
{
    if (auto product = openProductKey())
        m_registry.removeTemporaries(*product);
    if (m_registry.open(m_registry.root(), kSoftware))
        return;
    std::error_code ec;
    std::filesystem::create_directories(m_registry.root(), ec);
    if (auto software = m_registry.create(m_registry.root(), kSoftware))
        m_registry.create(*software, kMaker);
}

std::optional<Registry::Key> SettingsStore::openProductKey() const
{
    auto software = m_registry.open(m_registry.root(), kSoftware);
    auto maker = software ? m_registry.open(*software, kMaker) : std::nullopt;
    return maker ? m_registry.open(*maker, kProduct) : std::nullopt;
}

int SettingsStore::readInterfaceSize() const
{
    auto key = openProductKey();
    auto text = key ? m_registry.query(*key, valueName(kSizeValue), kNumberLimit) : std::nullopt;
    return text ? fieldValue<int32_t>(*text) : 1;
}

std::optional<StoredSettings> SettingsStore::load() const
{
    auto key = openProductKey();
    if (!key)
        return std::nullopt;
    auto number = [&](int n) { return m_registry.query(*key, valueName(n), kNumberLimit); };
    StoredSettings settings;
    for (int slot = 0; slot < kStoredSlots; ++slot) {
        auto code = m_registry.query(*key, valueName(slot), kCodeLimit);
        // A code and its NUL fill the limit, so 7 bytes without a NUL are over-long too.
        if (code && code->size() < kCodeLimit)
            settings.codes[slot] = std::move(*code);
        auto pct = number(kChangePctBase + slot);
        settings.changeAlarmPct[slot] = pct ? fieldValue<float>(*pct) : 0;
        auto bigOrder = number(kBigOrderBase + slot);
        settings.bigOrderAlarm[slot] = bigOrder ? fieldValue<int32_t>(*bigOrder) : 0;
        auto ratio = number(kVolumeRatioBase + slot);
        settings.volumeRatioAlarm[slot] = ratio ? fieldValue<float>(*ratio) : 0;
    }
    settings.versionText = kLoadedVersion;
    return settings;
}

bool SettingsStore::save(const StoredSettings &settings) const
{
    auto software = m_registry.open(m_registry.root(), kSoftware);
    auto maker = software ? m_registry.open(*software, kMaker) : std::nullopt;
    if (!maker)
        return true;
    auto product = m_registry.create(*maker, kProduct);
    if (!product)
        return false;
    std::vector<Registry::Value> values;
    auto put = [&](int n, std::string text) { values.emplace_back(valueName(n), std::move(text)); };
    auto putNumber = [&](int n, auto value, const char *format) {
        auto stored = [&] { return m_registry.query(*product, valueName(n), kNumberLimit); };
        if (auto text = numberText(stored, value, format))
            put(n, std::move(*text));
    };
    for (int slot = 0; slot < kStoredSlots; ++slot)
        put(slot, settings.codes[slot].value_or(""));
    for (int slot = 0; slot < kStoredSlots; ++slot)
        putNumber(kChangePctBase + slot, settings.changeAlarmPct[slot], "%6.2f");
    for (int slot = 0; slot < kStoredSlots; ++slot)
        putNumber(kBigOrderBase + slot, settings.bigOrderAlarm[slot], "%d");
    put(kSizeValue, cformat("%d", settings.interfaceSize));
    put(kVersionValue, settings.versionText);
    for (int slot = 0; slot < kStoredSlots; ++slot)
        putNumber(kVolumeRatioBase + slot, settings.volumeRatioAlarm[slot], "%6.2f");
    return m_registry.set(*product, values);
}

} // namespace lark
