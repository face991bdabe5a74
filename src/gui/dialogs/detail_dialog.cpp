#include "gui/dialogs/detail_dialog.h"

#include "engine/detail_texts.h"
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
    connectToServer();
    focusFirstTabStop(m_controls, detailDialogTemplate());
}

void DetailDialog::connectToServer()
{
    if (!m_session.connect()) {
        m_setup.report(parentWidget(), QStringLiteral("严重错误发生!!!"));
        return;
    }
    refresh();
}

void DetailDialog::refresh()
{
    if (!m_session.isConnected())
        return;
    // Disabling the button moves the focus on; a refresh by keyboard brings it back.
    const bool hadFocus = focusWidget() == m_refreshButton;
    m_refreshButton->setEnabled(false);
    const std::tm now = m_setup.clock();
    QuoteRecord record;
    switch (fetchQuote(m_session, m_stockCode, record)) {
    case QuoteOutcome::Failed:
        return;
    case QuoteOutcome::Rejected:
        showTexts(rejectedDetailTexts(m_stockCode));
        break;
    case QuoteOutcome::Valid:
        showTexts(detailTexts(record, m_stockCode, m_ratioBaseline, now));
        break;
    }
    m_refreshButton->setEnabled(true);
    if (hadFocus)
        m_refreshButton->setFocus(Qt::OtherFocusReason);
}

void DetailDialog::showTexts(const DetailTexts &texts)
{
    for (const auto &[id, text] : texts)
        control<TintedLabel>(m_controls, id)->setText(QString::fromStdString(text));
}

} // namespace lark::ui
