#pragma once

#include <functional>

class QUrl;

namespace msr::questionnaire {

// Hands a web address to the user's browser. Whether that works is not reported.
void OpenWebAddress(const QUrl& address);

// Hands the address on and tells whether that worked.
using WebAddressOpener = std::function<bool(const QUrl&)>;

// Replaces the desktop's opener (tests see what would be opened); an empty function
// restores it.
void SetWebAddressOpener(WebAddressOpener opener);

} // namespace msr::questionnaire
