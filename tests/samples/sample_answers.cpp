#include "tests/samples/sample_answers.h"

namespace msr::test {

msr::Answers MandatoryAnswers() {
    msr::Answers answers;
    answers.YearClass = 3;
    answers.LivingArea = "75";
    answers.CityArea = 2;
    return answers;
}

msr::Answers AllFeaturesAnswers() {
    msr::Answers answers = MandatoryAnswers();
    answers.Built1980Side = 1;
    answers.IsApartment = true;
    answers.GuestToilet = true;
    answers.TubAndShower = true;
    answers.FloorCovering = 2;
    answers.HeatingKind = 3;
    answers.CaptiveRooms = true;
    answers.NoKitchenHotWater = true;
    answers.BalconyOrLoggia = true;
    answers.Terrace = true;
    answers.SoundproofWindows = true;
    answers.BarrierFree = 1;
    answers.HeatingRenewed = true;
    answers.BathRenewed = true;
    answers.Insulation = 2;
    answers.NoiseImpairment = true;
    return answers;
}

} // namespace msr::test
