#include "cli/command_line.h"
#include "evaluation/answers/choice_captions.h"
#include "evaluation/answers/inputs.h"

#include <QtTest>

#include <string>
#include <vector>

using msr::cli::OutputFormat;

namespace {

std::vector<std::string> ToArguments(const QStringList& list) {
    std::vector<std::string> arguments;
    for (const QString& argument : list)
        arguments.push_back(argument.toStdString());
    return arguments;
}

} // namespace

class TestCliCommandLine : public QObject {
    Q_OBJECT

private slots:
    void readsOptions_data();
    void readsOptions();
    void refusesBadOptions_data();
    void refusesBadOptions();
    void readsASheetByOptionOrName();
    void helpAndManualNameEveryChoice();
    void everyInputStandsInEveryList_data();
    void everyInputStandsInEveryList();
};

void TestCliCommandLine::readsOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("json");
    QTest::addColumn<bool>("batch");
    QTest::addColumn<bool>("help");
    QTest::addColumn<QString>("file");

    QTest::newRow("nothing: text from standard input")
        << QStringList{} << false << false << false << "";
    QTest::newRow("json and file")
        << QStringList{"--format", "json", "a.json"} << true << false << false << "a.json";
    QTest::newRow("value after equals")
        << QStringList{"--format=json"} << true << false << false << "";
    QTest::newRow("file before options")
        << QStringList{"a.json", "--batch"} << false << true << false << "a.json";
    QTest::newRow("batch with json")
        << QStringList{"--batch", "--format", "json"} << true << true << false << "";
    QTest::newRow("explicit text")
        << QStringList{"--format", "text"} << false << false << false << "";
    QTest::newRow("last format wins")
        << QStringList{"--format", "text", "--format", "json"} << true << false << false << "";
    QTest::newRow("dash is standard input") << QStringList{"-"} << false << false << false << "-";
    QTest::newRow("file named like an option after --")
        << QStringList{"--", "--batch"} << false << false << false << "--batch";
    QTest::newRow("help") << QStringList{"--help"} << false << false << true << "";
    QTest::newRow("short help") << QStringList{"-h", "x"} << false << false << true << "x";
    QTest::newRow("options after the file")
        << QStringList{"a.json", "--format=json"} << true << false << false << "a.json";
}

void TestCliCommandLine::readsOptions() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, json);
    QFETCH(bool, batch);
    QFETCH(bool, help);
    QFETCH(QString, file);

    const auto commandLine = msr::cli::ParseCommandLine(ToArguments(arguments));

    QCOMPARE(QString::fromStdString(commandLine.error), QString());
    QCOMPARE(commandLine.options.format == OutputFormat::Json, json);
    QCOMPARE(commandLine.options.batch, batch);
    QCOMPARE(commandLine.options.help, help);
    QCOMPARE(QString::fromStdString(commandLine.options.inputFile), file);
}

void TestCliCommandLine::refusesBadOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");

    QTest::newRow("unknown option")
        << QStringList{"--pretty"} << "Unbekannte Option \"--pretty\"; die Optionen nennt --help";
    QTest::newRow("unknown single dash")
        << QStringList{"-x"} << "Unbekannte Option \"-x\"; die Optionen nennt --help";
    QTest::newRow("unknown among compacted short options")
        << QStringList{"-hx"} << "Unbekannte Option \"-x\"; die Optionen nennt --help";
    QTest::newRow("unknown option with a value")
        << QStringList{"--color=rot"} << "Unbekannte Option \"--color\"; die Optionen nennt --help";
    QTest::newRow("format without value")
        << QStringList{"--format"}
        << "Die Option --format braucht einen Wert: text, json, csv oder xlsx";
    QTest::newRow("empty format after equals")
        << QStringList{"--format="}
        << "Die Option --format braucht einen Wert: text, json, csv oder xlsx";
    QTest::newRow("unknown format") << QStringList{"--format", "xml"}
                                    << "Unbekanntes Ausgabeformat \"xml\" für --format; möglich "
                                       "sind text, json, csv und xlsx";
    QTest::newRow("control characters of an option shown visibly")
        << QStringList{"--\x1b[31mrot\n"}
        << "Unbekannte Option \"--\\u001b[31mrot\\u000a\"; die Optionen nennt --help";
    QTest::newRow("control characters of a value shown visibly")
        << QStringList{"--format=\x1b[31m"}
        << "Unbekanntes Ausgabeformat \"\\u001b[31m\" für --format; möglich sind text, json, "
           "csv und xlsx";
    QTest::newRow("unknown decimal separator")
        << QStringList{"--decimal-separator=;"}
        << "Unbekanntes Dezimaltrennzeichen \";\" für --decimal-separator; möglich sind \",\" "
           "und \".\"";
    QTest::newRow("decimal separator without value")
        << QStringList{"--decimal-separator"}
        << "Die Option --decimal-separator braucht einen Wert: \",\" oder \".\"";
    QTest::newRow("unknown input format")
        << QStringList{"--input", "xlsx"}
        << "Unbekanntes Eingabeformat \"xlsx\" für --input; möglich sind json und csv";
    QTest::newRow("a sheet as text")
        << QStringList{"--input", "csv", "--format", "text"}
        << "Eine Tabelle wird Zeile für Zeile ausgewertet, als CSV oder JSON Lines; --format "
           "text ist damit nicht möglich";
    QTest::newRow("a sheet as PDF") << QStringList{"Wohnungen.CSV", "--pdf", "a.pdf"}
                                    << "--pdf schreibt die Seiten einer einzelnen Auswertung, aus "
                                       "einer Tabelle ist das nicht möglich";
    QTest::newRow("value for a switch")
        << QStringList{"--batch=yes"} << "Die Option --batch nimmt keinen Wert";
    QTest::newRow("value for --version")
        << QStringList{"--version=1"} << "Die Option --version nimmt keinen Wert";
    // Our own.
    QTest::newRow("empty PDF file name")
        << QStringList{"--pdf="} << "Die Option --pdf braucht einen Dateinamen";
    QTest::newRow("two files") << QStringList{"a.json", "b.json"}
                               << "Es kann nur eine Eingabedatei angegeben werden";
    QTest::newRow("batch writes no text")
        << QStringList{"--format", "text", "--batch"}
        << "--batch gibt JSON Lines oder CSV aus, --format text ist damit nicht möglich";
}

