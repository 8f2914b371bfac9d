// A sheet of answers on any bytes, through the batch as the evaluator runs it (the encoding
// decided, the separator found, the rows gathered and read): never a crash; either the
// sheet is refused as a whole, or every row is answered once, in order, with figures or
// a message, and the summary's counts are the table's.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "batch/batch.h"
#include "tests/samples/built_in_edition.h"

namespace {

void Expect(bool condition, const char* what, std::string_view detail) {
    if (condition)
        return;
    std::fprintf(stderr, "%s: %.*s\n", what,
                 static_cast<int>(detail.size() > 400 ? 400 : detail.size()), detail.data());
    std::abort();
}

bool HasRawControl(std::string_view message) {
    for (const char c : message)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    return false;
}

// The table's rows: "n";"case";seven figures;"message", every field quoted. Counts the
// rows and the refused ones, and checks that Nr rises.
void CheckTable(std::string_view table, const msr::batch::BatchOutcome& outcome,
                std::uint64_t inputLines) {
    const std::size_t headerEnd = table.find('\n');
    Expect(headerEnd != std::string_view::npos, "no header", table);
    table.remove_prefix(headerEnd + 1);
    std::uint64_t rows = 0;
    std::uint64_t refused = 0;
    std::uint64_t lastNumber = 0;
    while (!table.empty()) {
        // A row ends at a line feed outside quotes (a message holds none).
        std::size_t at = 0;
        bool quoted = false;
        int fields = 1;
        std::size_t lastField = 0;
        for (; at < table.size() && (quoted || table[at] != '\n'); ++at) {
            if (table[at] == '"')
                quoted = !quoted;
            else if (table[at] == ';' && !quoted) {
                ++fields;
                lastField = at + 1;
            }
        }
        const std::string_view row = table.substr(0, at);
        Expect(at < table.size(), "a row without its line feed", row);
        Expect(fields == 10, "a row of another number of cells", row);
        const std::uint64_t number = std::strtoull(std::string(row.substr(1)).c_str(), nullptr, 10);
        Expect(number > lastNumber && number <= inputLines, "Nr out of order", row);
        lastNumber = number;
        const std::string_view message = row.substr(lastField);
        Expect(!HasRawControl(message), "a raw control character in a message", message);
        refused += message != "\"\"" ? 1 : 0;
        ++rows;
        table.remove_prefix(at + 1);
    }
    Expect(rows == outcome.lines, "the summary counts other rows than the table", "");
    Expect(refused == outcome.refused, "the summary counts other refusals than the table", "");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream in(input);
    std::ostringstream out;
    const msr::batch::BatchOutcome outcome = msr::batch::RunBatch(
        in, out, {msr::test::BuiltInEditions(), msr::test::kSomeDay}, ",",
        msr::batch::OutputFormat::Csv, nullptr, msr::batch::InputFormat::Sheet);
    using Failure = msr::batch::BatchOutcome::Failure;
    Expect(outcome.failure == Failure::None || outcome.failure == Failure::Unusable,
           "an input in memory failed to read", outcome.message);
    if (outcome.failure == Failure::Unusable) {
        Expect(!HasRawControl(outcome.message), "a raw control character in a message",
               outcome.message);
        Expect(out.str().empty(), "a refused sheet wrote rows", out.str());
        return 0;
    }
    // Every line ends in LF, CR or CR LF; UTF-16 has at most as many lines as bytes.
    std::uint64_t lines = 1;
    for (const char c : input)
        lines += c == '\n' || c == '\r' || c == '\0' ? 1 : 0;
    CheckTable(out.str(), outcome, lines);
    return 0;
}
