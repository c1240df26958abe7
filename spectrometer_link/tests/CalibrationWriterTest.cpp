#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "DeviceProtocol.h"
#include "Kestrion.h"
#include "LinkTestSupport.h"

namespace kestrion::testing {
namespace {

using namespace std::chrono_literals;
using CalibrationWriter = SimulatedLinkTest;

std::vector<uint8_t> LittleEndian(double value) {
    std::vector<uint8_t> bytes(8);
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    for (int i = 0; i < 8; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(bits >> (8 * i));
    return bytes;
}

TEST_F(CalibrationWriter, WritesFourCoefficientsInOrderAndReadsThemBack) {
    auto unit = AddUnit();
    std::array<double, 4> written = {350.25, 0.21, -1.5e-5, 3.0e-10};
    {
        CKestrion link;
        ASSERT_EQ(link.StartDevice(0), 1);
        ASSERT_EQ(link.SetDevSoftTrigger(), 1);  // keep frame traffic out of the log
        unit->RecordTraffic(true);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(WriteDemarcateData(&link, written.data(), 4), 1);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);  // a pause after the last write too

        const auto writes = ControlRequests(unit->Traffic(), protocol::kWriteCoefficient);
        ASSERT_EQ(writes.size(), 4u);
        for (uint16_t i = 0; i < 4; ++i) {
            EXPECT_EQ(writes[i].setup.requestType, 0x40);
            EXPECT_EQ(writes[i].setup.value, i);
            EXPECT_EQ(writes[i].setup.index, 0);
            EXPECT_EQ(writes[i].data, LittleEndian(written[i]));
            if (i > 0) {
                EXPECT_GE(writes[i].time - writes[i - 1].time, 45ms);
            }
        }
        double stored[4];
        link.GetCalibrationParams(stored);
        EXPECT_TRUE(std::equal(stored, stored + 4, written.begin()));

        std::vector<double> x(3630);
        link.GetXData(x.data());
        EXPECT_DOUBLE_EQ(x[2000], Polynomial(written, 2000));
    }
    CKestrion rescanned;  // a later start reads the device's values
    ASSERT_EQ(rescanned.StartDevice(0), 1);
    double stored[4];
    rescanned.GetCalibrationParams(stored);
    EXPECT_TRUE(std::equal(stored, stored + 4, written.begin()));
}

TEST_F(CalibrationWriter, RefusedWriteKeepsTheOldCoefficientsButSendsTheRest) {
    auto unit = AddUnit();
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    double before[4];
    link.GetCalibrationParams(before);
    unit->Refuse(protocol::kWriteCoefficient, 2);
    const double written[4] = {1, 2, 3, 4};
    EXPECT_EQ(WriteDemarcateData(&link, written, 4), 0);
    EXPECT_EQ(ControlRequests(unit->Traffic(), protocol::kWriteCoefficient).size(), 4u);
    double after[4];
    link.GetCalibrationParams(after);
    EXPECT_TRUE(std::equal(after, after + 4, before));
    const auto device = unit->Coefficients();
    EXPECT_EQ(device[3], 4);  // written after the refusal
    EXPECT_EQ(device[2], before[2]);
}

TEST_F(CalibrationWriter, FitsACubicFromPixelWavelengthPairs) {
    auto unit = AddUnit();
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    const int pixels[6] = {100, 700, 1300, 1900, 2500, 3100};
    double wavelengths[6];
    for (int i = 0; i < 6; ++i) wavelengths[i] = 300 + 0.25 * pixels[i];
    EXPECT_EQ(WriteDemarcateData(&link, wavelengths, pixels, 6), 1);
    const auto device = unit->Coefficients();
    EXPECT_NEAR(device[0], 300, 1e-6);
    EXPECT_NEAR(device[1], 0.25, 1e-9);
    EXPECT_NEAR(device[2], 0, 1e-12);
    EXPECT_NEAR(device[3], 0, 1e-15);
}

TEST_F(CalibrationWriter, RefusesWhatWouldCorruptTheDevice) {
    auto unit = AddUnit();
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    const double values[4] = {1, 2, 3, 4};
    const double pixels[4] = {5, 5, 5, 5};
    EXPECT_EQ(WriteDemarcateData(nullptr, values, 4), 0);
    EXPECT_EQ(WriteDemarcateData(&link, values, 0), 0);
    EXPECT_EQ(WriteDemarcateData(&link, values, 5), 0);
    EXPECT_EQ(WriteDemarcateData(&link, values, pixels, 3), 0);  // a cubic needs four pairs
    EXPECT_EQ(WriteDemarcateData(&link, values, pixels, 4), 0);  // one pixel: no fit
    EXPECT_TRUE(ControlRequests(unit->Traffic(), protocol::kWriteCoefficient).empty());
    EXPECT_EQ(WriteCorrectData(&link, nullptr, nullptr, 3), 1);
    EXPECT_EQ(WriteConSpecFaultPixel(&link, nullptr, 3), 1);

    CKestrion unstarted;
    EXPECT_EQ(WriteDemarcateData(&unstarted, values, 4), 0);
}

}  // namespace
}  // namespace kestrion::testing
