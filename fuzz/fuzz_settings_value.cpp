// A stored settings value: the input is written as the whole value file of a code, the three
// per-slot thresholds and the interface size of a scratch tree under TMPDIR, then loaded.

#include "fuzz_check.h"
#include "settings_store.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

using namespace lark;
namespace fs = std::filesystem;

namespace {

// Never destroyed, so the exit handler that removes it can still name it.
const fs::path &scratchRoot()
{
    static const fs::path *root = [] {
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern
            = std::string(tmp && *tmp ? tmp : "/tmp") + "/lark-fuzz-settings-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        auto *made = new fs::path(pattern);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(scratchRoot(), ec);
        });
        return made;
    }();
    return *root;
}

void writeValue(const fs::path &key, const char *name, std::string_view bytes)
{
    std::ofstream out(key / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    LARK_FUZZ_CHECK(out.good());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t length)
{
    const std::string_view value = fuzz::asBytes(data, length);
    const fs::path &root = scratchRoot();
    // Loading writes nothing, so these five are the only values the tree ever holds.
    const fs::path product = root / "SOFTWARE" / "halvern" / "tamberly";
    fs::create_directories(product);
    for (const char *name : {"0", "16", "32", "48", "50"})
        writeValue(product, name, value);

    const SettingsStore store(root);
    const int size = store.readInterfaceSize();
    LARK_FUZZ_CHECK(size >= 1 && size <= 3);

    WatchTables tables;
    tables.resetForStart();
    std::string version;
    store.loadSettings(tables, version);
    LARK_FUZZ_CHECK(version == "version=2.0");
    const std::string_view text = value.substr(0, value.find('\0'));
    LARK_FUZZ_CHECK(tables.watchCodes[0] == kDefaultCodes[0] || tables.watchCodes[0] == text);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        // The list, the quote path and the settings dialog all take a code of 6 at most.
        LARK_FUZZ_CHECK(tables.watchCodes[slot].size() <= 6);
        if (slot == 0)
            continue;
        LARK_FUZZ_CHECK(tables.watchCodes[slot] == kDefaultCodes[slot]);
        LARK_FUZZ_CHECK(tables.changeAlarmPct[slot] == 0 && tables.bigOrderAlarm[slot] == 0
                        && tables.volumeRatioAlarm[slot] == 0);
    }
    return 0;
}
