#pragma once

#include "engine/detail_ids.h"
#include "protocol/quote_record.h"

#include <ctime>
#include <string>
#include <utility>
#include <vector>

namespace lark {

// Labels of the detail view and their texts, in the order they are written.
using DetailTexts = std::vector<std::pair<DetailControl, std::string>>;

DetailTexts detailTexts(const QuoteRecord &record, const std::string &code, int32_t baseline,
                        const std::tm &now);
// A reply that was not a quote: "--" everywhere but the code.
DetailTexts rejectedDetailTexts(const std::string &code);

// Captions that replace the template's texts at start.
const DetailTexts &detailCaptions();

} // namespace lark
