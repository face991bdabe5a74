#pragma once

#include "engine/ports.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace lark {

// The quote list kept as plain rows of texts, exactly as the engine wrote them.
class ConsoleList : public QuoteListPort
{
public:
    void deleteAllRows() override;
    void deleteRow(int row) override;
    void insertRow(int row, const std::string &code) override;
    void setText(int row, int column, const std::string &text) override;
    void setTextColour(Rgb colour) override;
    void setStatusText(const std::string &text) override;
    void enablePageButton(PageButton) override { }

    std::vector<std::vector<std::string>> rows() const;
    // Each row's colour: the one set before it was written, none when none was.
    std::vector<std::optional<Rgb>> rowColours() const;
    std::string status() const;
    // True once after every change.
    bool takeChanged();

private:
    mutable std::mutex m_mutex;
    std::vector<std::vector<std::string>> m_rows;
    std::vector<std::optional<Rgb>> m_rowColours;
    std::optional<Rgb> m_pendingColour; // set since the last row was written
    std::string m_status;
    bool m_changed = false;
};

} // namespace lark
