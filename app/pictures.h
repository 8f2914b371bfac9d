#pragma once

#include <QPixmap>

namespace msr::app {

// The two pictures of a questionnaire button, drawn by the program.
// Answered: a green tick on a light disc, 32 x 32.
QPixmap TickPicture();
// Open: a white question mark on a blue disc, 45 x 45.
QPixmap QuestionMarkPicture();

} // namespace msr::app
