#pragma once

#include "evaluation/figures_record.h"

// The monthly totals of 75 square metres of "1978 bis 1994", area West, as the report
// prints them: 354,75 / 405,75 / 478,50 Euro. The rent tests compare against these.
inline msr::FinalFigureTexts West75Totals() {
    msr::FinalFigureTexts texts;
    texts.totalLow = "354,75";
    texts.totalMean = "405,75";
    texts.totalHigh = "478,50";
    return texts;
}
