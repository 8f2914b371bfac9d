#include "cli/command_line.h"

#include "evaluation/answers/answers_json.h"
#include "evaluation/answers/choice_captions.h"
#include "evaluation/answers/inputs.h"
#include "evaluation/answers/visible_text.h"
#include "evaluation/rent_index/admission.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace msr::cli {
namespace {

constexpr const char* kProgram = "mietspiegel-auswertung";
constexpr const char* kSynopsis =
    "Aufruf: mietspiegel-auswertung [--format text|json|csv|xlsx] [--input json|csv]\n"
    "          [--decimal-separator ,|.] [--batch] [--pdf PDF-DATEI]\n"
    "          [--output AUSGABE-DATEI] [--rent-index DATEI]... [--date JJJJ-MM-TT]\n"
    "          [DATEI]\n"
    "       mietspiegel-auswertung --check-rent-index DATEI\n";

// The options and their lines in --help; one row per option.
struct OptionRow {
    const char* names;        // as the parser takes them: "-h,--help"
    const char* valueName;    // nullptr: a switch
    const char* missingValue; // what an option with a value says when the value is missing
    const char* help;         // the description in --help, already laid out
    bool repeatable = false;  // every value counts, not only the last
};

// clang-format off
const OptionRow kOptions[] = {
    {"--format", "text|json|csv|xlsx", "Die Option --format braucht einen Wert: text, json, csv oder xlsx",
     R"help(  --format text  jeden Absatz der Auswertung als eine Textzeile ausgeben
                 (Vorgabe), UTF-8
  --format json  {"paragraphs":[{"kind":"body|heading|warning","text":"...",
                 "face":"Arial","points":12,"bold":true,"italic":false,
                 "underline":false,"strikeout":false,"color":"auto"}]},
                 "color" ist "auto" oder "#ff0000"; Punkte wie auf 96 dpi;
                 daneben "figures":{"perSquareMetre":{"low":4.73,"mean":5.41,
                 "high":6.38},"livingArea":75.00,"total":{"low":354.75,
                 "mean":405.75,"high":478.50}}: die Zahlen der Schlussberechnung
                 genau wie gedruckt, als JSON-Zahlen (immer mit Punkt)
  --format csv   nur die Zahlen der Schlussberechnung als Tabelle: UTF-8, ";"
                 zwischen den Feldern, jedes Feld in Anführungszeichen, je
                 Eingabezeile eine Zeile nach der Kopfzeile "Nr";"Aktenzeichen";
                 "Untergrenze je m²";"Mittelwert je m²";"Obergrenze je m²";
                 "Wohnfläche m²";"Untergrenze gesamt";"Mittelwert gesamt";
                 "Obergrenze gesamt";"Fehler". Die Zahlen stehen genau wie im
                 Bericht, "Nr" zählt die Zeilen der Eingabe; eine
                 abgelehnte, kaputte oder leere Zeile hat leere Zahlen und ihre
                 Meldung unter "Fehler". In der Tabellenkalkulation als UTF-8
                 mit dem Trennzeichen Semikolon öffnen.
  --format xlsx  dieselbe Tabelle als Arbeitsmappe (nur mit --batch oder einer
                 Tabelle, am besten mit --output): die Zahlen als Zahlen mit
                 zwei Nachkommastellen, Texte als Text, die Kopfzeile fixiert.
)help"},
    {"--decimal-separator", ",|.", "Die Option --decimal-separator braucht einen Wert: \",\" oder \".\"",
     R"help(  --decimal-separator ,|.
                 das Dezimaltrennzeichen, mit dem die Auswertung Zahlen liest
                 und schreibt, in jedem Format und im PDF; Vorgabe: das des
                 Gebietsschemas (LC_ALL, LC_NUMERIC, LANG), wie im Programm
)help"},
    {"--input", "json|csv", "Die Option --input braucht einen Wert: json oder csv",
     R"help(  --input json   Antworten als JSON (Vorgabe)
  --input csv    eine Tabelle mit Antworten, auch ohne die Option für eine
                 DATEI auf .csv, .xlsx oder .ods: das erste Blatt einer
                 Arbeitsmappe (.xlsx, .ods) Zelle für Zelle, oder eine CSV-
                 Tabelle, wie eine Tabellenkalkulation sie speichert:
                 UTF-8, UTF-16 oder Windows-1252; ";", "," oder Tabulator
                 zwischen den Feldern; eine Kopfzeile mit den Schlüsseln
                 (beliebige Reihenfolge, dazu "Aktenzeichen"), dann je Wohnung
                 eine Zeile; eine leere Zelle ist keine Angabe, ja/nein-Zellen
                 nehmen ja, nein, x, 1, 0, wahr, falsch, true, false. Jede Zeile
                 wird wie eine JSON-Zeile mit --batch ausgewertet, Vorgabe:
                 --format csv; eine Zeile, die sich nicht lesen lässt, wird
                 abgelehnt, die anderen ausgewertet.
)help"},
    {"--batch", nullptr, nullptr, R"help(  --batch        JSON Lines: je Eingabezeile ein Antwort-Objekt, je Zeile genau
                 eine Ausgabezeile in derselben Reihenfolge, die Auswertung im
                 JSON-Format oder {"error":"<Meldung>"}, mit --format csv eine
                 Tabellenzeile; auch eine leere Zeile ergibt eine Fehlerzeile.
                 Der Lauf geht nach Fehlern weiter und sagt am Ende auf der
                 Standardfehlerausgabe, wie viele Zeilen er ausgewertet und
                 wie viele er abgelehnt hat. Ist die Standardfehlerausgabe ein
                 Terminal (und die Standardausgabe nicht), zeigt ein Lauf, der
                 länger als eine Sekunde dauert, dort seinen Fortschritt.
)help"},
    {"--pdf", "PDF-DATEI", "Die Option --pdf braucht einen Dateinamen", R"(  --pdf PDF-DATEI
                 die Seiten des Berichts zusätzlich, genau wie gedruckt, als PDF
                 in PDF-DATEI schreiben (nicht mit --batch oder einer Tabelle);
                 abgelehnte Antworten schreiben nichts. Braucht keine Anzeige.
)"},
    {"--output", "AUSGABE-DATEI", "Die Option --output braucht einen Dateinamen", R"(  --output AUSGABE-DATEI
                 die Ausgabe in AUSGABE-DATEI statt auf die Standardausgabe
                 schreiben; die Datei wird erst ersetzt, wenn der Lauf
                 durchgegangen ist, ein fehlgeschlagener Lauf lässt sie, wie
                 sie war.
)"},
    {"--rent-index", "DATEI", "Die Option --rent-index braucht einen Dateinamen", R"(  --rent-index DATEI
                 eine Ausgabe des Mietspiegels (JSON-Datei) oder ein Ordner
                 solcher Dateien, zusätzlich zur eingebauten und zu den
                 installierten (/usr/share/mietspiegelrechner/editions/);
                 mehrmals möglich. Es zählt die Ausgabe, die am Tag von --date
                 gilt, oder am "Stichtag" einer Zeile. Sind mehrere Ausgaben
                 geladen, nennt die Tabelle in der Spalte "Mietspiegel" und das
                 JSON unter "edition" die Ausgabe jeder Auswertung.
)", true},
    {"--date", "JJJJ-MM-TT", "Die Option --date braucht einen Tag wie 2026-12-10", R"(  --date JJJJ-MM-TT
                 der Tag, dessen Mietspiegel zählt (Vorgabe: heute), etwa der
                 Tag, an dem ein Mieterhöhungsschreiben einging; nach der
                 Laufzeit der neuesten Ausgabe zählt diese, vor der ältesten
                 keine. Eine Spalte oder ein Schlüssel "Stichtag" wählt je Zeile.
)"},
    {"--check-rent-index", "DATEI", "Die Option --check-rent-index braucht einen Dateinamen", R"(  --check-rent-index DATEI
                 prüft eine Ausgabe des Mietspiegels (oder jede in einem
                 Ordner), bevor sie verteilt wird: nennt jeden Fehler mit
                 Zeile und Schlüssel, oder fasst sie zusammen (Stand,
                 Laufzeit, Anzahlen). Rückgabewert 0 oder 2.
)"},
    {"-h,--help", nullptr, nullptr, "  -h, --help     diese Hilfe\n"},
    {"--version", nullptr, nullptr, "  --version      Name und Version des Programms\n"},
};
// clang-format on

// "--format" of "-h,--help" or "--format": the long name, by which the options are known.
std::string LongName(const OptionRow& row) {
    const std::string names = row.names;
    return names.substr(names.rfind(',') + 1);
}

const OptionRow* RowNamed(std::string_view longName) {
    for (const OptionRow& row : kOptions)
        if (LongName(row) == longName)
            return &row;
    return nullptr;
}

// What the parser found: the values of each option given (of most the last alone), a
// switch with an empty one.
using Given = std::map<std::string, std::vector<std::string>>;

std::string ApplyFormat(Options& options, const std::string& value) {
    if (value == "text")
        options.format = OutputFormat::Text;
    else if (value == "json")
        options.format = OutputFormat::Json;
    else if (value == "csv")
        options.format = OutputFormat::Csv;
    else if (value == "xlsx")
        options.format = OutputFormat::Xlsx;
    else
        return "Unbekanntes Ausgabeformat \"" + WithVisibleControls(value) +
               "\" für --format; möglich sind text, json, csv und xlsx";
    options.formatGiven = true;
    return {};
}

std::string CheckCombination(const Options& options) {
    if (options.batch && options.formatGiven && options.format == OutputFormat::Text)
        return "--batch gibt JSON Lines oder CSV aus, --format text ist damit nicht möglich";
    if (!options.batch && options.format == OutputFormat::Xlsx)
        return "--format xlsx schreibt die Tabelle eines Laufs mit --batch oder einer Tabelle";
    if (options.batch && !options.pdfFile.empty())
        return "--pdf schreibt die Seiten einer einzelnen Auswertung, mit --batch ist das nicht "
               "möglich";
    return {};
}

// Takes what the parser found; returns "" or the message for a wrong value.
std::string TakeOptions(const Given& given, const std::vector<std::string>& files,
                        Options& options) {
    const auto value = [&](const char* name) -> const std::string* {
        const auto found = given.find(name);
        return found == given.end() ? nullptr : &found->second.back();
    };
    options.batch = value("--batch");
    options.help = value("--help");
    options.version = value("--version");
    if (const std::string* format = value("--format"))
        if (std::string fault = ApplyFormat(options, *format); !fault.empty())
            return fault;
    if (const std::string* separator = value("--decimal-separator")) {
        if (*separator != "," && *separator != ".")
            return "Unbekanntes Dezimaltrennzeichen \"" + WithVisibleControls(*separator) +
                   "\" für --decimal-separator; möglich sind \",\" und \".\"";
        options.decimalSeparator = *separator;
    }
    if (const std::string* input = value("--input")) {
        if (*input == "csv")
            options.input = InputFormat::Sheet;
        else if (*input != "json")
            return "Unbekanntes Eingabeformat \"" + WithVisibleControls(*input) +
                   "\" für --input; möglich sind json und csv";
    }
    if (const std::string* pdf = value("--pdf"))
        options.pdfFile = *pdf;
    if (const std::string* output = value("--output"))
        options.outputFile = *output;
    if (const auto found = given.find("--rent-index"); found != given.end())
        options.rentIndexFiles = found->second;
    if (const std::string* date = value("--date")) {
        options.date = ParseDate(*date);
        if (!options.date)
            return "Unbekannter Tag \"" + WithVisibleControls(*date) +
                   "\" für --date; erwartet wird ein Tag des Kalenders wie 2026-12-10";
    }
    if (const std::string* check = value("--check-rent-index")) {
        options.checkRentIndex = *check;
        if (!files.empty())
            return "--check-rent-index prüft nur die Ausgabe des Mietspiegels; eine "
                   "Eingabedatei ist damit nicht möglich";
    }
    if (files.size() > 1)
        return "Es kann nur eine Eingabedatei angegeben werden";
    if (!files.empty())
        options.inputFile = files.front();
    if (!value("--input") && IsSheetFile(options.inputFile))
        options.input = InputFormat::Sheet;
    if (options.input == InputFormat::Sheet) {
        if (options.formatGiven && options.format == OutputFormat::Text)
            return "Eine Tabelle wird Zeile für Zeile ausgewertet, als CSV oder JSON Lines; "
                   "--format text ist damit nicht möglich";
        if (!options.pdfFile.empty())
            return "--pdf schreibt die Seiten einer einzelnen Auswertung, aus einer Tabelle ist "
                   "das nicht möglich";
        options.batch = true; // a sheet is many answers, row by row
        if (!options.formatGiven)
            options.format = OutputFormat::Csv; // a sheet in, a sheet out
    }
    return CheckCombination(options);
}

// The parser's complaint about one option, in our words: a value given to a switch, or a
// value missing. The parser names the option first ("--format: ...", "batch was ...").
std::string OptionFault(const std::string& complaint) {
    const std::size_t nameStart = complaint.find_first_not_of('-');
    const std::size_t nameEnd = complaint.find_first_of(": ", nameStart);
    const OptionRow* row = RowNamed("--" + complaint.substr(nameStart, nameEnd - nameStart));
    if (!row)
        return "Die Optionen sind falsch angegeben";
    if (!row->valueName)
        return "Die Option " + LongName(*row) + " nimmt keinen Wert";
    return row->missingValue;
}

// The first argument that names no option, as it was given ("--color" of "--color=rot").
std::string UnknownOption(const std::vector<std::string>& unknown) {
    for (const std::string& argument : unknown)
        if (argument != "--")
            return "Unbekannte Option \"" +
                   WithVisibleControls(argument.substr(0, argument.find('='))) +
                   "\"; die Optionen nennt --help";
    return {};
}

constexpr std::size_t kKeyColumn = 22;

// The characters of a UTF-8 text, as a terminal lays them out.
std::size_t Width(std::string_view text) {
    std::size_t width = 0;
    for (const char c : text)
        width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return width;
}

// The text after the first line's head, in lines of at most 80 characters broken between
// words, the following lines indented by indent.
std::string Wrapped(std::string head, std::string_view text, std::size_t indent) {
    constexpr std::size_t kWidth = 80;
    std::size_t lineWidth = Width(head);
    bool lineEmpty = true;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(' '), text.size());
        const std::string_view word = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!lineEmpty && lineWidth + 1 + Width(word) > kWidth) {
            head += '\n' + std::string(indent, ' ');
            lineWidth = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            head += ' ';
            ++lineWidth;
        }
        head += word;
        lineWidth += Width(word);
        lineEmpty = false;
    }
    return head + '\n';
}

