#pragma once

#include <memory>
#include <string>

#define QUENLIX_BEAMORA_API __attribute__((visibility("default")))

// Drives the pulsed laser of a LIBS set-up over a serial port. Every command
// is one 10-byte frame (55 AA 08 00, command code, 32-bit value most
// significant byte first, 00), written in one go and followed by a 50 ms pause
// so the laser can take it in. Nothing is ever read back, and no operation
// reports an error: frames for a port that is not open are dropped, after the
// same pause.
//
// Port numbers. The laser dialog speaks of ports by number, 1 upwards;
// PortDeviceName maps a number to this machine's serial device, and the port
// file "config/laser port" keeps the device name:
//   - the serial ports the system lists (built-in UARTs that are really there,
//     USB adapters /dev/ttyUSB*, USB modems /dev/ttyACM*, ...) are ordered by
//     device path, numbers in the path compared as numbers, so /dev/ttyACM0,
//     /dev/ttyS0, /dev/ttyS2, /dev/ttyS10, /dev/ttyUSB0, /dev/ttyUSB1;
//   - port n is the nth of them;
//   - a number beyond that list gives /dev/ttyS{n-1}, as with COMn.
// A port file holding a DOS-style port name (COM3, \\.\COM12) is read as
// that port number. The port file is read only when it is a regular file of
// at most 4 KiB; otherwise the port stays as it was.
//
// One object belongs to one thread (the user-interface thread), and a
// QCoreApplication must exist while a port is open.
class QUENLIX_BEAMORA_API CBeamora {
public:
    // Takes the device of port 1, then the name kept in the port file.
    CBeamora();
    // Closes the port if it is open.
    virtual ~CBeamora();
    CBeamora(const CBeamora&) = delete;
    CBeamora& operator=(const CBeamora&) = delete;

    // The serial device of port number (1 upwards), as described above; an
    // empty name for numbers below 1.
    static std::wstring PortDeviceName(int number);

    // Chooses the port for the next OpenComm and keeps it in the port file.
    // Numbers below 1 are refused: nothing changes.
    void SetCommPort(int number);
    // Opens the chosen port at 9600 baud, 8 data bits, no parity, one stop
    // bit. A port that is already open is closed and opened again.
    void OpenComm();
    void CloseComm();
    bool IsCommOpening() const;

    void StartLaser();
    void StopLaser();
    void IntTrig();
    void ExtTrig();
    // Pulse width in microseconds; the laser is sent nanoseconds, width × 1000
    // computed in 32 bits (widths above 2147483 µs wrap around).
    void SetPulseWidth(int widthUs);
    void SetPulseFreq(int freqHz);
    void SetPulseCount(int count);
    void SetGrabDelayNs(int delayNs);
    void SetDelayStep(int step);

    // Write and read the port file.
    void SavePort();
    void LoadPort();

private:
    struct Record;
    void Send(unsigned char code, int value);

    std::unique_ptr<Record> record_;
};
