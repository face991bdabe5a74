#pragma once

#include "engine/detail_texts.h"

#include <string>
#include <vector>

namespace lark {

// One row's texts joined by tabs, as scripts read them. Every text, here and in the tables
// below, is shown through terminalText.
std::string joinedRow(const std::vector<std::string> &row);
// The quote list as an aligned table under its column headers, with the status line.
std::string quoteTable(std::vector<std::vector<std::string>> rows, int interfaceSize,
                       const std::string &status);
// A full quote, caption beside value.
std::string detailTable(const DetailTexts &texts);

} // namespace lark