void TestCliCommandLine::refusesBadOptions() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);

    const auto commandLine = msr::cli::ParseCommandLine(ToArguments(arguments));

    QCOMPARE(QString::fromStdString(commandLine.error), error);
}

void TestCliCommandLine::readsASheetByOptionOrName() {
    using msr::cli::InputFormat;
    const auto read = [](const QStringList& arguments) {
        const auto commandLine = msr::cli::ParseCommandLine(ToArguments(arguments));
        return commandLine.options;
    };
    QCOMPARE(read({"wohnungen.csv"}).input, InputFormat::Sheet);
    QCOMPARE(read({"Wohnungen.CSV"}).input, InputFormat::Sheet);
    QCOMPARE(read({"--input", "csv"}).input, InputFormat::Sheet);
    QCOMPARE(read({"--input=json", "wohnungen.csv"}).input, InputFormat::JsonLines);
    QCOMPARE(read({"wohnungen.jsonl"}).input, InputFormat::JsonLines);
    QCOMPARE(read({".csv"}).input, InputFormat::JsonLines);
    // A sheet is read row by row, into a sheet unless asked otherwise.
    QVERIFY(read({"wohnungen.csv"}).batch);
    QCOMPARE(read({"wohnungen.csv"}).format, OutputFormat::Csv);
    QCOMPARE(read({"--format=json", "wohnungen.csv"}).format, OutputFormat::Json);
}

// Whoever reads "CityArea 7" in a sheet finds Lindmoor in --help and in the man page, both
// with the caption its dialog shows, from the one table of captions.
void TestCliCommandLine::helpAndManualNameEveryChoice() {
    const QString help = QString::fromStdString(msr::cli::HelpText()).simplified();
    QFile page(MSR_MAN_PAGE);
    QVERIFY(page.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList pageLines = QString::fromUtf8(page.readAll()).replace("\\-", "-").split('\n');
    // The page names a key in the line after .TP and each choice on a line of its own.
    QString currentKey;
    QStringList named;
    for (qsizetype i = 1; i < pageLines.size(); ++i) {
        if (pageLines[i - 1] == ".TP" && pageLines[i].startsWith(".B "))
            currentKey = pageLines[i].mid(3);
        else if (!pageLines[i].startsWith('.'))
            named << currentKey + ' ' + pageLines[i];
    }
    for (const msr::ChoiceCaption& choice : msr::ChoiceCaptions()) {
        const QString numbered =
            QString::number(choice.choice) + ' ' + QString::fromUtf8(choice.caption);
        QVERIFY2(help.contains(numbered.simplified()), qPrintable(numbered));
        QVERIFY2(named.contains(QString::fromUtf8(choice.input) + ' ' + numbered),
                 qPrintable(QString::fromUtf8(choice.input) + ' ' + numbered));
    }
}

QString FileText(const char* path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A new input is a row of the table of inputs; every list a user reads it in is made from
// that table or held against it here, so that none drifts: --help, the man page, the
// template sheet and the web page's questionnaire.
void TestCliCommandLine::everyInputStandsInEveryList_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern"); // %1 the input's name
    QTest::newRow("--help") << QString::fromStdString(msr::cli::HelpText()) << "\\b%1\\b";
    QTest::newRow("man page") << FileText(MSR_MAN_PAGE) << "^\\.B[R]? (.* )?\"?%1\\b";
    QTest::newRow("template's header")
        << FileText(MSR_TEMPLATE_SHEET).section('\n', 0, 0) << "(^|;)%1(;|$)";
    QTest::newRow("web page") << FileText(MSR_WEB_PAGE) << "name=\"%1\"";
}

void TestCliCommandLine::everyInputStandsInEveryList() {
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QVERIFY(!text.isEmpty());
    for (const msr::InputRow& input : msr::Inputs()) {
        const QRegularExpression named(pattern.arg(input.name),
                                       QRegularExpression::MultilineOption);
        QVERIFY2(text.contains(named), input.name);
    }
    // Every choice of the page carries its dialog's caption.
    if (QTest::currentDataTag() != QLatin1String("web page"))
        return;
    for (const msr::ChoiceCaption& choice : msr::ChoiceCaptions()) {
        const QString control =
            QString("name=\"%1\" value=\"%2\"").arg(choice.input).arg(choice.choice);
        QVERIFY2(text.contains(control), qPrintable(control));
        const QString firstWords = QString::fromUtf8(choice.caption).section(' ', 0, 1);
        QVERIFY2(text.contains(firstWords), qPrintable(firstWords));
    }
}

QTEST_GUILESS_MAIN(TestCliCommandLine)
#include "test_cli_command_line.moc"
