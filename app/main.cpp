#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string_view>

#include "app/startup.h"

namespace {

constexpr const char* kHelpText =
    "Aufruf: mietspiegelrechner [--help] [--version]\n"
    "\n"
    "Startet den Mietspiegelrechner Varlstadt: neun Fragebögen zur Wohnung, danach\n"
    "die ortsübliche Grundmiete als Spanne je Quadratmeter und Monat in einem Bericht\n"
    "zum Ansehen, Drucken und Speichern als PDF.\n"
    "\n"
    "Optionen:\n"
    "  -h, --help     diese Hilfe\n"
    "  -v, --version  die Version des Programms\n";

// The options that only print something are answered before Qt starts, so they need no
// display. Returns whether one was given.
bool AnswerPrintingOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::cout << "mietspiegelrechner " MSR_VERSION "\n";
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << kHelpText;
            return true;
        }
    }
    return false;
}

// Qt's window platforms abort in English with a core dump when there is no display (an ssh
// session without -X, a server); say it in German first. The other platforms (offscreen,
// vnc, ...) need none.
bool DisplayMissing() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string_view name = platform ? platform : "";
    const bool needsDisplay =
        name.empty() || name.rfind("xcb", 0) == 0 || name.rfind("wayland", 0) == 0;
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return needsDisplay && (!display || !*display) && (!wayland || !*wayland);
}

constexpr const char* kNoDisplayText =
    "Der Mietspiegelrechner braucht eine grafische Anzeige, aber hier ist keine: weder DISPLAY\n"
    "noch WAYLAND_DISPLAY ist gesetzt (etwa in einer ssh-Sitzung ohne -X oder auf einem "
    "Server).\n"
    "Starten Sie ihn in einer grafischen Sitzung, über ssh -X, oder mit xvfb-run.\n"
    "Ohne Fenster wertet mietspiegel-auswertung die Antworten auf der Kommandozeile aus.\n";

} // namespace

int main(int argc, char** argv) {
    if (AnswerPrintingOption(argc, argv))
        return 0;
    if (DisplayMissing()) {
        std::cerr << kNoDisplayText;
        return 1;
    }
    return msr::app::Run(argc, argv);
}
