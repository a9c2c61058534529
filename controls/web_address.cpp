#include "controls/web_address.h"

#include <QDesktopServices>
#include <QUrl>

namespace controls {

namespace {
WebAddressHandler& handlerSlot() {
    static WebAddressHandler handler;
    return handler;
}
}  // namespace

void setWebAddressHandler(WebAddressHandler handler) {
    handlerSlot() = std::move(handler);
}

void openWebAddress(const QString& address) {
    if (handlerSlot()) {
        handlerSlot()(address);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

}  // namespace controls
