#include "gui/dialogs/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <algorithm>
#include <memory>
#include <span>

using namespace lark;
using namespace lark::ui;

namespace {

using S = SettingsControl;
constexpr S kRankingControls[]
    = {S::ShanghaiA, S::ShanghaiB, S::ShenzhenA, S::ShenzhenB, S::SortKey};
// The mode never disables these; every other control belongs to the watch mode.
constexpr S kAlwaysEnabled[] = {S::Ok, S::Cancel, S::RefreshText, S::RankingOn};

bool isOneOf(const QWidget *widget, std::span<const S> ids)
{
    return std::any_of(ids.begin(), ids.end(),
                       [&](S id) { return ControlId(id).objectName() == widget->objectName(); });
}

SettingsRecord watchRecord()
{
    Options options;
    options.refreshSeconds = 10;
    options.rankingMarket = 1;
    SlotSettings slot {"600061", 12.5f, -3.0f, 500, 2.5f};
    return settingsRecord(2, slot, options);
}

// A shown dialog whose refusals are recorded instead of shown.
struct Shown
{
    explicit Shown(const SettingsRecord &record)
        : dialog(std::make_unique<SettingsDialog>(record))
    {
        dialog->setReporter([this](QWidget *, const QString &text) { messages << text; });
        dialog->show();
    }
    template<typename T>
    T *at(S id) const
    {
        return dialog->findChild<T *>(ControlId(id).objectName());
    }
    QLineEdit *edit(S id) const { return at<QLineEdit>(id); }
    void clickOk() const { at<QPushButton>(S::Ok)->click(); }
    bool accepted() const { return dialog->result() == QDialog::Accepted; }
    // Only the controls of one mode are usable; the check box, the buttons and the texts always.
    bool inMode(bool ranking) const
    {
        int watchControls = 0;
        for (const QWidget *widget : dialog->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (widget->objectName().isEmpty())
                continue; // a text or frame nobody addresses
            bool usable = !ranking;
            if (isOneOf(widget, kRankingControls))
                usable = ranking;
            else if (isOneOf(widget, kAlwaysEnabled))
                usable = true;
            else
                ++watchControls;
            if (widget->isEnabled() != usable)
                return false;
        }
        return watchControls == 16;
    }
    bool inRankingMode() const { return inMode(true); }
    bool inWatchMode() const { return inMode(false); }

    std::unique_ptr<SettingsDialog> dialog;
    QStringList messages;
};

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void recordShowsInTheFields();
    void refusedFieldKeepsDialogOpen_data();
    void refusedFieldKeepsDialogOpen();
    void longCodeFromRecordIsRefusedAndTypingCannotLengthenIt();
    void acceptedTexts();
    void sliderClampsAndShowsSeconds();
    void sortKeyOutsideListIsNoSelection();
    void rankingModeEnabling();
    void rankingClickFollowsTakenValue();
    void marketRadios();
    void recordTravelsToChosenSlot();
};

void TestSettingsDialog::recordShowsInTheFields()
{
    SettingsRecord record = watchRecord();
    record.ringOn = 5; // outside 0-2: shown clear
    record.flashOn = 2;
    Shown shown(record);
    QCOMPARE(shown.edit(S::AlarmPrice)->text(), "12.5");
    QCOMPARE(shown.edit(S::StockCode)->text(), "600061");
    QCOMPARE(shown.edit(S::ChangeAlarmPct)->text(), "-3");
    QCOMPARE(shown.edit(S::BigOrderAlarm)->text(), "500");
    QCOMPARE(shown.edit(S::VolumeRatioAlarm)->text(), "2.5");
    QCOMPARE(shown.edit(S::StockIndex)->text(), "3");
    QVERIFY(!shown.at<QCheckBox>(S::RingOn)->isChecked());
    QVERIFY(shown.at<QCheckBox>(S::FlashOn)->isChecked());
    QCOMPARE(shown.dialog->windowTitle(), "设置");
}

