#include "evaluation/answers/inputs.h"

namespace msr {

const InputRow* FindInput(std::string_view name) {
    for (const InputRow& input : kInputs)
        if (name == input.name)
            return &input;
    return nullptr;
}

} // namespace msr
