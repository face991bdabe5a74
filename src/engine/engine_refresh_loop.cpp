#include "engine/engine.h"

#include "engine/row_texts.h"

namespace lark {

int Engine::refreshLoop()
{
    if (!loopToken.wait())
        return 1;
    // A ranking page shown while this loop waited for its turn stays on screen.
    if (optionsSnapshot().rankingOn) {
        loopToken.set();
        loopFinished.set();
        return 1;
    }
    refreshStopRequested = 0;
    m_list.deleteAllRows();
    {
        std::lock_guard lock(settingsLock);
        options.refreshSeconds = 5;
    }
    const int rows = rowCount(m_interfaceSize);
    loopFinished.reset();
    for (int pass = 1; !loopShouldStop(); ++pass) {
        bool everyReply = true;
        int row = 0;
        for (; row < rows && !loopShouldStop(); ++row)
            everyReply = handleRow(row) && everyReply;
        // A pass cut short by a stop tells only of what failed in it.
        if (row == rows || !everyReply)
            notePass(everyReply);
        if (pass == m_config.passLimit
            || !pause(optionsSnapshot().refreshSeconds * m_config.pauseUnit))
            break;
    }
    loopToken.set();
    loopFinished.set();
    return 1;
}

bool Engine::loopShouldStop()
{
    return quitRequested || refreshStopRequested || optionsSnapshot().rankingOn;
}

bool Engine::handleRow(int row)
{
    std::string code;
    {
        std::lock_guard lock(settingsLock);
        tables.compactFrom(row);
        code = tables.watchCodes[row];
    }
    if (isEmptyCode(code)) {
        writeRow(row, emptyRowTexts(m_interfaceSize));
        return true;
    }
    QuoteRecord record;
    switch (fetchQuote(m_session, code, record)) {
    case QuoteOutcome::Failed:
        return quitRequested != 0; // the row keeps what it showed; a quit is no failure
    case QuoteOutcome::Rejected:
        writeRow(row, invalidRowTexts(code, m_interfaceSize));
        return true;
    case QuoteOutcome::Valid:
        break;
    }
    float changePct = changePercent(record.last, record.previousClose);
    m_list.setTextColour(rowColour(changePct));
    writeRow(row, quoteRowTexts(record, code, m_interfaceSize));
    checkAlarms(row, record, changePct);
    return true;
}

// A pass with every reply ends a failure; the first without one since then starts it.
void Engine::notePass(bool everyReply)
{
    const std::tm now = m_config.clock();
    {
        std::lock_guard lock(m_feedLock);
        if (everyReply) {
            m_feed.phase = FeedState::Phase::Flowing;
            m_feed.failingSince.reset();
            m_feed.lastPass = now;
        } else if (m_feed.phase != FeedState::Phase::Failing) {
            m_feed.phase = FeedState::Phase::Failing;
            m_feed.failingSince = now;
        }
    }
    m_desktop.glanceChanged();
}

FeedState Engine::feedState()
{
    std::lock_guard lock(m_feedLock);
    return m_feed;
}

// Row r always shows slot r: replaced whole, its code first.
void Engine::writeRow(int row, const std::vector<std::string> &texts)
{
    m_list.deleteRow(row);
    m_list.insertRow(row, texts[0]);
    for (size_t column = 0; column < texts.size(); ++column)
        m_list.setText(row, static_cast<int>(column), texts[column]);
}

} // namespace lark
