#include <QtTest>

#include "evaluation/living_area.h"

class TestLivingArea : public QObject {
    Q_OBJECT
private slots:
    void acceptsWholeNumbers_data();
    void acceptsWholeNumbers();
    void refusesOtherTextsAsWholeNumbers_data();
    void refusesOtherTextsAsWholeNumbers();
    void readsTheLivingArea_data();
    void readsTheLivingArea();
    void refusesOtherTextsAsLivingArea_data();
    void refusesOtherTextsAsLivingArea();
};

void TestLivingArea::acceptsWholeNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << "75" << 75;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("plus sign") << "+5" << 5;
    QTest::newRow("negative") << "-3" << -3;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("blanks around") << "  50 " << 50;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << int(-2147483647 - 1);
}

void TestLivingArea::acceptsWholeNumbers() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(msr::ToWholeNumber(text.toStdString()), expected);
}

void TestLivingArea::refusesOtherTextsAsWholeNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("decimal comma") << "55,5";
    QTest::newRow("empty") << "";
    QTest::newRow("blanks only") << "   ";
    QTest::newRow("placeholder") << "Quadratmeter";
    QTest::newRow("sign only") << "-";
    QTest::newRow("two signs") << "+-5";
    QTest::newRow("blank after sign") << "- 5";
    QTest::newRow("exponent") << "1e3";
    QTest::newRow("hexadecimal") << "0x10";
    QTest::newRow("above 32 bits") << "2147483648";
    QTest::newRow("below 32 bits") << "-2147483649";
    QTest::newRow("huge") << "99999999999999999999999";
    QTest::newRow("arabic-indic digits") << "٣٥";
    QTest::newRow("letters after digits") << "55qm";
}

void TestLivingArea::refusesOtherTextsAsWholeNumbers() {
    QFETCH(QString, text);
    try {
        msr::ToWholeNumber(text.toStdString());
        QFAIL("accepted");
    } catch (const msr::ConversionError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), "'" + text + "' ist kein gültiger Integerwert");
    }
}

void TestLivingArea::readsTheLivingArea_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<float>("expected");
    QTest::newRow("whole") << "75"
                           << "," << 75.0f;
    QTest::newRow("signed") << "+45"
                            << "," << 45.0f;
    QTest::newRow("negative") << "-3"
                              << "," << -3.0f;
    QTest::newRow("comma") << "55,5"
                           << "," << 55.5f;
    QTest::newRow("point") << "55.5"
                           << "." << 55.5f;
    QTest::newRow("no digits after separator") << "55,"
                                               << "," << 55.0f;
    QTest::newRow("no digits before separator") << ",5"
                                                << "," << 0.5f;
    QTest::newRow("exponent") << "1e3"
                              << "," << 1000.0f;
    QTest::newRow("blanks around") << " 60 "
                                   << "," << 60.0f;
    QTest::newRow("largest whole number") << "2147483647"
                                          << "," << 2147483648.0f;
    QTest::newRow("rounded to 32 bits") << "16777217"
                                        << "," << 16777216.0f;
}

void TestLivingArea::readsTheLivingArea() {
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(float, expected);
    QCOMPARE(msr::ToLivingArea(text.toStdString(), separator.toStdString()), expected);
}

void TestLivingArea::refusesOtherTextsAsLivingArea_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::newRow("placeholder") << "Quadratmeter"
                                 << ",";
    QTest::newRow("empty") << ""
                           << ",";
    QTest::newRow("point where comma is the separator") << "55.5"
                                                        << ",";
    QTest::newRow("separator only") << ","
                                    << ",";
    QTest::newRow("exponent without digits") << "1e"
                                             << ",";
    QTest::newRow("hexadecimal") << "0x10"
                                 << ",";
    QTest::newRow("infinity") << "inf"
                              << ",";
    QTest::newRow("not a number") << "nan"
                                  << ",";
    QTest::newRow("beyond 32 bits") << "1e39"
                                    << ",";
    QTest::newRow("beyond extended") << "1e99999"
                                     << ",";
    QTest::newRow("thousands separator") << "1.000"
                                         << ",";
}

void TestLivingArea::refusesOtherTextsAsLivingArea() {
    QFETCH(QString, text);
    QFETCH(QString, separator);
    try {
        msr::ToLivingArea(text.toStdString(), separator.toStdString());
        QFAIL("accepted");
    } catch (const msr::ConversionError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), "'" + text + "' ist kein gültiger Gleitkommawert");
    }
}

QTEST_APPLESS_MAIN(TestLivingArea)
#include "test_living_area.moc"
