#include "gui/dialogs/field_text.h"

#include <QTest>

using namespace lark::ui;

class TestFieldText : public QObject
{
    Q_OBJECT

private slots:
    void parsing_data();
    void parsing();
    void numbersShowWithSixDigits();
};

void TestFieldText::parsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");

    QTest::newRow("blanks around") << " 7 " << false << true << 7.0;
    QTest::newRow("tabs around") << "\t12\t" << false << true << 12.0;
    QTest::newRow("zero") << "0" << false << true << 0.0;
    QTest::newRow("blank then zero") << "  0" << false << true << 0.0;
    QTest::newRow("minus zero") << "-0" << false << false << 0.0;
    QTest::newRow("plus zero") << "+0" << false << false << 0.0;
    QTest::newRow("empty integer") << "" << false << false << 0.0;
    QTest::newRow("only blanks") << "   " << false << false << 0.0;
    QTest::newRow("text after integer") << "12abc" << false << false << 0.0;
    QTest::newRow("two integers") << "1 2" << false << false << 0.0;
    QTest::newRow("exponent is no integer") << "1e3" << false << false << 0.0;
    QTest::newRow("integer overflow") << "99999999999" << false << false << 0.0;
    QTest::newRow("negative integer") << "-15" << false << true << -15.0;
    QTest::newRow("beyond 31 characters") << "5" + QString(30, ' ') + "x" << false << true << 5.0;
    QTest::newRow("number") << "12.5" << true << true << 12.5;
    QTest::newRow("number exponent") << "1e3" << true << true << 1000.0;
    QTest::newRow("number zero point") << "0.0" << true << true << 0.0;
    QTest::newRow("number minus zero") << "-0.0" << true << false << 0.0;
    QTest::newRow("number empty") << "" << true << false << 0.0;
    QTest::newRow("number hexadecimal") << "0x10" << true << false << 0.0;
    QTest::newRow("number infinity") << "inf" << true << false << 0.0;
    QTest::newRow("number comma") << "1,5" << true << false << 0.0;
}

void TestFieldText::parsing()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    const std::string bytes = text.toStdString();
    std::optional<double> parsed = parseNumber(bytes);
    if (!isNumber) {
        const std::optional<int> integer = parseInteger(bytes);
        parsed = integer ? std::optional<double>(*integer) : std::nullopt;
    }
    QCOMPARE(parsed.has_value(), accepted);
    if (accepted)
        QCOMPARE(*parsed, value);
}

void TestFieldText::numbersShowWithSixDigits()
{
    QCOMPARE(formatNumber(12.5), "12.5");
    QCOMPARE(formatNumber(-3), "-3");
    QCOMPARE(formatNumber(1e9), "1e+09");
    QCOMPARE(formatNumber(1234567), "1.23457e+06");
    QCOMPARE(formatNumber(0.1f), "0.1"); // the float's extra digits stay hidden
}

QTEST_APPLESS_MAIN(TestFieldText)
#include "test_field_text.moc"
