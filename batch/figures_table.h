#pragma once

#include "evaluation/figures_record.h"

#include <cstdint>
#include <string_view>

namespace msr::batch {

// The columns of the table of figures, in their order: "Nr", "Aktenzeichen", the figures
// (kFigureColumns), "Fehler", and where several editions of the rent index are loaded
// "Mietspiegel", the edition each row was evaluated by.
inline constexpr const char* kNumberColumn = "Nr";
inline constexpr const char* kCaseNumberColumn = "Aktenzeichen";
inline constexpr const char* kMessageColumn = "Fehler";
inline constexpr const char* kEditionColumn = "Mietspiegel";

// One row of the table of figures, as values: the number of the input line or row, its case
// number (empty when it has none), and the seven figures as the report prints them, or
// nullptr and the message; the edition's cell where the table has that column.
struct FiguresRow {
    std::uint64_t number = 0;
    std::string_view caseNumber;
    const FinalFigureTexts* figures = nullptr;
    std::string_view message;
    std::string_view edition;
};

// Where a batch puts its table when it writes no text: a workbook, which a front end with
// the library for it opens.
class FiguresTable {
public:
    virtual ~FiguresTable() = default;
    // False when the row cannot be written.
    virtual bool add(const FiguresRow& row) = 0;
    // Writes out what the rows left; false when it cannot be written.
    virtual bool finish() = 0;
};

} // namespace msr::batch
