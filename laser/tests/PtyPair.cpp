#include "PtyPair.h"

#include <poll.h>
#include <pty.h>
#include <unistd.h>

PtyPair::PtyPair() {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    slavePath_ = name;
    termios settings{};
    tcgetattr(slave_, &settings);
    cfsetispeed(&settings, B38400);
    cfsetospeed(&settings, B38400);
    settings.c_cflag = (settings.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB;
    tcsetattr(slave_, TCSANOW, &settings);
}

PtyPair::~PtyPair() {
    if (master_ >= 0) close(master_);
    if (slave_ >= 0) close(slave_);
}

termios PtyPair::SlaveSettings() const {
    termios settings{};
    tcgetattr(slave_, &settings);
    return settings;
}

std::vector<unsigned char> PtyPair::Read(std::size_t count, int timeoutMs) const {
    std::vector<unsigned char> bytes;
    pollfd ready{master_, POLLIN, 0};
    while (bytes.size() < count && poll(&ready, 1, timeoutMs) == 1 && (ready.revents & POLLIN)) {
        unsigned char chunk[64];
        const ssize_t n = read(master_, chunk, std::min(sizeof chunk, count - bytes.size()));
        if (n <= 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return bytes;
}
