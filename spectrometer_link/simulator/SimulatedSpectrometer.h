#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "SpectrumScene.h"
#include "usb/UsbBackend.h"

namespace kestrion {

// A scene that changes while the unit runs, timed from the unit's creation
// or from the SetSceneDrift that set it: the chosen emission lines of the
// source grow by heightPerSecond of their height each second (never below
// nothing) and move by shiftNmPerSecond along the wavelength axis, as a lamp
// warms up or a ruby's lines move under rising pressure. Each frame shows
// the scene at the middle of its exposure.
struct SceneDrift {
    int line = -1;  // index into SceneLines(scene); -1: every line of the source
    double heightPerSecond = 0;  // 0.05: +5 % of the line's height a second
    double shiftNmPerSecond = 0;

    bool operator==(const SceneDrift&) const = default;
};

// What a simulated unit holds in its memory when it is created.
struct SimulatedUnitSetup {
    std::string modelCode = "00002201";  // 8 characters
    std::string firmware = "0102";       // 4 characters
    std::string serialPart = "SIM00000"; // up to 8 characters
    int32_t deviceMinX = 200;
    int32_t deviceMaxX = 1100;
    int32_t displayMinX = -1;  // -1, -1: no display range of its own
    int32_t displayMaxX = -1;
    std::array<int32_t, 3> defectRecord = {0, 0, 0};
    std::vector<std::pair<int32_t, double>> correctionPoints;  // at most 40 are reported
    // The stored wavelength calibration c0 + c1·p + c2·p² + c3·p³: what the
    // unit reports, and what coefficient writes replace.
    std::array<double, 4> coefficients = {200.0, 0.26, -5e-6, 1e-10};
    // The optics: the scene falls on the detector through this polynomial.
    // Unset, it is the calibration the unit starts with, so the unit is
    // calibrated exactly. Writing coefficients never changes it.
    std::optional<std::array<double, 4>> trueDispersion;
    Scene scene = Scene::MercuryArgonLamp;
    SceneDrift drift;
    // The source's light is multiplied by this (below 0 or not finite: 0);
    // dark level and read noise stay.
    double brightness = 1.0;
};

// Unit k of the defaults: model 0, serial part "SIM" + k in five digits,
// mercury–argon lamp for even k and ruby for odd k.
SimulatedUnitSetup DefaultSimulatedUnit(int k);

// Unit 0 of the defaults with a wavelength calibration that needs redoing:
// its optics are the default ones, but its stored c0 is 2.5 nm higher and its
// c1 0.4 % larger, so the axis it reports runs from 2.5 nm too high at the
// first pixel to about 6.3 nm too high at the last.
SimulatedUnitSetup MiscalibratedSimulatedUnit();

// One transfer as the unit saw it.
struct WireRecord {
    enum class Kind { Control, BulkOut, BulkIn };
    Kind kind = Kind::Control;
    UsbControlSetup setup;          // control transfers
    uint8_t address = 0;            // bulk transfers
    std::vector<uint8_t> data;      // bytes sent to the unit (OUT transfers)
    int length = 0;                 // bytes the host asked to move
    std::chrono::steady_clock::time_point time;
    std::thread::id thread;         // who made the transfer
};

// An in-process spectrometer that speaks the device protocol: identity,
// records, coefficients (written ones are kept for the unit's life; the scene
// stays where the true dispersion puts it, as the optics do not change), trigger
// selection and frame status, the integration and frame-request commands and
// its model's frame layout. Frames are paced by the integration time: exposures
// run back to back from the last integration command, and a frame request is
// answered with the newest finished exposure not yet sent, waiting for the
// next one when there is none (in external trigger mode a frame is answered at
// once). Counts are a dark level with read noise plus shot noise over the
// scene, scaled by the integration time and clipped at the model's maximum.
// Three switches change what the scene sends: the source (off: dark and
// noise only), the sample (out: the plain source) and the laser (while it
// fires, every externally triggered frame holds one pulse's plasma flash,
// whatever the integration time). A switch acts on the next frame made.
// A transfer waiting for its reply ends at once, Cancelled, when the flag the
// connection passes in is raised and WakeWaiters is called.
//
// Thread-safe: the link's threads and a test may call any member at once.
class SimulatedSpectrometer {
public:
    static constexpr uint8_t kCommandEndpoint = 0x01;
    static constexpr uint8_t kStatusEndpoint = 0x81;  // present, never answers
    static constexpr uint8_t kFrameEndpoint = 0x82;

    explicit SimulatedSpectrometer(SimulatedUnitSetup setup);

    // Transfers of a connection opened in session; after an unplug every
    // older session is dead (NoDevice), as a real handle would be.
    uint64_t Session() const;
    UsbTransferResult Control(uint64_t session, const UsbControlSetup& setup, uint8_t* data, int length);
    UsbTransferResult Bulk(uint64_t session, uint8_t address, uint8_t* data, int length, int timeoutMs,
                           const std::atomic<bool>* aborted = nullptr);
    void WakeWaiters();

