// A stored settings value: the input is written as the whole value file of a code, the three
// per-slot thresholds and the interface size of a scratch tree under TMPDIR, then loaded.

#include "fuzz_check.h"
#include "store/settings_store.h"

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
    store.readInterfaceSize();

    const std::optional<StoredSettings> stored = store.load();
    LARK_FUZZ_CHECK(stored && stored->versionText == "version=2.0");
    const std::string_view text = value.substr(0, value.find('\0'));
    LARK_FUZZ_CHECK(!stored->codes[0] || *stored->codes[0] == text);
    for (int slot = 0; slot < kStoredSlots; ++slot) {
        // The list, the quote path and the settings dialog all take a code of 6 at most.
        LARK_FUZZ_CHECK(!stored->codes[slot] || stored->codes[slot]->size() <= 6);
        if (slot == 0)
            continue;
        LARK_FUZZ_CHECK(!stored->codes[slot]);
        LARK_FUZZ_CHECK(stored->changeAlarmPct[slot] == 0 && stored->bigOrderAlarm[slot] == 0
                        && stored->volumeRatioAlarm[slot] == 0);
    }
    return 0;
}
