#include "store/settings_store.h"

#include "protocol/c_format.h"

#include <cstdlib>

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

} // namespace

void SettingsStore::provisionMakerKey() const
{
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
    return text ? std::atoi(text->c_str()) : 1;
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
        settings.changeAlarmPct[slot] = pct ? static_cast<float>(std::atof(pct->c_str())) : 0;
        auto bigOrder = number(kBigOrderBase + slot);
        settings.bigOrderAlarm[slot] = bigOrder ? std::atoi(bigOrder->c_str()) : 0;
        auto ratio = number(kVolumeRatioBase + slot);
        settings.volumeRatioAlarm[slot] = ratio ? static_cast<float>(std::atof(ratio->c_str())) : 0;
    }
    settings.versionText = kLoadedVersion;
    return settings;
}

void SettingsStore::save(const StoredSettings &settings) const
{
    auto software = m_registry.open(m_registry.root(), kSoftware);
    auto maker = software ? m_registry.open(*software, kMaker) : std::nullopt;
    auto product = maker ? m_registry.create(*maker, kProduct) : std::nullopt;
    if (!product)
        return;
    std::vector<Registry::Value> values;
    auto put = [&](int n, std::string text) { values.emplace_back(valueName(n), std::move(text)); };
    for (int slot = 0; slot < kStoredSlots; ++slot)
        put(slot, settings.codes[slot].value_or(""));
    for (int slot = 0; slot < kStoredSlots; ++slot)
        put(kChangePctBase + slot, cformat("%6.2f", double(settings.changeAlarmPct[slot])));
    for (int slot = 0; slot < kStoredSlots; ++slot)
        put(kBigOrderBase + slot, cformat("%d", settings.bigOrderAlarm[slot]));
    put(kSizeValue, cformat("%d", settings.interfaceSize));
    put(kVersionValue, settings.versionText);
    for (int slot = 0; slot < kStoredSlots; ++slot)
        put(kVolumeRatioBase + slot, cformat("%6.2f", double(settings.volumeRatioAlarm[slot])));
    m_registry.set(*product, values);
}

} // namespace lark
