#include "questionnaire/web_address.h"

#include <QDesktopServices>
#include <QUrl>

namespace msr::questionnaire {
namespace {

std::function<void(const QUrl&)>& Opener() {
    static std::function<void(const QUrl&)> opener;
    return opener;
}

} // namespace

void OpenWebAddress(const QUrl& address) {
    if (Opener())
        Opener()(address);
    else
        QDesktopServices::openUrl(address);
}

void SetWebAddressOpener(std::function<void(const QUrl&)> opener) {
    Opener() = std::move(opener);
}

} // namespace msr::questionnaire
