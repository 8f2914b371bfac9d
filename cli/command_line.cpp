#include "cli/command_line.h"

#include "evaluation/admission.h"
#include "evaluation/inputs.h"
#include "evaluation/rent_index_tables.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <string>
#include <vector>

namespace msr::cli {
namespace {

constexpr const char* kProgram = "mietspiegel-auswertung";
constexpr const char* kSynopsis =
    "Aufruf: mietspiegel-auswertung [--format text|json|csv] [--batch] "
    "[--pdf PDF-DATEI] [DATEI]\n";

// The options and their lines in --help; one row per option.
struct OptionRow {
    QStringList names;
    const char* valueName; // nullptr: a switch
    const char* help;      // the description in --help, already laid out
};

// clang-format off
const OptionRow kFormat{{"format"}, "text|json|csv", R"help(  --format text  jeden Absatz der Auswertung als eine Textzeile ausgeben
                 (Vorgabe), UTF-8
  --format json  {"paragraphs":[{"kind":"body|heading|warning","text":"...",
                 "face":"Arial","points":12,"bold":true,"italic":false,
                 "underline":false,"strikeout":false,"color":"auto"}]},
                 "color" ist "auto" oder "#ff0000"; Punkte wie auf 96 dpi;
                 daneben "figures":{"perSquareMetre":{"low":4.73,"mean":5.41,
                 "high":6.38},"livingArea":75.00,"total":{"low":354.75,
                 "mean":405.75,"high":478.50}}: die Zahlen der Schlussberechnung
                 genau wie gedruckt, als JSON-Zahlen (immer mit Punkt)
  --format csv   nur die Zahlen der Schlussberechnung als Tabelle, UTF-8, ";"
                 zwischen den Feldern, je Eingabezeile eine Zeile nach der
                 Kopfzeile: Nr;Untergrenze je m²;Mittelwert je m²;Obergrenze
                 je m²;Wohnfläche m²;Untergrenze gesamt;Mittelwert gesamt;
                 Obergrenze gesamt;Fehler
                 Die Zahlen stehen genau wie im Bericht (Dezimaltrennzeichen des
                 Gebietsschemas); eine abgelehnte, kaputte oder leere Zeile hat
                 leere Zahlen und ihre Meldung unter "Fehler". Damit die Umlaute
                 in der Tabellenkalkulation stimmen, die Datei mit dem
                 Zeichensatz Unicode (UTF-8) und dem Trennzeichen Semikolon
                 importieren: LibreOffice fragt beim Öffnen danach, Excel unter
                 Daten > Aus Text/CSV, Dateiursprung 65001: Unicode (UTF-8).
)help"};
const OptionRow kBatch{{"batch"}, nullptr, R"help(  --batch        JSON Lines: je Eingabezeile ein Antwort-Objekt, je Zeile genau
                 eine Ausgabezeile in derselben Reihenfolge, die Auswertung im
                 JSON-Format oder {"error":"<Meldung>"}, mit --format csv eine
                 Tabellenzeile; auch eine leere Zeile ergibt eine Fehlerzeile.
                 Der Lauf geht nach Fehlern weiter. Ist die
                 Standardfehlerausgabe ein Terminal (und die Standardausgabe
                 nicht), zeigt ein Lauf, der länger als eine Sekunde dauert,
                 dort seinen Fortschritt.
)help"};
const OptionRow kPdf{{"pdf"}, "PDF-DATEI", R"(  --pdf PDF-DATEI
                 die Seiten des Berichts zusätzlich, genau wie gedruckt, als PDF
                 in PDF-DATEI schreiben (nicht mit --batch); abgelehnte Antworten
                 schreiben nichts. Braucht keine Anzeige.
)"};
const OptionRow kHelp{{"h", "help"}, nullptr, "  -h, --help     diese Hilfe\n"};
const OptionRow kVersion{{"version"}, nullptr, "  --version      Name und Version des Programms\n"};
// clang-format on

const OptionRow* const kOptions[] = {&kFormat, &kBatch, &kPdf, &kHelp, &kVersion};

QCommandLineOption ToOption(const OptionRow& row) {
    if (!row.valueName)
        return QCommandLineOption(row.names);
    return QCommandLineOption(row.names, QString(), QString::fromUtf8(row.valueName));
}

std::string ApplyFormat(Options& options, const QString& value) {
    if (value == QLatin1String("text"))
        options.format = OutputFormat::Text;
    else if (value == QLatin1String("json"))
        options.format = OutputFormat::Json;
    else if (value == QLatin1String("csv"))
        options.format = OutputFormat::Csv;
    else
        return "Unbekanntes Ausgabeformat \"" + value.toStdString() +
               "\" für --format; möglich sind text, json und csv";
    options.formatGiven = true;
    return {};
}

std::string CheckCombination(const Options& options) {
    if (options.batch && options.formatGiven && options.format == OutputFormat::Text)
        return "--batch gibt JSON Lines oder CSV aus, --format text ist damit nicht möglich";
    if (options.batch && !options.pdfFile.empty())
        return "--pdf schreibt die Seiten einer einzelnen Auswertung, mit --batch ist das nicht "
               "möglich";
    return {};
}

// Takes what the parser found; returns "" or the message for a wrong value.
std::string TakeOptions(const QCommandLineParser& parser, Options& options) {
    const QCommandLineOption format = ToOption(kFormat);
    const QCommandLineOption pdf = ToOption(kPdf);
    options.batch = parser.isSet(ToOption(kBatch));
    options.help = parser.isSet(ToOption(kHelp));
    options.version = parser.isSet(ToOption(kVersion));
    if (parser.isSet(format))
        if (std::string fault = ApplyFormat(options, parser.value(format)); !fault.empty())
            return fault;
    if (parser.isSet(pdf)) {
        if (parser.value(pdf).isEmpty())
            return "Die Option --pdf braucht einen Dateinamen";
        options.pdfFile = parser.value(pdf).toLocal8Bit().toStdString();
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return "Es kann nur eine Eingabedatei angegeben werden";
    if (!files.isEmpty())
        options.inputFile = files.front().toLocal8Bit().toStdString();
    return CheckCombination(options);
}

// "head item, item, ..." in lines of at most 80 bytes, broken between items only, the
// following lines indented below the first item.
std::string ListLines(const std::string& head, const std::vector<std::string>& items) {
    constexpr std::size_t kWidth = 80;
    std::string text = head;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string item = items[i] + (i + 1 < items.size() ? "," : "");
        if (i > 0 && text.size() - lineStart + 1 + item.size() > kWidth) {
            text += '\n';
            lineStart = text.size();
            text += std::string(head.size(), ' ');
        } else if (i > 0) {
            text += ' ';
        }
        text += item;
    }
    return text + '\n';
}

std::string ChoiceKeyLine(const InputRow& input) {
    return "1 bis " + std::to_string(input.choiceCount) + "; null oder fehlend: keine Auswahl";
}

// The keys of the answers, one line each, in the order of the questionnaire.
std::string KeysText() {
    std::string text = "Schlüssel (alle optional), in der Reihenfolge der Dialoge:\n";
    for (const InputRow& input : Inputs()) {
        std::string line = "  ";
        line += input.name;
        line.resize(22, ' ');
        switch (input.kind) {
        case InputKind::Choice:
            line += ChoiceKeyLine(input);
            break;
        case InputKind::YesNo:
            line += "true oder false; fehlend: false";
            break;
        case InputKind::Text:
            line += "die Wohnfläche als Text, wie eingegeben, z. B. \"75\";\n";
            line += std::string(22, ' ') + "fehlend: \"Quadratmeter\" (keine Angabe)";
            break;
        }
        text += line + '\n';
    }
    text += "Eine Auswahl ist die Nummer des gewählten Knopfs der Gruppe, von oben gezählt.\n";
    std::vector<std::string> yearClasses;
    for (std::size_t i = 0; i < kYearClasses.size(); ++i)
        yearClasses.push_back(std::to_string(i + 1) + " " + kYearClasses[i].caption);
    text += ListLines("YearClass:     ", yearClasses);
    text += "Built1980Side: 1 Baujahr vor 1980, 2 Baujahr nach 1980; nur mit YearClass " +
            std::to_string(kYearClass1978To1994) + ".\n";
    return text;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    QCommandLineParser parser;
    for (const OptionRow* row : kOptions)
        parser.addOption(ToOption(*row));
    QStringList line{QString::fromLatin1(kProgram)};
    for (const std::string& argument : arguments)
        line << QString::fromLocal8Bit(argument.data(), static_cast<qsizetype>(argument.size()));
    CommandLine result;
    // The parser's own messages (an unknown option, a missing value) come in the language
    // of the installed Qt translation.
    if (!parser.parse(line))
        result.error = parser.errorText().toStdString();
    else
        result.error = TakeOptions(parser, result.options);
    return result;
}

std::string UsageText() {
    return std::string(kSynopsis) + "Mehr dazu: mietspiegel-auswertung --help\n";
}

std::string VersionText() {
    return std::string(kProgram) + ' ' + MSR_VERSION + '\n';
}

std::string HelpText() {
    std::string text = kSynopsis;
    text += R"(
Wertet die Antworten des Mietspiegelrechners Varlstadt ohne Fenster aus, mit
denselben Regeln und Texten wie das Programm. Die Antworten stehen als
JSON-Objekt in DATEI oder, ohne DATEI oder mit "-", auf der Standardeingabe.

Optionen:
)";
    for (const OptionRow* row : kOptions)
        text += row->help;
    text += '\n' + KeysText();
    text += R"(
Zahlen liest und schreibt die Auswertung mit dem Dezimaltrennzeichen des
Gebietsschemas (LC_ALL, LC_NUMERIC, LANG), wie das Programm.

Beispiel:
  echo '{"YearClass":4,"Built1980Side":1,"LivingArea":"75","CityArea":3}' |
    mietspiegel-auswertung

Rückgabewert:
  0  ausgewertet; im Batch-Modus: alle Zeilen beantwortet
  1  Antworten abgelehnt, wie das Programm sie ablehnt, oder ein falscher
     Schlüssel oder Wert; die Meldung steht auf der Standardfehlerausgabe
  2  falscher Aufruf, Eingabe nicht lesbar, Ausgabe nicht schreibbar oder
     (ohne --batch) kein JSON-Objekt
)";
    return text;
}

} // namespace msr::cli
