#pragma once

#include <functional>

class QUrl;

namespace msr::questionnaire {

// Hands a web address to the user's browser. Whether that works is not reported.
void OpenWebAddress(const QUrl& address);

// Replaces the desktop's opener (tests see what would be opened); an empty function
// restores it.
void SetWebAddressOpener(std::function<void(const QUrl&)> opener);

} // namespace msr::questionnaire
