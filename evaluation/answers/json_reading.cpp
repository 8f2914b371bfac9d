#include "evaluation/answers/json_reading.h"

#include <algorithm>

namespace msr {

const char* JsonFaultReason(JsonFault fault) {
    switch (fault) {
    case JsonFault::UnterminatedObject:
        return "Objekt nicht mit } abgeschlossen";
    case JsonFault::MissingNameSeparator:
        return "Doppelpunkt nach dem Schlüssel fehlt";
    case JsonFault::UnterminatedArray:
        return "Liste nicht mit ] abgeschlossen";
    case JsonFault::MissingValueSeparator:
        return "Komma zwischen zwei Einträgen fehlt";
    case JsonFault::IllegalValue:
        return "ungültiger Wert";
    case JsonFault::TerminationByNumber:
        return "Eingabe endet mitten in einer Zahl";
    case JsonFault::IllegalNumber:
        return "ungültige Zahl";
    case JsonFault::IllegalEscapeSequence:
        return "ungültige Escape-Sequenz";
    case JsonFault::ControlCharacter:
        return "Steuerzeichen in einer Zeichenkette";
    case JsonFault::IllegalUtf8:
        return "ungültiges UTF-8";
    case JsonFault::UnterminatedString:
        return "Zeichenkette nicht abgeschlossen";
    case JsonFault::MissingValue:
        return "Wert erwartet";
    case JsonFault::DeepNesting:
        return "zu tief verschachtelt";
    case JsonFault::GarbageAtEnd:
        return "weitere Zeichen nach dem Ende des Objekts";
    }
    return "unbekannter Fehler";
}

std::size_t JsonLineOf(std::string_view text, std::size_t at) {
    const std::string_view before = text.substr(0, std::min(at, text.size()));
    return 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

} // namespace msr
