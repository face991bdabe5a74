#pragma once

#include "engine/detail_texts.h"
#include "engine/local_clock.h"
#include "engine/thread_set.h"
#include "gui/dialogs/dialog_template.h"
#include "gui/dialogs/exclamation_box.h"
#include "protocol/quote_session.h"

#include <QDialog>

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

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
// Thread rule: the dialog lives on the user-interface thread; its connect and quote queries run
// one at a time on a worker it owns, which touches only the session and hands each answer back
// to the user-interface thread as a queued call. Closing the dialog aborts the query in
// progress and drops a late answer; destruction joins the worker.
class DetailDialog : public QDialog
{
    Q_OBJECT

public:
    // Starts to connect and fetch the first quote; a host that cannot be resolved is reported,
    // and the dialog then stays without a connection.
    DetailDialog(std::string stockCode, int32_t ratioBaseline, DetailDialogSetup setup,
                 QWidget *parent = nullptr);
    ~DetailDialog() override;

    // A connect or quote query has not answered yet.
    bool isQueryPending() const { return m_queryPending; }

    void done(int result) override;

private:
    enum class Connection { Connecting, Connected, Unresolved };
    enum class Reply { Unresolved, Failed, Rejected, Valid };
    struct Answer
    {
        Reply reply = Reply::Failed;
        QuoteRecord record;
    };

    // The "刷新" button: fetches the quote again. A failed query leaves the button disabled.
    void refresh();
    void startQuery();
    // On the worker.
    Answer ask(bool connectFirst);
    void showAnswer(const Answer &answer, const std::tm &askedAt);
    void showTexts(const DetailTexts &texts);

    const std::string m_stockCode;
    const int32_t m_ratioBaseline;
    DetailDialogSetup m_setup;
    QuoteSession m_session;
    Controls m_controls;
    QPushButton *m_refreshButton = nullptr;
    Connection m_connection = Connection::Connecting;
    bool m_queryPending = false;
    bool m_focusOnRefresh = false; // the refresh button had the focus when the query began
    bool m_closed = false;
    ThreadSet m_worker;
};

} // namespace lark::ui
