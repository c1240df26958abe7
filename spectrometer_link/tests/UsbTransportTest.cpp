#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "DeviceProtocol.h"
#include "LinkTestSupport.h"
#include "usb/LibusbBackend.h"
#include "usb/UsbDevice.h"
#include "usb/UsbDeviceList.h"

namespace kestrion::testing {
namespace {

using UsbTransport = SimulatedLinkTest;

TEST_F(UsbTransport, NoDeviceMeansCountZeroAndNoOpen) {
    UsbDevice device;
    EXPECT_EQ(UsbDevice::CountDevices(), 0);
    EXPECT_FALSE(device.Open(0));
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.Endpoint(0), nullptr);
}

TEST_F(UsbTransport, EndpointListIsControlThenInterfaceInDescriptorOrder) {
    AddUnit();
    UsbDevice device;
    ASSERT_TRUE(device.Open(0));
    EXPECT_FALSE(device.Open(1));  // opening closes first, then fails
    EXPECT_FALSE(device.IsOpen());
    ASSERT_TRUE(device.Open(0));
    const uint8_t expected[] = {0x00, 0x01, 0x81, 0x82};
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(device.Endpoint(i), nullptr);
        EXPECT_EQ(device.Endpoint(i)->Address(), expected[i]);
        EXPECT_EQ(device.Endpoint(i)->timeoutMs, 10000);
    }
    EXPECT_EQ(device.Endpoint(4), nullptr);
    EXPECT_TRUE(device.Endpoint(3)->IsIn());
    EXPECT_FALSE(device.Endpoint(1)->IsIn());

    device.Close();
    EXPECT_EQ(device.Endpoint(0), nullptr);
}

TEST(UsbEndpointDescriptor, MaxPacketSizeCountsExtraTransactions) {
    struct NoConnection : UsbConnection {
        std::vector<UsbEndpointDescriptor> Endpoints() const override { return {}; }
        UsbTransferResult Control(const UsbControlSetup&, uint8_t*, int, int) override { return {}; }
        UsbTransferResult Bulk(uint8_t, uint8_t*, int, int) override { return {}; }
        void Abort() override {}
        void Resume() override {}
    } connection;
    EXPECT_EQ(UsbEndpoint(connection, {0x81, 1, 0x1400, 1}).MaxPacketSize(), 1024 * 3);
    EXPECT_EQ(UsbEndpoint(connection, {0x02, 2, 512, 0}).MaxPacketSize(), 512);
}

TEST_F(UsbTransport, ControlFieldsPersistBetweenRequests) {
    auto unit = AddUnit();
    UsbDevice device;
    ASSERT_TRUE(device.Open(0));
    UsbEndpoint& control = *device.Endpoint(0);
    uint8_t buffer[16] = {};
    control.requestCode = protocol::kReadRecord;
    control.value = protocol::kRecordDeviceRange;
    int length = 12;
    EXPECT_TRUE(control.Read(buffer, length));
    EXPECT_EQ(length, 12);
    control.value = protocol::kRecordDisplayRange;  // only what differs
    EXPECT_TRUE(control.Read(buffer, length));
    control.requestCode = protocol::kSelectClockTrigger;
    control.value = 0;
    length = 0;
    EXPECT_TRUE(control.Write(nullptr, length));  // zero-length vendor write

    const auto traffic = unit->Traffic();
    ASSERT_EQ(traffic.size(), 3u);
    EXPECT_EQ(traffic[0].setup.requestType, 0xC0);  // IN, vendor, device
    EXPECT_EQ(traffic[1].setup.request, protocol::kReadRecord);
    EXPECT_EQ(traffic[1].setup.value, protocol::kRecordDisplayRange);
    EXPECT_EQ(traffic[2].setup.requestType, 0x40);  // OUT, vendor, device
    EXPECT_EQ(traffic[2].length, 0);
    EXPECT_TRUE(traffic[2].data.empty());

    unit->Refuse(protocol::kSelectClockTrigger);
    EXPECT_FALSE(control.Write(nullptr, length));
    EXPECT_EQ(control.LastStatus(), UsbStatus::Stalled);
}

TEST_F(UsbTransport, ShortReadSucceedsAndTimedOutReadFailsEmpty) {
    auto unit = AddUnit();
    UsbDevice device;
    ASSERT_TRUE(device.Open(0));
    UsbEndpoint& out = *device.Endpoint(1);
    UsbEndpoint& in = *device.Endpoint(3);
    std::vector<uint8_t> frame(protocol::kReplyLength);
    auto request = protocol::kFrameRequest;

    unit->ShortenNextReplies(1, 100);
    int length = protocol::kCommandLength;
    ASSERT_TRUE(out.Transfer(request.data(), length));
    length = protocol::kReplyLength;
    EXPECT_TRUE(in.Transfer(frame.data(), length));
    EXPECT_EQ(length, 100);
    EXPECT_EQ(in.LastLength(), 100);

    unit->TimeOutNextReplies(1);
    in.timeoutMs = 30;
    length = protocol::kCommandLength;
    ASSERT_TRUE(out.Transfer(request.data(), length));
    length = protocol::kReplyLength;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(in.Transfer(frame.data(), length));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    EXPECT_EQ(length, 0);
    EXPECT_EQ(in.LastStatus(), UsbStatus::TimedOut);
}

TEST_F(UsbTransport, UnpluggedDeviceFailsEveryTransferAndLeavesTheCount) {
    auto unit = AddUnit();
    AddUnit(DefaultSimulatedUnit(1));
    UsbDevice device;
    ASSERT_TRUE(device.Open(0));
    unit->Unplug();
    EXPECT_EQ(UsbDevice::CountDevices(), 1);
    uint8_t buffer[12];
    int length = 12;
    device.Endpoint(0)->requestCode = protocol::kReadIdentity;
    EXPECT_FALSE(device.Endpoint(0)->Read(buffer, length));
    EXPECT_EQ(device.Endpoint(0)->LastStatus(), UsbStatus::NoDevice);

    unit->PlugIn();  // the old handle stays dead, a new open works
    length = 12;
    EXPECT_FALSE(device.Endpoint(0)->Read(buffer, length));
    ASSERT_TRUE(device.Open(0));
    length = 12;
    device.Endpoint(0)->requestCode = protocol::kReadIdentity;
    EXPECT_TRUE(device.Endpoint(0)->Read(buffer, length));
}

TEST(UsbDeviceList, ReadsHexPairsSkipsCommentsAndJunk) {
    std::istringstream text(
        "# spectrometers\n"
        "04b4:8613\n"
        "  1A2b:00fF  # trailing comment\r\n"
        "\n"
        "12345:0001\n"
        "zzzz:0001\n"
        "0bd7\n");
    const auto ids = ParseUsbDeviceList(text);
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0], (UsbId{0x04b4, 0x8613}));
    EXPECT_EQ(ids[1], (UsbId{0x1a2b, 0x00ff}));
}

TEST(LibusbBackend, WithoutListedDevicesCountsNoneAndOpensNothing) {
    LibusbBackend backend;  // no config/usb devices.txt in a fresh directory
    EXPECT_EQ(backend.CountDevices(), 0);
    EXPECT_EQ(backend.OpenAt(0).connection, nullptr);

    std::filesystem::create_directories("config");
    std::ofstream("config/usb devices.txt") << "ffff:fffe\n";
    EXPECT_EQ(backend.CountDevices(), 0);
    EXPECT_EQ(backend.OpenAt(0).connection, nullptr);
}

}  // namespace
}  // namespace kestrion::testing
