#include "UsbBackend.h"

#include <mutex>

#include "LibusbBackend.h"

namespace kestrion {
namespace {

std::mutex backendMutex;
std::shared_ptr<UsbBackend> backendInUse;

}  // namespace

void SetUsbBackend(std::shared_ptr<UsbBackend> backend) {
    std::lock_guard lock(backendMutex);
    backendInUse = std::move(backend);
}

std::shared_ptr<UsbBackend> CurrentUsbBackend() {
    std::lock_guard lock(backendMutex);
    if (backendInUse == nullptr) backendInUse = std::make_shared<LibusbBackend>();
    return backendInUse;
}

}  // namespace kestrion