    // Faults on command.
    void Refuse(uint8_t request, int value = -1);  // -1: every value of the request
    void AcceptAll();
    void TimeOutNextReplies(int count);             // bulk replies: nothing within the timeout
    void ShortenNextReplies(int count, int length); // bulk replies cut to length bytes
    void Unplug();
    void PlugIn();
    bool IsPlugged() const;
    void SetExternalTriggerRate(double perSecond);  // 0: no external triggers
    // For tests: every pixel of a frame holds the frame's serial number at
    // this unit (1, 2, 3, …, low 16 bits) instead of the scene.
    void StampFrameNumbers(bool on);

    // The scene's switches; a unit starts with the source on, the sample in
    // and the laser idle.
    void SetSourceOn(bool on);
    void SetSampleIn(bool in);
    void SetLaserFiring(bool firing);
    // The setup's brightness, changed from the next frame on.
    void SetBrightness(double factor);
    bool IsSourceOn() const;
    bool IsSampleIn() const;
    bool IsLaserFiring() const;
    // Replaces the drift and restarts its clock; a line index outside the
    // scene's lines, or rates that are not finite, leave the scene still.
    void SetSceneDrift(const SceneDrift& drift);

    // Inspection. Recording is off until asked, so a long run keeps no log.
    void RecordTraffic(bool on);
    std::vector<WireRecord> Traffic() const;
    std::array<double, 4> Coefficients() const;
    uint32_t IntegrationValue() const;  // last integration command's device value
    bool IsExternalTrigger() const;
    std::vector<uint8_t> LastReply() const;

private:
    using Clock = std::chrono::steady_clock;
    enum class Pending { None, Acknowledge, Frame };

    bool IsLive(uint64_t session) const;
    void Record(WireRecord record);
    UsbStatus AnswerIn(const UsbControlSetup& setup, uint8_t* reply, int& length);
    UsbStatus TakeOut(const UsbControlSetup& setup, const uint8_t* data, int length);
    UsbTransferResult Command(const uint8_t* data, int length);
    UsbTransferResult Reply(std::unique_lock<std::mutex>& lock, uint8_t* data, int length, int timeoutMs,
                            const std::atomic<bool>* aborted);
    // Waits until the deadline; false when aborted or unplugged first.
    bool WaitUntil(std::unique_lock<std::mutex>& lock, Clock::time_point deadline, uint64_t session,
                   const std::atomic<bool>* aborted);
    void SetIntegration(uint32_t deviceValue);
    void ComputeExpectedCounts();
    // The expected counts of one pixel at the switches, drift and exposure of the moment.
    void ExpectPixel(size_t pixel, double ms, double dark);
    // Takes the drift's lines out of the steady source and restarts the drift's clock.
    void StartDrift();
    // Moves the drifting lines to where they are at time when, recomputing
    // only the pixels they covered or cover now.
    void FollowDrift(Clock::time_point when);
    int64_t TriggersArrived(Clock::time_point now) const;
    void ExposeFrame(Clock::time_point exposedAt);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    SimulatedUnitSetup setup_;
    int model_;
    SceneOnDetector scene_;
    bool sourceOn_ = true;
    bool sampleIn_ = true;
    bool laserFiring_ = false;
    // The drift: its lines at rest, the source without them, and where
    // they were last placed.
    std::vector<SceneLine> driftLines_;
    std::vector<double> steadySourcePerMs_;
    Clock::time_point driftStart_;
    double driftHeight_ = 1;
    double driftShiftNm_ = 0;
    // Per pixel at the current exposure and switches: dark + signal, and the
    // noise's rms; without and with a plasma flash.
    std::vector<float> meanCounts_;
    std::vector<float> noiseRms_;
    std::vector<float> flashMeanCounts_;
    std::vector<float> flashNoiseRms_;
    std::vector<uint16_t> counts_;  // the frame being made
    uint64_t noiseState_;
    bool stampFrames_ = false;
    uint32_t framesSent_ = 0;

    uint64_t session_ = 1;
    bool plugged_ = true;
    std::vector<std::pair<uint8_t, int>> refused_;
    int timeoutReplies_ = 0;
    int shortReplies_ = 0;
    int shortLength_ = 0;
    bool recording_ = false;
    std::vector<WireRecord> traffic_;

    bool external_ = false;
    double triggerRate_ = 0;
    Clock::time_point triggerEpoch_;
    int64_t triggersUsed_ = 0;

    uint32_t integrationValue_ = 0;
    Clock::duration exposure_{};
    Clock::time_point exposureStart_;
    int64_t lastExposure_ = 0;

    Pending pending_ = Pending::None;
    std::array<uint8_t, 6> lastCommand_{};
    std::vector<uint8_t> reply_;
};

}  // namespace kestrion
