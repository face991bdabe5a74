#pragma once

#include "protocol/stock_messages.h"

#include <string>

namespace lark {

// Turns a ranking reply's stock number into code and name. Numbers 0.. name the Shanghai
// records after its markers, numbers from the Shanghai count on the Shenzhen ones.
// Filled once at start-up, read-only afterwards.
class StockDirectory
{
public:
    void load(StockLists lists) { m_lists = std::move(lists); }
    void clear() { m_lists = {}; }
    bool isLoaded() const { return m_lists.loaded(); }
    const StockLists &lists() const { return m_lists; }

    // Exactly 6 bytes as stored; 5 blanks when the number names no record.
    std::string stockCodeAt(int number) const;
    // Exactly 8 bytes as stored (GBK); 7 blanks when the number names no record.
    std::string stockNameAt(int number) const;

private:
    const char *recordAt(int number) const;

    StockLists m_lists;
};

} // namespace lark
