#include "lookup/folded_text.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace lark {

std::string foldedText(std::string_view utf8)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *fold = icu::Normalizer2::getNFKCCasefoldInstance(status);
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    icu::UnicodeString folded = U_SUCCESS(status) ? fold->normalize(text, status) : text;
    if (U_FAILURE(status))
        folded = text;
    icu::UnicodeString kept;
    for (int32_t i = 0; i < folded.length(); i = folded.moveIndex32(i, 1)) {
        const UChar32 c = folded.char32At(i);
        if (!u_isUWhiteSpace(c))
            kept.append(c);
    }
    std::string out;
    kept.toUTF8String(out);
    return out;
}

} // namespace lark
