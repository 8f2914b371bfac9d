#include "evaluation/inputs.h"

#include "evaluation/rent_index_tables.h"

namespace msr {
namespace {

constexpr InputRow YesNo(const char* name, bool Answers::*member) {
    return {name, InputKind::YesNo, 0, member, nullptr, nullptr};
}

constexpr InputRow ChoiceOf(const char* name, Choice Answers::*member, int choiceCount) {
    return {name, InputKind::Choice, choiceCount, nullptr, member, nullptr};
}

constexpr InputRow Text(const char* name, std::string Answers::*member) {
    return {name, InputKind::Text, 0, nullptr, nullptr, member};
}

// A feature's choices: as many as the feature table has rows for the input.
InputRow Feature(const char* name, Choice Answers::*member) {
    return ChoiceOf(name, member, FeatureChoiceCount(member));
}

std::array<InputRow, kInputCount> MakeInputs() {
    return {{
        ChoiceOf("YearClass", &Answers::YearClass, static_cast<int>(kYearClasses.size())),
        ChoiceOf("Built1980Side", &Answers::Built1980Side, kBuilt1980Sides),
        Text("LivingArea", &Answers::LivingArea),
        YesNo("IsApartment", &Answers::IsApartment),
        YesNo("GuestToilet", &Answers::GuestToilet),
        YesNo("TubAndShower", &Answers::TubAndShower),
        Feature("FloorCovering", &Answers::FloorCovering),
        Feature("HeatingKind", &Answers::HeatingKind),
        YesNo("CaptiveRooms", &Answers::CaptiveRooms),
        YesNo("NoKitchenHotWater", &Answers::NoKitchenHotWater),
        YesNo("BalconyOrLoggia", &Answers::BalconyOrLoggia),
        YesNo("Terrace", &Answers::Terrace),
        YesNo("SoundproofWindows", &Answers::SoundproofWindows),
        Feature("BarrierFree", &Answers::BarrierFree),
        YesNo("HeatingRenewed", &Answers::HeatingRenewed),
        YesNo("BathRenewed", &Answers::BathRenewed),
        Feature("Insulation", &Answers::Insulation),
        YesNo("NoiseImpairment", &Answers::NoiseImpairment),
        Feature("CityArea", &Answers::CityArea),
    }};
}

} // namespace

const std::array<InputRow, kInputCount>& Inputs() {
    static const std::array<InputRow, kInputCount> inputs = MakeInputs();
    return inputs;
}

const InputRow* FindInput(std::string_view name) {
    for (const InputRow& input : Inputs())
        if (name == input.name)
            return &input;
    return nullptr;
}

} // namespace msr
