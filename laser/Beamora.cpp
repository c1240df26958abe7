#include "Beamora.h"

#include <QCoreApplication>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QString>
#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "BoundedFile.h"
#include "ReplaceFile.h"
#include "SettingsPath.h"

namespace {

constexpr std::string_view kPortFile = "Config/laser port";
constexpr qint32 kBaudRate = 9600;
constexpr qint64 kReadBufferBytes = 1024;
constexpr qint64 kFrameBytes = 10;
// The laser's port was run with write time-outs of 50 ms per byte plus 500 ms.
constexpr int kWriteTimeoutMs = 50 * kFrameBytes + 500;
// Time the laser needs to take in one frame before the next.
constexpr auto kPauseAfterFrame = std::chrono::milliseconds(50);
// A device path never comes near this; a larger file is no port file.
constexpr std::size_t kPortFileLimit = 4096;

enum Command : unsigned char {
    kPulseFreq = 0x00,
    kPulseWidth = 0x01,
    kIntTrig = 0x03,
    kExtTrig = 0x04,
    kDelayStep = 0x06,
    kGrabDelay = 0x07,
    kPulseCount = 0x08,
    kStart = 0x09,
    kStop = 0x10,
};

// Digits at the end of text as a number; none (or too many) give nullopt.
std::optional<unsigned> TrailingNumber(std::string_view text, std::size_t* digitsStart = nullptr) {
    const std::size_t start = text.find_last_not_of("0123456789") + 1;  // npos + 1 is 0
    if (digitsStart) *digitsStart = start;
    unsigned value = 0;
    const auto* end = text.data() + text.size();
    if (start == text.size()) return std::nullopt;
    const auto [last, error] = std::from_chars(text.data() + start, end, value);
    if (error != std::errc() || last != end) return std::nullopt;
    return value;
}

// Device paths in listing order: "/dev/ttyS10" sorts as ("/dev/ttyS", 10).
std::pair<std::string, unsigned> SortKey(const std::string& path) {
    std::size_t start = 0;
    const auto number = TrailingNumber(path, &start);
    return {path.substr(0, start), number.value_or(0)};
}

// A DOS-style port name, "COM3" or "\\.\COM12", gives its number.
std::optional<int> DosPortNumber(std::string_view name) {
    constexpr std::string_view kDeviceNamespace = "\\\\.\\";
    if (name.substr(0, kDeviceNamespace.size()) == kDeviceNamespace)
        name.remove_prefix(kDeviceNamespace.size());
    if (name.size() < 4 || QString::fromLatin1(name.data(), 3).compare("COM", Qt::CaseInsensitive) != 0) {
        return std::nullopt;
    }
    std::size_t start = 0;
    const auto number = TrailingNumber(name, &start);
    if (start != 3 || !number || *number < 1 || *number > 256)
        return std::nullopt;  // DOS-style names run from COM1 to COM256
    return static_cast<int>(*number);
}

}  // namespace

struct CBeamora::Record {
    QSerialPort port;
    std::wstring portName;
    bool open = false;
};

CBeamora::CBeamora() : record_(std::make_unique<Record>()) {
    record_->portName = PortDeviceName(1);
    LoadPort();
}

CBeamora::~CBeamora() = default;

std::wstring CBeamora::PortDeviceName(int number) {
    if (number < 1) return {};
    std::vector<std::string> paths;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        paths.push_back(info.systemLocation().toStdString());
    }
    std::sort(paths.begin(), paths.end(),
              [](const std::string& a, const std::string& b) { return SortKey(a) < SortKey(b); });
    if (static_cast<std::size_t>(number) <= paths.size()) {
        return QString::fromStdString(paths[number - 1]).toStdWString();
    }
    return L"/dev/ttyS" + std::to_wstring(number - 1);
}

void CBeamora::SetCommPort(int number) {
    if (number < 1) return;
    record_->portName = PortDeviceName(number);
    SavePort();
}

void CBeamora::OpenComm() {
    Record& r = *record_;
    CloseComm();
    // QSerialPort watches the port with socket notifiers, which need the
    // application object.
    if (QCoreApplication::instance() == nullptr) return;
    r.port.setPortName(QString::fromStdWString(r.portName));
    // Only the input side has a buffer size to set here; the laser never
    // sends anything, so it stays empty.
    r.port.setReadBufferSize(kReadBufferBytes);
    // Applied by open() over the settings the port had; it fails when they
    // cannot be applied.
    r.port.setBaudRate(kBaudRate);
    r.port.setDataBits(QSerialPort::Data8);
    r.port.setParity(QSerialPort::NoParity);
    r.port.setStopBits(QSerialPort::OneStop);
    r.open = r.port.open(QIODevice::ReadWrite);
}

void CBeamora::CloseComm() {
    if (record_->port.isOpen()) record_->port.close();
    record_->open = false;
}

bool CBeamora::IsCommOpening() const { return record_->open; }

void CBeamora::StartLaser() { Send(kStart, 1); }
void CBeamora::StopLaser() { Send(kStop, 0); }
void CBeamora::IntTrig() { Send(kIntTrig, 1); }
void CBeamora::ExtTrig() { Send(kExtTrig, 1); }

void CBeamora::SetPulseWidth(int widthUs) {
    Send(kPulseWidth, static_cast<std::int32_t>(static_cast<std::uint32_t>(widthUs) * 1000u));
}

void CBeamora::SetPulseFreq(int freqHz) { Send(kPulseFreq, freqHz); }
void CBeamora::SetPulseCount(int count) { Send(kPulseCount, count); }
void CBeamora::SetGrabDelayNs(int delayNs) { Send(kGrabDelay, delayNs); }
void CBeamora::SetDelayStep(int step) { Send(kDelayStep, step); }

void CBeamora::Send(unsigned char code, int value) {
    Record& r = *record_;
    const auto v = static_cast<std::uint32_t>(value);
    std::array<char, kFrameBytes> frame{0x55, static_cast<char>(0xAA), 0x08, 0x00, static_cast<char>(code)};
    for (int i = 0; i < 4; ++i) frame[5 + i] = static_cast<char>(v >> (24 - 8 * i));  // frame[9] stays 0
    // A closed port drops the frame. A frame the port did not take in time is
    // dropped whole, so that no remainder runs into the next frame.
    if (r.open && (r.port.write(frame.data(), kFrameBytes) != kFrameBytes ||
                   !r.port.waitForBytesWritten(kWriteTimeoutMs))) {
        r.port.clear(QSerialPort::Output);
    }
    // The pause comes after every command, sent or dropped: callers get the
    // same timing either way.
    std::this_thread::sleep_for(kPauseAfterFrame);
}

void CBeamora::SavePort() {
    quenlix::WriteFileReplacing(quenlix::SettingsPathForWrite(kPortFile),
                                QString::fromStdWString(record_->portName).toStdString());
}

void CBeamora::LoadPort() {
    const std::string bytes = quenlix::ReadBoundedFile(quenlix::SettingsPath(kPortFile), kPortFileLimit).bytes;
    std::string line = bytes.substr(0, bytes.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) return;  // no file, or nothing in it: keep the port
    const auto dosNumber = DosPortNumber(line);
    record_->portName = dosNumber ? PortDeviceName(*dosNumber) : QString::fromStdString(line).toStdWString();
}
