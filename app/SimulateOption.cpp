#include "SimulateOption.h"

#include <cstdlib>

namespace quenlix {

int SimulatedDeviceCount(const char* count, std::string& error) {
    if (count == nullptr) return kDefaultSimulatedDevices;
    char* end = nullptr;
    const long n = std::strtol(count, &end, 10);
    if (*count == '\0' || *end != '\0' || n < 1 || n > kMaxSimulatedDevices) {
        error = "--simulate takes a device count from 1 to " + std::to_string(kMaxSimulatedDevices) +
                ", not '" + count + "'";
        return -1;
    }
    return static_cast<int>(n);
}

}  // namespace quenlix