std::string KeyHead(std::string_view name) {
    std::string head = "  ";
    head += name;
    head.resize(std::max(head.size() + 1, kKeyColumn), ' ');
    return head;
}

// A choice's line and, below it, each number with the caption its dialog shows.
std::string ChoiceKeyText(const InputRow& input) {
    std::string text = Wrapped(KeyHead(input.name), KeyHelp(input), kKeyColumn);
    for (const ChoiceCaption& choice : ChoiceCaptions())
        if (std::string_view(choice.input) == input.name)
            text += Wrapped(std::string(kKeyColumn, ' ') + std::to_string(choice.choice) + ' ',
                            choice.caption, kKeyColumn + 2);
    return text;
}

// The keys of the answers in the order of the questionnaire, each choice named.
std::string KeysText() {
    std::string text = "Schlüssel (alle optional), in der Reihenfolge der Dialoge:\n";
    for (const InputRow& input : Inputs())
        text += input.kind == InputKind::Choice
                    ? ChoiceKeyText(input)
                    : Wrapped(KeyHead(input.name), KeyHelp(input), kKeyColumn);
    text += Wrapped(KeyHead(kCaseNumberKey), CaseNumberHelp(), kKeyColumn);
    text += Wrapped(KeyHead(kReferenceDayKey),
                    "ein Tag wie \"2016-03-01\" oder \"01.03.2016\"; wählt für diese Antworten "
                    "die Ausgabe des Mietspiegels, wie --date es für alle tut",
                    kKeyColumn);
    text += Wrapped("",
                    "Eine Auswahl ist die Nummer des gewählten Knopfs der Gruppe, von oben "
                    "gezählt. Built1980Side gibt es nur mit YearClass " +
                        std::to_string(kYearClassSplitAt1980) + ".",
                    0);
    return text;
}

} // namespace

