#include "gui/dialogs/detail_dialog.h"

#include "gui/controls/tinted_label.h"
#include "gui/dialogs/dialog_forms.h"
#include "protocol/quote_record.h"

#include <QPushButton>

namespace lark::ui {
namespace {

// Every static text of the template is a tinted label.
std::map<ControlId, ControlFactory> labelFactories()
{
    std::map<ControlId, ControlFactory> factories;
    for (const ControlTemplate &c : detailDialogTemplate().controls) {
        if (c.kind == ControlKind::Static && c.id)
            factories[*c.id] = [](const ControlTemplate &label, QWidget *parent) -> QWidget * {
                return new TintedLabel(QString::fromUtf8(label.text), parent);
            };
    }
    return factories;
}

} // namespace

DetailDialog::DetailDialog(std::string stockCode, int32_t ratioBaseline, DetailDialogSetup setup,
                           QWidget *parent)
    : QDialog(parent)
    , m_stockCode(std::move(stockCode))
    , m_ratioBaseline(ratioBaseline)
    , m_setup(std::move(setup))
    , m_session(m_setup.quoteServer, m_setup.timeouts)
{
    m_controls = buildDialog(this, detailDialogTemplate(), labelFactories());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kDetailBackground);
    setPalette(colours);
    setAutoFillBackground(true);

    m_refreshButton = control<QPushButton>(m_controls, DetailControl::Refresh);
    connect(m_refreshButton, &QPushButton::clicked, this, &DetailDialog::refresh);
    connect(control<QPushButton>(m_controls, DetailControl::Chart), &QPushButton::clicked, this,
            [this] {
                if (m_setup.openChart)
                    m_setup.openChart(m_stockCode);
            });
    connect(control<QPushButton>(m_controls, DetailControl::Ok), &QPushButton::clicked, this,
            &DetailDialog::accept);

    showTexts(detailCaptions());
    focusFirstTabStop(m_controls, detailDialogTemplate());
    startQuery();
}

DetailDialog::~DetailDialog()
{
    m_session.abort();
    m_worker.closeAndJoin();
}

// The dialog goes at once: the query in progress ends, and its answer is dropped.
void DetailDialog::done(int result)
{
    m_closed = true;
    m_session.abort();
    QDialog::done(result);
}

void DetailDialog::refresh()
{
    if (m_connection == Connection::Connected && !m_queryPending)
        startQuery();
}

// The button is disabled until the answer; a focus it had waits on the dialog meanwhile, so
// that keys go to no other button.
void DetailDialog::startQuery()
{
    m_queryPending = true;
    m_focusOnRefresh = focusWidget() == m_refreshButton;
    if (m_focusOnRefresh)
        setFocus(Qt::OtherFocusReason);
    m_refreshButton->setEnabled(false);
    const std::tm now = m_setup.clock();
    const bool connectFirst = m_connection == Connection::Connecting;
    m_worker.start([this, connectFirst, now] {
        const Answer answer = ask(connectFirst);
        QMetaObject::invokeMethod(
            this, [this, answer, now] { showAnswer(answer, now); }, Qt::QueuedConnection);
    });
}

DetailDialog::Answer DetailDialog::ask(bool connectFirst)
{
    Answer answer;
    if (connectFirst && !m_session.connect()) {
        answer.reply = Reply::Unresolved;
        return answer;
    }
    switch (fetchQuote(m_session, m_stockCode, answer.record)) {
    case QuoteOutcome::Failed:
        answer.reply = Reply::Failed;
        break;
    case QuoteOutcome::Rejected:
        answer.reply = Reply::Rejected;
        break;
    case QuoteOutcome::Valid:
        answer.reply = Reply::Valid;
        break;
    }
    return answer;
}

void DetailDialog::showAnswer(const Answer &answer, const std::tm &askedAt)
{
    if (m_closed)
        return;
    m_queryPending = false;
    m_connection
        = answer.reply == Reply::Unresolved ? Connection::Unresolved : Connection::Connected;
    if (answer.reply == Reply::Failed) {
        // The button stays disabled; the focus goes on as it would from a disabled button.
        if (m_focusOnRefresh)
            focusFirstTabStop(m_controls, detailDialogTemplate());
        return;
    }
    if (answer.reply == Reply::Rejected)
        showTexts(rejectedDetailTexts(m_stockCode));
    else if (answer.reply == Reply::Valid)
        showTexts(detailTexts(answer.record, m_stockCode, m_ratioBaseline, askedAt));
    m_refreshButton->setEnabled(true);
    if (m_focusOnRefresh)
        m_refreshButton->setFocus(Qt::OtherFocusReason);
    if (answer.reply == Reply::Unresolved)
        m_setup.report(this, QStringLiteral("严重错误发生!!!"));
}

void DetailDialog::showTexts(const DetailTexts &texts)
{
    for (const auto &[id, text] : texts)
        control<TintedLabel>(m_controls, id)->setText(QString::fromStdString(text));
}

} // namespace lark::ui
