#pragma once

#include "protocol/quote_record.h"

#include <ctime>
#include <string>
#include <utility>
#include <vector>

namespace lark {

// The value labels of the detail view (control id, text) in the order they are written.
using DetailTexts = std::vector<std::pair<int, std::string>>;

DetailTexts detailTexts(const QuoteRecord &record, const std::string &code, int32_t baseline,
                        const std::tm &now);
// A reply that was not a quote: "--" everywhere but the code.
DetailTexts rejectedDetailTexts(const std::string &code);

// Captions (control id, text) that replace the template's texts at start.
const std::vector<std::pair<int, std::string>> &detailCaptions();

} // namespace lark
