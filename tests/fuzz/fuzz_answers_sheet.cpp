// The reading of a sheet of answers on any bytes, line by line as the evaluator hands it
// over: never a crash, a row read or refused with a message, and no message that carries a
// raw control character of the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "evaluation/answers/answers_sheet.h"

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

void CheckRow(const msr::AnswersSheet& sheet, std::string_view record) {
    const msr::AnswersReading reading = sheet.readRow(record);
    const bool read = reading.status == msr::AnswersReading::Status::Read;
    Expect(read == reading.message.empty(), "a row read with a message or refused without",
           reading.message);
    Expect(!HasRawControl(reading.message), "a raw control character in a message",
           reading.message);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    msr::SheetRecords records;
    msr::AnswersSheet sheet;
    bool headerRead = false;
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        const std::string_view line = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        if (!records.addLine(line))
            continue;
        if (headerRead) {
            CheckRow(sheet, records.record());
        } else if (const auto refusal = sheet.readHeader(records.record())) {
            Expect(!HasRawControl(*refusal), "a raw control character in a message", *refusal);
            return 0;
        } else {
            headerRead = true;
        }
    }
    if (headerRead && records.isOpen())
        CheckRow(sheet, records.record());
    return 0;
}
