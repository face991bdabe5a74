#pragma once

#include "engine/detail_texts.h"
#include "engine/local_clock.h"
#include "gui/dialogs/dialog_template.h"
#include "gui/dialogs/exclamation_box.h"
#include "protocol/quote_session.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class QPushButton;

namespace lark::ui {

// What the detail dialog takes from its opener besides the stock.
struct DetailDialogSetup
{
    ServerAddress quoteServer;
    SessionTimeouts timeouts;
    // Opens the stock's chart page in the user's browser.
    std::function<void(const std::string &code)> openChart;
    LocalClock clock = systemLocalTime;
    MessageReporter report = showExclamation;
};

// The modal detail dialog: one stock's full quote over a connection of its own.
// Its refresh blocks the user-interface thread for at most the session's time-outs.
class DetailDialog : public QDialog
{
    Q_OBJECT

public:
    // Connects and shows the first quote before it returns; a host that cannot be resolved
    // is reported, and the dialog then stays without a connection.
    DetailDialog(std::string stockCode, int32_t ratioBaseline, DetailDialogSetup setup,
                 QWidget *parent = nullptr);

private:
    void connectToServer();
    // The "刷新" button: fetches the quote again. A failed query leaves the button disabled.
    void refresh();
    void showTexts(const DetailTexts &texts);

    std::string m_stockCode;
    int32_t m_ratioBaseline;
    DetailDialogSetup m_setup;
    QuoteSession m_session;
    Controls m_controls;
    QPushButton *m_refreshButton = nullptr;
};

} // namespace lark::ui
