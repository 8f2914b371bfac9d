#include "questionnaire/web_address.h"

#include <QDesktopServices>
#include <QUrl>

namespace msr::questionnaire {
namespace {

WebAddressOpener& Opener() {
    static WebAddressOpener opener;
    return opener;
}

} // namespace

void OpenWebAddress(const QUrl& address) {
    // Whether a browser came up is the user's to see; the program says nothing either way.
    if (Opener())
        (void)Opener()(address);
    else
        (void)QDesktopServices::openUrl(address);
}

void SetWebAddressOpener(WebAddressOpener opener) {
    Opener() = std::move(opener);
}

} // namespace msr::questionnaire
