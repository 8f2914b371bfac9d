#include <QtTest>

#include "evaluation/figures.h"

using msr::Extended;

class TestNumberFormat : public QObject {
    Q_OBJECT
private slots:
    void formatsFigures_data();
    void formatsFigures();
    void roundsTheThirtyTwoBitFiguresToTheirDecimal_data();
    void roundsTheThirtyTwoBitFiguresToTheirDecimal();
    void adjustsAllThreeFiguresAlike();
    void storesSumsBackAtThirtyTwoBits();
};

void TestNumberFormat::formatsFigures_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << ","
                          << "0,00";
    QTest::newRow("negative zero has no sign") << -0.0 << ","
                                               << "0,00";
    QTest::newRow("rounds to zero, no sign") << -0.004 << ","
                                             << "0,00";
    QTest::newRow("two decimals for one") << 4.4 << ","
                                          << "4,40";
    QTest::newRow("whole number") << 75.0 << ","
                                  << "75,00";
    QTest::newRow("below one") << 0.5 << ","
                               << "0,50";
    QTest::newRow("exact half cent rounds up") << 0.125 << ","
                                               << "0,13";
    QTest::newRow("exact half cent, negative, rounds away") << -0.125 << ","
                                                            << "-0,13";
    QTest::newRow("just below a half cent") << 2.675 << ","
                                            << "2,67"; // the double is 2.67499..
    QTest::newRow("negative") << -1.5 << ","
                              << "-1,50";
    QTest::newRow("point as separator") << 4.81 << "."
                                        << "4.81";
    QTest::newRow("five digits keep two decimals") << 12345.678 << ","
                                                   << "12345,68";
    QTest::newRow("six digits keep one decimal") << 123456.789 << ","
                                                 << "123456,80";
    QTest::newRow("six digits, whole") << 130600.0 << ","
                                       << "130600,00";
    QTest::newRow("seven digits keep none") << 1234567.5 << ","
                                            << "1234568,00";
    QTest::newRow("carry into a new digit") << 99999.996 << ","
                                            << "100000,00";
    QTest::newRow("beyond seven digits") << 12345678.9 << ","
                                         << "1,234568E+7";
}

void TestNumberFormat::formatsFigures() {
    QFETCH(double, value);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(msr::FormatFigure(value, separator.toStdString())), expected);
}

void TestNumberFormat::roundsTheThirtyTwoBitFiguresToTheirDecimal_data() {
    QTest::addColumn<float>("figure");
    QTest::addColumn<QString>("expected");
    // Figures are 32-bit: 4.58f lies below 4.58, 5.41f above 5.41; both print as decimals.
    QTest::newRow("4.58") << 4.58f << "4,58";
    QTest::newRow("5.41") << 5.41f << "5,41";
    QTest::newRow("3.58") << 3.58f << "3,58";
    QTest::newRow("8.18") << 8.18f << "8,18";
    QTest::newRow("0.01") << 0.01f << "0,01";
}

void TestNumberFormat::roundsTheThirtyTwoBitFiguresToTheirDecimal() {
    QFETCH(float, figure);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(msr::FormatFigure(figure, ",")), expected);
}

void TestNumberFormat::adjustsAllThreeFiguresAlike() {
    msr::SpanFigures figures{3.58f, 5.19f, 4.40f};
    msr::AdjustSpan(figures, 0.18);
    msr::AdjustSpan(figures, -0.44);
    QCOMPARE(msr::FormatFigure(figures.low, ","), std::string("3,32"));
    QCOMPARE(msr::FormatFigure(figures.high, ","), std::string("4,93"));
    QCOMPARE(msr::FormatFigure(figures.mean, ","), std::string("4,14"));
}

void TestNumberFormat::storesSumsBackAtThirtyTwoBits() {
    msr::SpanFigures figures{4.40f, 4.40f, 4.40f};
    msr::AdjustSpan(figures, 0.18);
    // The sum is stored as the 32-bit value nearest to 4.58, which lies below it.
    QCOMPARE(figures.mean, 4.58f);
    QVERIFY(Extended(figures.mean) < Extended(4.58L));
}

QTEST_APPLESS_MAIN(TestNumberFormat)
#include "test_number_format.moc"
