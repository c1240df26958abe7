#pragma once

#include <termios.h>

#include <cstddef>
#include <string>
#include <vector>

// A pseudo-terminal standing in for the laser's serial line: the code under
// test opens the slave by its path, the test reads what arrives at the master.
// The slave starts at 38400 baud, 7 data bits, even parity, two stop bits, so
// that settings applied on opening show.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool IsOpen() const { return master_ >= 0; }
    const std::string& SlavePath() const { return slavePath_; }
    termios SlaveSettings() const;

    // Bytes from the line, up to count of them, waiting at most timeoutMs for
    // each next byte.
    std::vector<unsigned char> Read(std::size_t count, int timeoutMs) const;

private:
    int master_ = -1;
    int slave_ = -1;  // kept open so the line stays up between opens
    std::string slavePath_;
};
