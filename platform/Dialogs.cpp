#include "platform/Dialogs.h"

#include "platform/RecordingDialogs.h"

namespace platform {

namespace {

std::unique_ptr<DialogService>& Installed() {
    static std::unique_ptr<DialogService> service;
    return service;
}

}  // namespace

DialogService& Dialogs() {
    auto& service = Installed();
    if (!service) service = std::make_unique<RecordingDialogs>();
    return *service;
}

std::unique_ptr<DialogService> InstallDialogs(std::unique_ptr<DialogService> service) {
    auto previous = std::move(Installed());
    Installed() = std::move(service);
    return previous;
}

}  // namespace platform
