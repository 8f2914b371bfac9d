#pragma once

#include "batch/figures_table.h"

#include <memory>
#include <ostream>

namespace msr::batch {

// The table of figures as an .xlsx workbook (batch/xlsx_writing.h): the header row of the
// CSV table, bold and frozen; "Nr" and the figures as number cells (the figures with two decimals),
// the case number and the message as text cells, which no spreadsheet evaluates; columns
// wide enough for their header. Rows go to the file as they come.
class FiguresWorkbook : public FiguresTable {
public:
    // The workbook that finish() completes on out, which it keeps (seekable: a file, a
    // string stream); nullptr when it cannot be begun. With the edition's column where
    // several editions are loaded.
    static std::unique_ptr<FiguresWorkbook> Open(std::unique_ptr<std::ostream> out,
                                                 bool editionColumn = false);
    ~FiguresWorkbook() override;

    bool add(const FiguresRow& row) override;
    // Writes what the rows left; false when it cannot be written.
    bool finish() override;
    // Where the workbook is written.
    std::ostream& out();

private:
    struct Library;
    explicit FiguresWorkbook(std::unique_ptr<Library> library);
    std::unique_ptr<Library> library_;
};

} // namespace msr::batch
