#pragma once

#include "batch/figures_table.h"

#include <memory>
#include <string>

namespace msr::cli {

// The table of figures as an .xlsx workbook (batch/xlsx_writing.h): the header row of the
// CSV table, bold and frozen; "Nr" and the figures as number cells (the figures with two decimals),
// the case number and the message as text cells, which no spreadsheet evaluates; columns
// wide enough for their header. Rows go to the file as they come.
class FiguresWorkbook : public batch::FiguresTable {
public:
    // The workbook that finish() writes to file; nullptr when it cannot be begun.
    static std::unique_ptr<FiguresWorkbook> Open(const std::string& file);
    ~FiguresWorkbook() override;

    bool add(const batch::FiguresRow& row) override;
    // Writes the file; false when it cannot be written.
    bool finish() override;

private:
    struct Library;
    explicit FiguresWorkbook(std::unique_ptr<Library> library);
    std::unique_ptr<Library> library_;
};

} // namespace msr::cli