void TestSettingsDialog::refusedFieldKeepsDialogOpen_data()
{
    QTest::addColumn<SettingsControl>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    const QString indexRange = "Please enter an integer between 1 and 16.";
    QTest::newRow("stock index 0") << S::StockIndex << "0" << indexRange;
    QTest::newRow("stock index 17") << S::StockIndex << "17" << indexRange;
    QTest::newRow("stock index -0") << S::StockIndex << "-0"
                                    << "Please enter an integer.";
    QTest::newRow("price -1") << S::AlarmPrice << "-1"
                              << "Please enter a number between 0 and 1e+09.";
    QTest::newRow("price beyond 1e9") << S::AlarmPrice << "2e9"
                                      << "Please enter a number between 0 and 1e+09.";
    QTest::newRow("price empty") << S::AlarmPrice << ""
                                 << "Please enter a number.";
    QTest::newRow("price +0") << S::AlarmPrice << "+0"
                              << "Please enter a number.";
    QTest::newRow("change abc") << S::ChangeAlarmPct << "abc"
                                << "Please enter a number.";
    QTest::newRow("change beyond float") << S::ChangeAlarmPct << "1e300"
                                         << "Please enter a number.";
    QTest::newRow("big order 1.5") << S::BigOrderAlarm << "1.5"
                                   << "Please enter an integer.";
    QTest::newRow("volume ratio empty") << S::VolumeRatioAlarm << ""
                                        << "Please enter a number.";
}

void TestSettingsDialog::refusedFieldKeepsDialogOpen()
{
    QFETCH(SettingsControl, id);
    QFETCH(QString, text);
    QFETCH(QString, message);
    Shown shown(watchRecord());
    shown.edit(id)->setText(text);
    shown.clickOk();
    QCOMPARE(shown.messages, QStringList {message});
    QVERIFY(shown.dialog->isVisible());
    QVERIFY(!shown.accepted());
    QCOMPARE(shown.dialog->focusWidget(), shown.edit(id));
    QCOMPARE(shown.edit(id)->selectedText(), text);
}

void TestSettingsDialog::longCodeFromRecordIsRefusedAndTypingCannotLengthenIt()
{
    SettingsRecord record = watchRecord();
    record.stockCode = "6000611";
    Shown shown(record);
    QLineEdit *code = shown.edit(S::StockCode);
    QCOMPARE(code->text(), "6000611");
    shown.clickOk();
    QCOMPARE(shown.messages, QStringList {"Please enter no more than 6 characters."});
    QCOMPARE(shown.dialog->focusWidget(), code);
    QCOMPARE(code->selectedText(), "6000611");

    // A code too long can still be shortened, but not lengthened, by typing.
    record.stockCode = "60006112";
    Shown longer(record);
    QLineEdit *edit = longer.edit(S::StockCode);
    edit->setFocus();
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), "6000611");
    QTest::keyClicks(edit, "9");
    QCOMPARE(edit->text(), "6000611");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, "23");
    QCOMPARE(edit->text(), "600061");
    longer.clickOk();
    QVERIFY(longer.accepted());
    QCOMPARE(longer.dialog->record().stockCode, "600061");
}

void TestSettingsDialog::acceptedTexts()
{
    Shown shown(watchRecord());
    shown.edit(S::StockIndex)->setText(" 7 ");
    shown.edit(S::AlarmPrice)->setText("0");
    shown.edit(S::ChangeAlarmPct)->setText("-5");
    shown.edit(S::BigOrderAlarm)->setText("+20");
    shown.clickOk();
    QVERIFY(shown.messages.isEmpty());
    QVERIFY(shown.accepted());
    const SettingsRecord &r = shown.dialog->record();
    QCOMPARE(r.stockIndex, 7);
    QCOMPARE(r.alarmPrice, 0.0f);
    QCOMPARE(r.changeAlarmPct, -5.0f);
    QCOMPARE(r.bigOrderAlarm, 20);
}

void TestSettingsDialog::sliderClampsAndShowsSeconds()
{
    SettingsRecord record = watchRecord();
    record.refreshSeconds = 3;
    Shown low(record);
    QCOMPARE(low.at<QSlider>(S::RefreshSlider)->value(), 5);
    QCOMPARE(low.at<QLabel>(S::RefreshText)->text(), "5秒");
    low.clickOk();
    QCOMPARE(low.dialog->record().refreshSeconds, 5);

    record.refreshSeconds = 75;
    Shown high(record);
    QCOMPARE(high.at<QSlider>(S::RefreshSlider)->value(), 60);
    QCOMPARE(high.at<QLabel>(S::RefreshText)->text(), "60秒");
    QTest::keyClick(high.at<QSlider>(S::RefreshSlider), Qt::Key_Left);
    QCOMPARE(high.at<QLabel>(S::RefreshText)->text(), "55秒");
    high.clickOk();
    QCOMPARE(high.dialog->record().refreshSeconds, 55);
}

