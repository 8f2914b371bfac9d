#include "cli/command_line.h"

namespace msr::cli {
namespace {

// Applies an option's value; returns "" or the message for a wrong one.
using ApplyOption = std::string (*)(Options&, const std::string& value);

struct KnownOption {
    const char* name;
    bool takesValue;
    ApplyOption apply;
};

std::string ApplyFormat(Options& options, const std::string& value) {
    if (value == "text")
        options.format = OutputFormat::Text;
    else if (value == "json")
        options.format = OutputFormat::Json;
    else if (value == "csv")
        options.format = OutputFormat::Csv;
    else
        return "Unbekanntes Ausgabeformat \"" + value +
               "\" für --format; möglich sind text, json und csv";
    options.formatGiven = true;
    return {};
}

std::string ApplyBatch(Options& options, const std::string&) {
    options.batch = true;
    return {};
}

std::string ApplyPdf(Options& options, const std::string& value) {
    if (value.empty())
        return "Die Option --pdf braucht einen Dateinamen";
    options.pdfFile = value;
    return {};
}

std::string ApplyHelp(Options& options, const std::string&) {
    options.help = true;
    return {};
}

// A further option is one more row here and one more line in HelpText().
// clang-format off
const KnownOption kOptions[] = {
    {"--format", true, ApplyFormat},
    {"--batch", false, ApplyBatch},
    {"--pdf", true, ApplyPdf},
    {"--help", false, ApplyHelp},
    {"-h", false, ApplyHelp},
};
// clang-format on

const KnownOption* FindOption(const std::string& name) {
    for (const KnownOption& known : kOptions)
        if (name == known.name)
            return &known;
    return nullptr;
}

bool LooksLikeOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

std::string CheckCombination(const Options& options) {
    if (options.batch && options.formatGiven && options.format == OutputFormat::Text)
        return "--batch gibt JSON Lines oder CSV aus, --format text ist damit nicht möglich";
    if (options.batch && !options.pdfFile.empty())
        return "--pdf schreibt die Seiten einer einzelnen Auswertung, mit --batch ist das nicht "
               "möglich";
    return {};
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    CommandLine parse() {
        bool optionsEnded = false;
        for (next_ = 0; next_ < arguments_.size() && result_.ok();) {
            const std::string& argument = arguments_[next_++];
            if (!optionsEnded && argument == "--")
                optionsEnded = true;
            else if (!optionsEnded && LooksLikeOption(argument))
                result_.error = option(argument);
            else
                result_.error = inputFile(argument);
        }
        if (result_.ok())
            result_.error = CheckCombination(result_.options);
        return result_;
    }

private:
    std::string option(const std::string& argument) {
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const KnownOption* known = FindOption(name);
        if (!known)
            return "Die Option " + name + " gibt es nicht";
        if (!known->takesValue) {
            if (equals != std::string::npos)
                return "Die Option " + name + " nimmt keinen Wert";
            return known->apply(result_.options, {});
        }
        if (equals != std::string::npos)
            return known->apply(result_.options, argument.substr(equals + 1));
        if (next_ == arguments_.size())
            return "Die Option " + name + " braucht einen Wert";
        return known->apply(result_.options, arguments_[next_++]);
    }

    std::string inputFile(const std::string& argument) {
        if (!result_.options.inputFile.empty())
            return "Es kann nur eine Eingabedatei angegeben werden";
        result_.options.inputFile = argument;
        return {};
    }

    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
    CommandLine result_;
};

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    return Parser(arguments).parse();
}

std::string UsageText() {
    return "Aufruf: mietspiegel-auswertung [--format text|json|csv] [--batch] [--pdf PDF-DATEI] "
           "[DATEI]\n"
           "Mehr dazu: mietspiegel-auswertung --help\n";
}

std::string HelpText() {
    return R"help(Aufruf: mietspiegel-auswertung [--format text|json|csv] [--batch] [--pdf PDF-DATEI] [DATEI]

Wertet die Antworten des Mietspiegelrechners Varlstadt ohne Fenster aus, mit
denselben Regeln und Texten wie das Programm. Die Antworten stehen als
JSON-Objekt in DATEI oder, ohne DATEI oder mit "-", auf der Standardeingabe.

Optionen:
  --format text  jeden Absatz der Auswertung als eine Textzeile ausgeben
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
  --batch        JSON Lines: je Eingabezeile ein Antwort-Objekt, je Zeile genau
                 eine Ausgabezeile in derselben Reihenfolge, die Auswertung im
                 JSON-Format oder {"error":"<Meldung>"}, mit --format csv eine
                 Tabellenzeile; auch eine leere Zeile ergibt eine Fehlerzeile.
                 Der Lauf geht nach Fehlern weiter. Ist die
                 Standardfehlerausgabe ein Terminal, zeigt ein Lauf, der länger
                 als eine Sekunde dauert, dort seinen Fortschritt.
  --pdf PDF-DATEI
                 die Seiten des Berichts zusätzlich, genau wie gedruckt, als PDF
                 in PDF-DATEI schreiben (nicht mit --batch); abgelehnte Antworten
                 schreiben nichts. Braucht keine Anzeige.
  -h, --help     diese Hilfe

Schlüssel (alle optional):
  YearClass         1 bis 7: bis 1929, 1930 bis 1969, 1970 bis 1977,
                    1978 bis 1994, 1995 bis 2001, 2002 bis 2005, 2006 bis 2011
  Built1980Side     1 Baujahr vor 1980, 2 Baujahr nach 1980 (nur mit YearClass 4)
  LivingArea        die Wohnfläche als Text, wie eingegeben, z. B. "75";
                    fehlt er, gilt "Quadratmeter" (keine Angabe)
  FloorCovering 1-4, HeatingKind 1-4, BarrierFree 1-2, Insulation 1-3,
  CityArea 1-7      Nummer des gewählten Knopfs der Gruppe; null oder fehlend:
                    keine Auswahl
  IsApartment, GuestToilet, TubAndShower, CaptiveRooms, NoKitchenHotWater,
  BalconyOrLoggia, Terrace, SoundproofWindows, HeatingRenewed, BathRenewed,
  NoiseImpairment   true oder false; fehlend: false

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
)help";
}

} // namespace msr::cli
