// A link's desktop command line: the HTML handler's Exec line is cut at its file or URL
// placeholder before the target is appended as one more argument.

#include "fuzz_check.h"
#include "gui/controls/hyperlink.h"

#include <QString>

using lark::ui::cutAtPlaceholder;

namespace {

const QString kPlaceholders[] = {"%u", "%U", "%f", "%F"};

bool startsWith(const QString &text, const QString &before, const QString &after)
{
    for (const QString &p : kPlaceholders)
        if (text.startsWith(before + p + after))
            return true;
    return false;
}

bool holds(const QString &text, const QString &before, const QString &after)
{
    for (const QString &p : kPlaceholders)
        if (text.contains(before + p + after))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString line = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    const QString cut = cutAtPlaceholder(line);
    const QString rest = line.mid(cut.size());
    LARK_FUZZ_CHECK(line.startsWith(cut));
    if (!holds(line, {}, {})) {
        LARK_FUZZ_CHECK(cut == line);
        return 0;
    }
    // A quoted placeholder wins wherever it stands and goes with its opening quote; without
    // one, the cut is at the first plain placeholder. Either way the program never gets the
    // chosen placeholder in place of the target.
    const QString quote = QStringLiteral("\"");
    if (holds(line, quote, quote)) {
        LARK_FUZZ_CHECK(startsWith(rest, quote, quote));
        LARK_FUZZ_CHECK(!holds(cut, quote, quote));
    } else {
        LARK_FUZZ_CHECK(startsWith(rest, {}, {}));
        LARK_FUZZ_CHECK(!holds(cut, {}, {}));
    }
    return 0;
}