std::string KeyHelp(const InputRow& input) {
    switch (input.kind) {
    case InputKind::Choice:
        break;
    case InputKind::YesNo:
        return std::string(input.caption) +
               " (ja/nein): true oder false, in einer Tabelle ja oder nein; fehlend: nein";
    case InputKind::Text:
        return "die Wohnfläche in ganzen Quadratmetern, als Text wie eingegeben, z. B. \"75\"; "
               "fehlend: \"Quadratmeter\" (keine Angabe)";
    }
    return "die Nummer der Auswahl; null oder fehlend: keine Auswahl";
}

std::string CaseNumberHelp() {
    return "Text bis " + std::to_string(kLongestCaseNumber) +
           " Zeichen; wird nicht ausgewertet, sondern kommt mit der Auswertung wieder heraus "
           "(JSON: ganz oben, CSV: die Spalte nach \"Nr\")";
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CLI::App parser{"", kProgram};
    parser.set_help_flag(); // -h and --help are rows of the table like any other
    parser.allow_extras();  // an unknown option gets our message, below
    for (const OptionRow& row : kOptions) {
        if (row.valueName)
            parser.add_option(row.names)->multi_option_policy(
                row.repeatable ? CLI::MultiOptionPolicy::TakeAll
                               : CLI::MultiOptionPolicy::TakeLast);
        else
            parser.add_flag(row.names)->disable_flag_override();
    }
    std::vector<std::string> files;
    parser.add_option("DATEI", files);

    CommandLine result;
    try {
        // The parser takes the arguments from the last to the first.
        parser.parse(std::vector<std::string>(arguments.rbegin(), arguments.rend()));
    } catch (const CLI::ParseError& error) {
        result.error = OptionFault(error.what());
        return result;
    }
    result.error = UnknownOption(parser.remaining());
    if (!result.ok())
        return result;
    Given given;
    for (const OptionRow& row : kOptions)
        if (const CLI::Option* option = parser.get_option(LongName(row)); option->count() > 0)
            given[LongName(row)] = row.valueName ? option->as<std::vector<std::string>>()
                                                 : std::vector<std::string>{std::string()};
    result.error = TakeOptions(given, files, result.options);
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
JSON-Objekt (oder als Tabelle, siehe --input csv) in DATEI oder, ohne DATEI
oder mit "-", auf der Standardeingabe.

Optionen:
)";
    for (const OptionRow& row : kOptions)
        text += row.help;
    text += '\n' + KeysText();
    text += R"(
Beispiel:
  echo '{"YearClass":4,"Built1980Side":1,"LivingArea":"75","CityArea":3}' |
    mietspiegel-auswertung
  mietspiegel-auswertung --decimal-separator=, wohnungen.csv > ergebnis.csv

Rückgabewert:
  0  ausgewertet; mit --batch: jede Zeile ausgewertet
  1  Antworten abgelehnt, wie das Programm sie ablehnt, oder ein falscher
     Schlüssel oder Wert; die Meldung steht auf der Standardfehlerausgabe;
     mit --batch: mindestens eine Zeile abgelehnt
  2  falscher Aufruf, Eingabe nicht lesbar, Ausgabe nicht schreibbar,
     (ohne --batch) kein JSON-Objekt oder eine Tabelle ohne brauchbare Kopfzeile
)";
    return text;
}

} // namespace msr::cli
