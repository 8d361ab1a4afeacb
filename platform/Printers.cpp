#include "platform/Printers.h"

#include "platform/RecordingPrinters.h"

namespace platform {

namespace {

std::unique_ptr<PrinterService>& Installed() {
    static std::unique_ptr<PrinterService> service;
    return service;
}

}  // namespace

PrinterService& Printers() {
    auto& service = Installed();
    if (!service) service = std::make_unique<RecordingPrinters>();
    return *service;
}

std::unique_ptr<PrinterService> InstallPrinters(std::unique_ptr<PrinterService> service) {
    auto previous = std::move(Installed());
    Installed() = std::move(service);
    return previous;
}

}  // namespace platform
