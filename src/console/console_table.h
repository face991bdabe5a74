#pragma once

#include "engine/detail_texts.h"

#include <string>
#include <vector>

namespace lark {

// Terminal cells the UTF-8 text takes: two for a CJK character, one for any other.
size_t displayWidth(const std::string &text);

// One row's texts joined by tabs, as scripts read them. Every text, here and in the tables
// below, is shown through terminalText.
std::string joinedRow(const std::vector<std::string> &row);
// The column headers, then one line per row, each column padded to its widest text.
std::vector<std::string> tableLines(std::vector<std::vector<std::string>> rows, int interfaceSize);
// The quote list as an aligned table under its column headers, with the status line.
std::string quoteTable(const std::vector<std::vector<std::string>> &rows, int interfaceSize,
                       const std::string &status);
// The widest start of text that fits in that many terminal columns.
std::string clippedToWidth(const std::string &text, size_t columns);
// A full quote, caption beside value.
std::string detailTable(const DetailTexts &texts);

} // namespace lark
