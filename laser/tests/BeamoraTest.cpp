#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Beamora.h"
#include "Deadline.h"
#include "PtyPair.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char* const kPortFile = "config/laser port";

void WritePortFile(const std::string& text) {
    std::filesystem::create_directories("config");
    std::ofstream(kPortFile, std::ios::binary) << text;
}

std::string ReadPortFile() {
    std::ifstream file(kPortFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

Bytes Frame(unsigned char code, std::array<unsigned char, 4> value) {
    return {0x55, 0xAA, 0x08, 0x00, code, value[0], value[1], value[2], value[3], 0x00};
}

Bytes Join(std::initializer_list<Bytes> frames) {
    Bytes all;
    for (const Bytes& f : frames) all.insert(all.end(), f.begin(), f.end());
    return all;
}

class BeamoraOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.IsOpen());
        WritePortFile(pty.SlavePath());  // the constructor takes the port from here
    }

    PtyPair pty;
};

TEST_F(BeamoraOnPty, OpensAt9600_8N1AndWritesWholeFramesUntilClosed) {
    CBeamora laser;
    EXPECT_FALSE(laser.IsCommOpening());
    laser.OpenComm();
    ASSERT_TRUE(laser.IsCommOpening());

    const termios line = pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B9600));
    EXPECT_EQ(cfgetispeed(&line), static_cast<speed_t>(B9600));
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & PARENB, 0u);
    EXPECT_EQ(line.c_cflag & CSTOPB, 0u);

    // Choosing another port changes only the next opening.
    laser.SetCommPort(77);
    EXPECT_TRUE(laser.IsCommOpening());

    laser.StartLaser();
    laser.StopLaser();
    laser.SetPulseWidth(10);
    laser.SetPulseWidth(1000);
    laser.SetGrabDelayNs(-1);
    EXPECT_EQ(pty.Read(60, 500), Join({
                                     {0x55, 0xAA, 0x08, 0x00, 0x09, 0x00, 0x00, 0x00, 0x01, 0x00},
                                     {0x55, 0xAA, 0x08, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00},
                                     {0x55, 0xAA, 0x08, 0x00, 0x01, 0x00, 0x00, 0x27, 0x10, 0x00},
                                     Frame(0x01, {0x00, 0x0F, 0x42, 0x40}),
                                     Frame(0x07, {0xFF, 0xFF, 0xFF, 0xFF}),
                                 }));

    laser.CloseComm();
    EXPECT_FALSE(laser.IsCommOpening());
    // Nothing goes out, but the command still takes its 50 ms.
    const auto start = std::chrono::steady_clock::now();
    laser.StopLaser();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    EXPECT_TRUE(pty.Read(10, 200).empty());
}

// Opening an open port once leaked the first handle and left the second open
// failing behind a set flag; now the port is closed and opened again.
TEST_F(BeamoraOnPty, ReopenedPortCarriesTheOtherCommands) {
    CBeamora laser;
    laser.OpenComm();
    laser.OpenComm();
    ASSERT_TRUE(laser.IsCommOpening());

    laser.IntTrig();
    laser.ExtTrig();
    laser.SetPulseFreq(20);
    laser.SetPulseCount(-2);
    laser.SetDelayStep(0x01020304);
    EXPECT_EQ(pty.Read(60, 500), Join({
                                     Frame(0x03, {0, 0, 0, 1}),
                                     Frame(0x04, {0, 0, 0, 1}),
                                     Frame(0x00, {0, 0, 0, 20}),
                                     Frame(0x08, {0xFF, 0xFF, 0xFF, 0xFE}),
                                     Frame(0x06, {1, 2, 3, 4}),
                                 }));
}

TEST(Beamora, PortThatCannotBeOpenedStaysClosedAndDropsFrames) {
    WritePortFile("/dev/no-such-laser-port");
    CBeamora laser;
    laser.OpenComm();
    EXPECT_FALSE(laser.IsCommOpening());
    laser.StartLaser();  // dropped, without complaint
    EXPECT_FALSE(laser.IsCommOpening());
}

TEST(Beamora, PortFileKeepsTheDeviceNameOfThePortNumber) {
    EXPECT_EQ(CBeamora::PortDeviceName(0), L"");
    // No machine lists that many serial ports: the fallback applies.
    EXPECT_EQ(CBeamora::PortDeviceName(77), L"/dev/ttyS76");

    CBeamora laser;
    laser.SetCommPort(77);
    EXPECT_EQ(ReadPortFile(), "/dev/ttyS76");
    laser.SetCommPort(0);
    laser.SetCommPort(-5);
    EXPECT_EQ(ReadPortFile(), "/dev/ttyS76");

    const std::string first = Narrow(CBeamora::PortDeviceName(1));
    EXPECT_EQ(first.rfind("/dev/", 0), 0u) << first;
}

// A port file may hold a DOS-style name, COMn or \\.\COMn: that is port
// number n here. Anything else is a device name and kept as it stands.
TEST(Beamora, PortFileIsReadWithDosStyleNamesAsPortNumbers) {
    const struct {
        std::string stored;
        std::string expected;
    } cases[] = {
        {"COM3", Narrow(CBeamora::PortDeviceName(3))},
        {"\\\\.\\COM12", Narrow(CBeamora::PortDeviceName(12))},
        {"com40\r\nsecond line", "/dev/ttyS39"},
        {"/dev/ttyUSB3\n", "/dev/ttyUSB3"},
        {"COMX", "COMX"},
        {"COM0", "COM0"},
    };
    for (const auto& c : cases) {
        WritePortFile(c.stored);
        CBeamora laser;
        laser.SavePort();
        EXPECT_EQ(ReadPortFile(), c.expected) << c.stored;
    }

    WritePortFile("");  // an empty file leaves port 1
    CBeamora laser;
    laser.SavePort();
    EXPECT_EQ(ReadPortFile(), Narrow(CBeamora::PortDeviceName(1)));
}

// A folder, a FIFO or a device in the port file's place blocked or spun the
// constructor; now it is passed over and port 1 stays chosen.
TEST(Beamora, PortFileThatIsNoRegularFileOrTooLargeLeavesPortOne) {
    const std::string portOne = Narrow(CBeamora::PortDeviceName(1));
    for (int stand = 0; stand < 4; ++stand) {
        SCOPED_TRACE(stand);
        std::filesystem::create_directories("config");
        std::filesystem::remove_all(kPortFile);
        if (stand == 0) std::filesystem::create_directory(kPortFile);
        if (stand == 1) {
            ASSERT_EQ(::mkfifo(kPortFile, 0600), 0);
        }
        if (stand == 2) std::filesystem::create_symlink("/dev/zero", kPortFile);
        if (stand == 3) WritePortFile("/dev/ttyUSB3\n" + std::string(5000, ' '));
        const auto kept = quenlix::testing::ResultWithin(std::chrono::milliseconds(2000), [] {
            CBeamora laser;
            std::filesystem::remove_all(kPortFile);
            laser.SavePort();
            return ReadPortFile();
        });
        ASSERT_TRUE(kept.has_value()) << "the constructor did not return within 2 s";
        EXPECT_EQ(*kept, portOne);
    }
}

}  // namespace
