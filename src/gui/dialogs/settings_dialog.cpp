#include "gui/dialogs/settings_dialog.h"

#include "gui/controls/code_completion.h"
#include "gui/dialogs/dialog_forms.h"
#include "gui/dialogs/field_text.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QValidator>

#include <algorithm>
#include <cmath>
#include <optional>

namespace lark::ui {
namespace {

const char *const kSortKeys[] = {"代码", "成交额", "成交量", "涨幅", "跌幅", "震幅", "委比"};
using S = SettingsControl;
constexpr S kFirstRadio = S::ShanghaiA;
constexpr int kCodeLimit = 6;
constexpr S kWatchControls[] = {S::RefreshSlider,       S::StockIndex,     S::StockCode,
                                S::PriceAlarmOn,        S::AlarmPrice,     S::NewIssueNoticeOn,
                                S::BonusRightsNoticeOn, S::FlashOn,        S::RingOn,
                                S::ChartOnAlarm,        S::ChangeAlarmOn,  S::BigOrderAlarmOn,
                                S::VolumeRatioAlarmOn,  S::ChangeAlarmPct, S::BigOrderAlarm,
                                S::VolumeRatioAlarm};
constexpr S kRankingControls[]
    = {S::ShanghaiA, S::ShanghaiB, S::ShenzhenA, S::ShenzhenB, S::SortKey};

enum class FieldKind { Number, Text, Check, Integer, Radio };
struct Range
{
    double low;
    double high;
};
struct FieldRow
{
    S id;
    FieldKind kind;
    int SettingsRecord::*integer; // Check, Integer, Radio
    float SettingsRecord::*number; // Number
    std::optional<Range> range;
};

using R = SettingsRecord;
FieldRow check(S id, int R::*field)
{
    return {id, FieldKind::Check, field, nullptr, std::nullopt};
}
FieldRow integer(S id, int R::*field, std::optional<Range> range = std::nullopt)
{
    return {id, FieldKind::Integer, field, nullptr, range};
}
FieldRow number(S id, float R::*field, std::optional<Range> range = std::nullopt)
{
    return {id, FieldKind::Number, nullptr, field, range};
}

// The field exchange, in the order fields are shown and taken.
const FieldRow kFields[]
    = {number(S::AlarmPrice, &R::alarmPrice, Range {0, 1e9}),
       {S::StockCode, FieldKind::Text, nullptr, nullptr, std::nullopt},
       check(S::RingOn, &R::ringOn),
       check(S::PriceAlarmOn, &R::priceAlarmOn),
       check(S::FlashOn, &R::flashOn),
       check(S::BonusRightsNoticeOn, &R::bonusRightsNoticeOn),
       check(S::NewIssueNoticeOn, &R::newIssueNoticeOn),
       integer(S::StockIndex, &R::stockIndex, Range {1, 16}),
       {kFirstRadio, FieldKind::Radio, &R::rankingMarket, nullptr, std::nullopt},
       check(S::RankingOn, &R::rankingOn),
       check(S::ChartOnAlarm, &R::chartOnAlarm),
       check(S::BigOrderAlarmOn, &R::bigOrderAlarmOn),
       check(S::ChangeAlarmOn, &R::changeAlarmOn),
       check(S::VolumeRatioAlarmOn, &R::volumeRatioAlarmOn),
       number(S::ChangeAlarmPct, &R::changeAlarmPct),
       integer(S::BigOrderAlarm, &R::bigOrderAlarm),
       number(S::VolumeRatioAlarm, &R::volumeRatioAlarm)};

QString numberText(double value)
{
    return QString::fromStdString(formatNumber(value));
}

QString rangeMessage(FieldKind kind, Range range)
{
    if (kind == FieldKind::Number)
        return QStringLiteral("Please enter a number between %1 and %2.")
            .arg(numberText(range.low), numberText(range.high));
    return QStringLiteral("Please enter an integer between %1 and %2.")
        .arg(QString::number(int(range.low)), QString::number(int(range.high)));
}

bool outside(double value, const std::optional<Range> &range)
{
    return range && (value < range->low || value > range->high);
}

QString editText(QWidget *edit)
{
    return qobject_cast<QLineEdit *>(edit)->text();
}

QButtonGroup *radioGroup(const Controls &controls)
{
    return control<QAbstractButton>(controls, kFirstRadio)->group();
}

void showRadio(QButtonGroup *group, int index)
{
    // An exclusive group cannot clear its last checked button.
    group->setExclusive(false);
    for (QAbstractButton *button : group->buttons())
        button->setChecked(group->id(button) == ControlId(kFirstRadio).number() + index);
    group->setExclusive(true);
}

// The message that refuses a field, if any.
using Refusal = std::optional<QString>;

Refusal takeNumber(float &field, const QString &text, const std::optional<Range> &range)
{
    const auto value = parseNumber(text.toStdString());
    if (!value || !std::isfinite(float(*value)))
        return QStringLiteral("Please enter a number.");
    field = float(*value);
    if (outside(field, range))
        return rangeMessage(FieldKind::Number, *range);
    return std::nullopt;
}

Refusal takeInteger(int &field, const QString &text, const std::optional<Range> &range)
{
    const auto value = parseInteger(text.toStdString());
    if (!value)
        return QStringLiteral("Please enter an integer.");
    field = *value;
    if (outside(field, range))
        return rangeMessage(FieldKind::Integer, *range);
    return std::nullopt;
}

Refusal takeText(std::string &field, const QString &text)
{
    field = text.toStdString();
    if (text.size() > kCodeLimit)
        return QStringLiteral("Please enter no more than %1 characters.").arg(kCodeLimit);
    return std::nullopt;
}

// Takes one field from its control into the record.
Refusal takeField(SettingsRecord &record, const Controls &controls, const FieldRow &row)
{
    QWidget *widget = control<QWidget>(controls, row.id);
    switch (row.kind) {
    case FieldKind::Number:
        return takeNumber(record.*row.number, editText(widget), row.range);
    case FieldKind::Integer:
        return takeInteger(record.*row.integer, editText(widget), row.range);
    case FieldKind::Text:
        return takeText(record.stockCode, editText(widget));
    case FieldKind::Check:
        record.*row.integer = qobject_cast<QAbstractButton *>(widget)->isChecked() ? 1 : 0;
        break;
    case FieldKind::Radio: {
        const int id = radioGroup(controls)->checkedId();
        record.*row.integer = id < 0 ? -1 : id - ControlId(kFirstRadio).number();
        break;
    }
    }
    return std::nullopt;
}

} // namespace

// Typing cannot make the code longer than six characters, yet a longer code shown from the
// record stays whole, so that OK can refuse it.
class SettingsDialog::CodeLengthLimit : public QValidator
{
public:
    using QValidator::QValidator;
    void allow(qsizetype length) { m_allowed = std::max<qsizetype>(kCodeLimit, length); }
    State validate(QString &input, int &) const override
    {
        if (input.size() > m_allowed)
            return Invalid;
        m_allowed = std::max<qsizetype>(kCodeLimit, input.size());
        return Acceptable;
    }

private:
    mutable qsizetype m_allowed = kCodeLimit;
};

SettingsDialog::SettingsDialog(const SettingsRecord &record, QWidget *parent)
    : QDialog(parent)
    , m_record(record)
    , m_codeLimit(new CodeLengthLimit(this))
{
    m_controls = buildDialog(this, settingsDialogTemplate());
    auto *sortKeys = control<QComboBox>(m_controls, S::SortKey);
    for (const char *key : kSortKeys)
        sortKeys->addItem(QString::fromUtf8(key));
    // The template's height includes the dropped-down list.
    sortKeys->resize(sortKeys->width(), sortKeys->sizeHint().height());
    control<QLineEdit>(m_controls, S::StockCode)->setValidator(m_codeLimit);
    control<QWidget>(m_controls, S::VolumeRatioAlarm)->setFocusPolicy(Qt::ClickFocus);
    connect(control<QAbstractButton>(m_controls, S::Ok), &QAbstractButton::clicked, this,
            &SettingsDialog::accept);
    connect(control<QAbstractButton>(m_controls, S::Cancel), &QAbstractButton::clicked, this,
            &SettingsDialog::reject);
    connect(control<QAbstractButton>(m_controls, S::RankingOn), &QAbstractButton::clicked, this,
            [this] {
                takeRecord();
                enableByMode();
            });

    showRecord();
    const bool knownKey
        = m_record.rankingSortKey >= 0 && m_record.rankingSortKey < sortKeys->count();
    sortKeys->setCurrentIndex(knownKey ? m_record.rankingSortKey : -1);
    setUpSlider();
    control<QWidget>(m_controls, S::NewIssueNoticeOn)->hide();
    control<QWidget>(m_controls, S::BonusRightsNoticeOn)->hide();
    enableByMode();
}

void SettingsDialog::offerCodes(DirectoryRequest request)
{
    new CodeCompletion(control<QLineEdit>(m_controls, S::StockCode), std::move(request));
}

void SettingsDialog::setUpSlider()
{
    auto *slider = control<QSlider>(m_controls, S::RefreshSlider);
    auto *seconds = control<QLabel>(m_controls, S::RefreshText);
    slider->setRange(5, 60);
    slider->setSingleStep(5);
    slider->setPageStep(5);
    slider->setTickInterval(5);
    slider->setTickPosition(QSlider::TicksAbove);
    auto showSeconds = [seconds](int value) { seconds->setText(QString::number(value) + "秒"); };
    connect(slider, &QSlider::valueChanged, seconds, showSeconds);
    slider->setValue(std::max(m_record.refreshSeconds, 5));
    showSeconds(slider->value());
}

void SettingsDialog::showRecord()
{
    for (const FieldRow &row : kFields) {
        QWidget *widget = control<QWidget>(m_controls, row.id);
        switch (row.kind) {
        case FieldKind::Number:
            qobject_cast<QLineEdit *>(widget)->setText(numberText(m_record.*row.number));
            break;
        case FieldKind::Integer:
            qobject_cast<QLineEdit *>(widget)->setText(QString::number(m_record.*row.integer));
            break;
        case FieldKind::Text: {
            const QString code = QString::fromStdString(m_record.stockCode);
            m_codeLimit->allow(code.size());
            qobject_cast<QLineEdit *>(widget)->setText(code);
            break;
        }
        case FieldKind::Check: {
            const int state = m_record.*row.integer;
            qobject_cast<QAbstractButton *>(widget)->setChecked(state == 1 || state == 2);
            break;
        }
        case FieldKind::Radio:
            showRadio(radioGroup(m_controls), m_record.*row.integer);
            break;
        }
    }
}

bool SettingsDialog::takeRecord()
{
    for (const FieldRow &row : kFields) {
        const auto refusal = takeField(m_record, m_controls, row);
        if (!refusal)
            continue;
        QWidget *widget = control<QWidget>(m_controls, row.id);
        m_report(this, *refusal);
        widget->setFocus(Qt::OtherFocusReason);
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            edit->selectAll();
        return false;
    }
    return true;
}

void SettingsDialog::enableByMode()
{
    const bool ranking = m_record.rankingOn != 0;
    for (S id : kWatchControls)
        control<QWidget>(m_controls, id)->setEnabled(!ranking);
    for (S id : kRankingControls)
        control<QWidget>(m_controls, id)->setEnabled(ranking);
}

void SettingsDialog::accept()
{
    m_record.refreshSeconds = control<QSlider>(m_controls, S::RefreshSlider)->value();
    m_record.rankingSortKey = control<QComboBox>(m_controls, S::SortKey)->currentIndex();
    if (takeRecord())
        QDialog::accept();
}

} // namespace lark::ui
