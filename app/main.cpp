#include <cstring>
#include <iostream>

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

} // namespace

int main(int argc, char** argv) {
    if (AnswerPrintingOption(argc, argv))
        return 0;
    return msr::app::Run(argc, argv);
}
