#include "questionnaire/read_answers.h"

#include "gui/forms.h"
#include "questionnaire/bathroom_dialog.h"
#include "questionnaire/city_area_dialog.h"
#include "questionnaire/construction_year_dialog.h"
#include "questionnaire/flooring_dialog.h"
#include "questionnaire/further_features_dialog.h"
#include "questionnaire/heating_dialog.h"
#include "questionnaire/modernisation_dialog.h"
#include "questionnaire/size_dialog.h"
#include "questionnaire/surroundings_dialog.h"

namespace msr::questionnaire {

Answers ReadAnswers() {
    Answers answers;
    for (const QuestionnaireDialog* dialog : std::initializer_list<const QuestionnaireDialog*>{
             Form12, Form9, Form3, Form7, Form6, Form4, Form5, Form10, Form11})
        dialog->ReadInputs(answers);
    return answers;
}

} // namespace msr::questionnaire
