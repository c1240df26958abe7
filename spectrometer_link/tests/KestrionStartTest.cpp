#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "DeviceProtocol.h"
#include "Kestrion.h"
#include "LinkTestSupport.h"

namespace kestrion::testing {
namespace {

using KestrionStart = SimulatedLinkTest;

SimulatedUnitSetup ExampleUnit() {
    SimulatedUnitSetup setup;
    setup.serialPart = "A1B2C3D4";
    return setup;
}

TEST_F(KestrionStart, IdentityAndSerialNumberAreComposedFromTheDevice) {
    AddUnit(ExampleUnit());
    CKestrion link;
    EXPECT_EQ(link.GetAllDeviceCount(), 1);
    ASSERT_EQ(link.StartDevice(0), 1);
    EXPECT_EQ(link.GetSerialNumber(), L"2201A1B2C3D4" L"0" L"102" L"0200" L"1100");
    EXPECT_EQ(link.GetVersionInfo(), L"01_02");
    EXPECT_EQ(link.GetDeviceName(), L"Velmora");
    EXPECT_EQ(link.GetPixelCount(), 3630);
    EXPECT_EQ(link.GetMaxY(), 16500);
    // No display range on the device (-1, -1): the device range is shown.
    EXPECT_EQ(link.GetMinX(), 200);
    EXPECT_EQ(link.GetMaxX(), 1100);
    EXPECT_EQ(link.GetDeviceMinX(), 200);
    EXPECT_EQ(link.GetIntegralTimeMS(), 4);  // the model's shortest
    EXPECT_TRUE(link.IsKestrionRight());

    // A short firmware text and a byte above 0x7F: the same rule, no sign
    // extension into invalid wide characters.
    SimulatedUnitSetup odd = ExampleUnit();
    odd.firmware = "012";
    odd.serialPart = "\xC5X";
    AddUnit(odd);
    ASSERT_EQ(link.StartDevice(1), 1);
    EXPECT_EQ(link.GetVersionInfo(), L"01_2");
    EXPECT_EQ(link.GetSerialNumber(), L"2201\x00C5X" L"0" L"1" L"_2" L"0200" L"1100");
}

TEST_F(KestrionStart, EveryListedModelStartsWithItsRow) {
    struct Row {
        const char* code;
        const wchar_t* name;
        int pixels;
        double maxY, shortestMS;
    };
    const Row rows[] = {{"00002201", L"Velmora", 3630, 16500, 4}, {"00002202", L"Tarnell", 2028, 65535, 17},
                        {"00002203", L"Quorrin", 3630, 16500, 4}, {"00008101", L"Pellisk", 2048, 16500, 0},
                        {"00002204", L"Dravent", 3630, 16500, 4}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        SimulatedUnitSetup setup;
        setup.modelCode = row.code;
        AddUnit(setup);
        CKestrion link;
        ASSERT_EQ(link.StartDevice(bus->CountDevices() - 1), 1);
        EXPECT_EQ(link.GetDeviceName(), row.name);
        EXPECT_EQ(link.GetPixelCount(), row.pixels);
        EXPECT_EQ(link.GetMinY(), 0);
        EXPECT_EQ(link.GetMaxY(), row.maxY);
        EXPECT_EQ(link.GetIntegralTimeMS(), row.shortestMS);
    }
}

TEST_F(KestrionStart, FailsWithoutDeviceOrIdentityAndForUnlistedModels) {
    CKestrion link;
    EXPECT_EQ(link.StartDevice(0), 0);

    SimulatedUnitSetup unlisted;
    unlisted.modelCode = "00009999";
    AddUnit(unlisted);
    EXPECT_EQ(link.StartDevice(0), 0);
    EXPECT_EQ(link.GetDeviceName(), L"00009999");  // the raw code stands as the name
    EXPECT_EQ(link.GetPixelCount(), 4096);

    auto unit = AddUnit();
    unit->Refuse(protocol::kReadRecord, protocol::kRecordDefect);
    EXPECT_EQ(link.StartDevice(1), 0);
    unit->AcceptAll();
    unit->Refuse(protocol::kReadSerialPart);
    EXPECT_EQ(link.StartDevice(1), 0);
    unit->AcceptAll();
    EXPECT_EQ(link.StartDevice(1), 1);  // still usable after failures
}

TEST_F(KestrionStart, PixelIndexModelShowsPixelsOneToLast) {
    SimulatedUnitSetup setup;
    setup.modelCode = "00008101";
    auto unit = AddUnit(setup);
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    EXPECT_EQ(link.GetDeviceName(), L"Pellisk");
    std::vector<double> x(2048);
    int first = -1, count = -1;
    EXPECT_EQ(link.GetXData(x.data(), first, count), 1);
    for (int p = 0; p < 2048; ++p) ASSERT_EQ(x[p], p);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(count, 2047);
    EXPECT_EQ(link.GetMaxX(), 2048);
    // Neither a defect record nor an integration time at start.
    const auto traffic = unit->Traffic();
    for (const auto& r : ControlRequests(traffic, protocol::kReadRecord)) EXPECT_NE(r.setup.value, 36);
    EXPECT_TRUE(BulkCommands(traffic).empty());
    EXPECT_EQ(link.GetIntegralTimeMS(), 0);
}

TEST_F(KestrionStart, DisplayWindowHoldsPixelsStrictlyInsideTheDisplayRange) {
    SimulatedUnitSetup setup;
    setup.displayMinX = 400;
    setup.displayMaxX = 800;
    AddUnit(setup);
    setup.displayMinX = 5000;  // no pixel inside
    setup.displayMaxX = 6000;
    AddUnit(setup);

    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    std::vector<double> x(3630);
    int first = 0, count = 0;
    link.GetXData(x.data(), first, count);
    int expectedFirst = 0, expectedLast = 3629;
    while (Polynomial(setup.coefficients, expectedFirst) <= 400) ++expectedFirst;
    while (Polynomial(setup.coefficients, expectedLast) >= 800) --expectedLast;
    EXPECT_EQ(first, expectedFirst);
    EXPECT_EQ(count, expectedLast - expectedFirst + 1);
    std::vector<double> shown(static_cast<size_t>(count));
    link.GetDisXData(shown.data());
    EXPECT_EQ(shown.front(), x[first]);
    EXPECT_EQ(shown.back(), x[expectedLast]);

    ASSERT_EQ(link.StartDevice(1), 1);
    link.GetXData(nullptr, first, count);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(count, 3630);
}

TEST_F(KestrionStart, XAxisIsPolynomialPlusCorrectionSplineFromFivePoints) {
    SimulatedUnitSetup setup;
    setup.correctionPoints = {{300, 0.5}, {900, 0.8}, {1500, 0.2}, {2400, -0.4}};
    AddUnit(setup);  // four points: no correction
    setup.correctionPoints.push_back({3300, -0.1});
    AddUnit(setup);
    const auto points = setup.correctionPoints;
    setup.correctionPoints = {{300, 0.5}, {900, 0.8}, {900, 0.2}, {2400, -0.4}, {3300, -0.1}};
    AddUnit(setup);  // a repeated pixel cannot be a correction

    CKestrion link;
    std::vector<double> x(3630);
    for (int unit : {0, 2}) {
        ASSERT_EQ(link.StartDevice(unit), 1);
        EXPECT_EQ(link.GetXData(x.data()), 1);
        for (int p = 0; p < 3630; p += 11) ASSERT_NEAR(x[p], Polynomial(setup.coefficients, p), 1e-9) << p;
    }
    ASSERT_EQ(link.StartDevice(1), 1);
    EXPECT_EQ(link.GetXData(x.data()), 1);
    for (const auto& [pixel, value] : points) {
        EXPECT_NEAR(x[pixel] - Polynomial(setup.coefficients, pixel), value, 1e-9) << pixel;
    }
    // The end knots carry the end slopes themselves as values.
    EXPECT_NEAR(x[0] - Polynomial(setup.coefficients, 0), (0.8 - 0.5) / (900 - 300), 1e-9);
    EXPECT_NEAR(x[3629] - Polynomial(setup.coefficients, 3629), (-0.1 + 0.4) / (3300 - 2400), 1e-9);
    // Between the points the correction stays of their size, not wild.
    EXPECT_LT(std::abs(x[1200] - Polynomial(setup.coefficients, 1200)), 1.5);
}

TEST_F(KestrionStart, StartBySerialAcceptsOnlyThatDevice) {
    auto first = AddUnit(DefaultSimulatedUnit(0));
    AddUnit(DefaultSimulatedUnit(1));
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    const std::wstring serial = link.GetSerialNumber();
    EXPECT_EQ(link.StartDevice(serial), 1);

    first->Unplug();  // the other unit moves to index 0
    EXPECT_EQ(link.StartDevice(serial), 0);
    EXPECT_EQ(link.GetSerialNumber(), serial);
}

TEST_F(KestrionStart, DarkRegionFollowsModelAndIntegrationTime) {
    AddUnit();
    SimulatedUnitSetup wide;
    wide.modelCode = "00002202";
    AddUnit(wide);
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    EXPECT_EQ(link.GetDarkRegion(), 120);
    ASSERT_EQ(link.SetIntegralTimeMS(180), 1);
    EXPECT_NEAR(link.GetDarkRegion(), 180.0 / 9 + 120, 1e-9);
    ASSERT_EQ(link.StartDevice(1), 1);
    EXPECT_EQ(link.GetPixelCount(), 2028);
    EXPECT_EQ(link.GetDarkRegion(), 100);
    ASSERT_EQ(link.SetIntegralTimeMS(200), 1);
    EXPECT_NEAR(link.GetDarkRegion(), 200 * 0.23 + 100, 1e-9);
}

}  // namespace
}  // namespace kestrion::testing
