// An edition's file on any bytes: never a crash; either it is refused with at least one
// fault, each of which names the file and a line of it, or it is taken whole, and then the
// evaluation of every kind of answer runs by it to figures in their order.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "evaluation/answers/inputs.h"
#include "evaluation/evaluate.h"
#include "evaluation/rent_index/edition_reading.h"

namespace {

void Expect(bool condition, const char* what, std::string_view detail) {
    if (condition)
        return;
    std::fprintf(stderr, "%s: %.*s\n", what,
                 static_cast<int>(detail.size() > 400 ? 400 : detail.size()), detail.data());
    std::abort();
}

msr::Answers Flat(int yearClass, const char* size, bool apartment, int area) {
    msr::Answers answers;
    answers.YearClass = yearClass;
    answers.Built1980Side = yearClass == msr::kYearClassSplitAt1980 ? 2 : msr::kNone;
    answers.LivingArea = size;
    answers.IsApartment = apartment;
    answers.CityArea = area;
    answers.GuestToilet = answers.Terrace = answers.HeatingRenewed = true;
    answers.Insulation = 2;
    answers.FloorCovering = 3;
    return answers;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const msr::EditionReading reading = msr::ReadEdition(text, "ausgabe.json");
    if (!reading.edition) {
        Expect(!reading.faults.empty(), "refused without a fault", text);
        for (const std::string& fault : reading.faults)
            Expect(fault.rfind("\"ausgabe.json\"", 0) == 0, "a fault without its file", fault);
        return 0;
    }
    const msr::Edition& edition = *reading.edition;
    for (int yearClass = 1; yearClass <= 7; ++yearClass)
        for (const char* size : {"1", "60", "300"}) {
            msr::ReportDocument document;
            const msr::EvaluationResult result = msr::Evaluate(
                Flat(yearClass, size, yearClass == 1, 1 + yearClass % 7), edition, document, ",");
            // Every adjustment moves all three figures alike, so their order stays.
            Expect(result.figures.low <= result.figures.mean + 1e-3f &&
                       result.figures.mean <= result.figures.high + 1e-3f,
                   "figures out of order", edition.name);
        }
    return 0;
}