void TestSettingsDialog::sortKeyOutsideListIsNoSelection()
{
    SettingsRecord record = watchRecord();
    record.rankingSortKey = 9;
    Shown shown(record);
    auto *keys = shown.at<QComboBox>(S::SortKey);
    QCOMPARE(keys->count(), 7);
    QCOMPARE(keys->itemText(0), "代码");
    QCOMPARE(keys->itemText(6), "委比");
    QCOMPARE(keys->currentIndex(), -1);
    shown.clickOk();
    QCOMPARE(shown.dialog->record().rankingSortKey, -1);
}

void TestSettingsDialog::rankingModeEnabling()
{
    SettingsRecord record = watchRecord();
    record.rankingOn = 1;
    Shown shown(record);
    QVERIFY(shown.inRankingMode());
    QVERIFY(shown.at<QCheckBox>(S::RankingOn)->isEnabled());
    QVERIFY(shown.at<QPushButton>(S::Ok)->isEnabled());
    QVERIFY(!shown.at<QCheckBox>(S::NewIssueNoticeOn)->isVisible());
    QVERIFY(!shown.at<QCheckBox>(S::BonusRightsNoticeOn)->isVisible());

    shown.at<QCheckBox>(S::RankingOn)->click();
    QVERIFY(shown.messages.isEmpty());
    QVERIFY(shown.inWatchMode());
}

void TestSettingsDialog::rankingClickFollowsTakenValue()
{
    // A refusal before the ranking row keeps the earlier mode.
    Shown early(watchRecord());
    early.edit(S::AlarmPrice)->setText("abc");
    early.at<QCheckBox>(S::RankingOn)->click();
    QCOMPARE(early.messages, QStringList {"Please enter a number."});
    QCOMPARE(early.dialog->focusWidget(), early.edit(S::AlarmPrice));
    QVERIFY(early.inWatchMode());

    // One after it has already taken the ranking box.
    Shown late(watchRecord());
    late.edit(S::ChangeAlarmPct)->setText("abc");
    late.at<QCheckBox>(S::RankingOn)->click();
    QCOMPARE(late.messages, QStringList {"Please enter a number."});
    QVERIFY(late.inRankingMode());
}

void TestSettingsDialog::marketRadios()
{
    SettingsRecord record = watchRecord();
    record.rankingMarket = 2;
    Shown second(record);
    QVERIFY(second.at<QRadioButton>(S::ShenzhenA)->isChecked());
    second.at<QRadioButton>(S::ShenzhenB)->setChecked(true);
    QVERIFY(!second.at<QRadioButton>(S::ShenzhenA)->isChecked());
    second.clickOk();
    QCOMPARE(second.dialog->record().rankingMarket, 3);

    record.rankingMarket = -1;
    Shown none(record);
    for (S id : {S::ShanghaiA, S::ShanghaiB, S::ShenzhenA, S::ShenzhenB})
        QVERIFY(!none.at<QRadioButton>(id)->isChecked());
    none.clickOk();
    QCOMPARE(none.dialog->record().rankingMarket, -1);
}

void TestSettingsDialog::recordTravelsToChosenSlot()
{
    Options options;
    options.flashOn = 0;
    options.newIssueNoticeOn = 1;
    options.bonusRightsNoticeOn = 0;
    options.rankingSortKey = 5;
    const SlotSettings slot {"0002", 9.5f, 4.0f, 800, 1.5f};
    Shown shown(settingsRecord(2, slot, options));
    QVERIFY(!shown.at<QCheckBox>(S::FlashOn)->isChecked());
    shown.edit(S::StockIndex)->setText("5");
    shown.clickOk();
    QVERIFY(shown.accepted());

    const SettingsRecord &r = shown.dialog->record();
    QCOMPARE(r.stockIndex - 1, 4);
    const SlotSettings chosen = chosenSlotSettings(r);
    QCOMPARE(chosen.code, slot.code);
    QCOMPARE(chosen.priceAlarm, slot.priceAlarm);
    QCOMPARE(chosen.changeAlarmPct, slot.changeAlarmPct);
    QCOMPARE(chosen.bigOrderAlarm, slot.bigOrderAlarm);
    QCOMPARE(chosen.volumeRatioAlarm, slot.volumeRatioAlarm);
    QVERIFY(chosenOptions(r) == options);
}

QTEST_MAIN(TestSettingsDialog)
#include "test_settings_dialog.moc"
