#pragma once

#include <array>
#include <optional>
#include <string>

#include "SavingSchedule.h"
#include "ScrivonaExport.h"
#include "SeriesFileName.h"

// Writes spectra as text files: 17 header lines in one of four languages
// (0 Simplified Chinese, 1 Traditional Chinese, 2 English, 3 Japanese), one
// "x<TAB>y" line per pixel and an end line, each ended by CR LF, in UTF-8.
// Also writes series of such files, one per saved frame, named from a
// prefix, a serial number and optionally the time of saving.
//
// Results are 1 for success, 0 for a refusal or failure; setters with
// several arguments add -1, -2, -4 for their first, second and third refused
// argument. A refused value leaves the stored value and its line as they were.
// Paths use '/'; a path without one names a file in the working directory.
// Not for use from several threads at once.
class SCRIVONA_API CDataFileSave {
public:
    CDataFileSave();
    // For tests of the interval-time rule: the millisecond tick source.
    explicit CDataFileSave(scrivona::SavingSchedule::Clock clock);
    virtual ~CDataFileSave();
    CDataFileSave(const CDataFileSave&) = delete;
    CDataFileSave& operator=(const CDataFileSave&) = delete;

    // Language 0..3; rewrites every line in it with the stored values.
    int SetUsingLanguage(int language);
    // n > 0; must be given before a write.
    int SetPixelCount(int n);
    // Line breaks in the texts are written as blanks so the header keeps its shape.
    int SetDeviceInfo(const std::wstring& name, const std::wstring& version, const std::wstring& serial);
    // Each value >= 0; -1, -2, -4 for a refused integration time, average count, smoothness.
    int SetSpectrumInfo(int integrationUs, int avgCount, int smoothness);
    // X and Y axis type codes 0..5; -1 bad X, -2 bad Y, -3 both.
    int SetDataType(int xType, int yType);
    // Decimals of the X and Y columns, 0..9 each (3 and 3 initially); -1, -2, -3.
    int SetDecimalCount(int xDecimals, int yDecimals);
    void SetReverse0(int value);
    void SetOtherInfo(const std::wstring& text);
    // Data lines only: no header, no end line. Such a file cannot be read back.
    void SetDataOnly(bool dataOnly);
    // Pixels of the spectrum that reached the device's full scale. Above 0,
    // a line "# saturated pixels: N" follows the end line (not in data-only
    // files); readers of the format stop at the end line, and files of
    // unsaturated spectra stay as they were.
    void SetSaturatedPixels(int count);
    // Only 0, text, is known.
    int SetIOType(int type);
    // Writes pixel-count values of x and y to path, replacing any file there.
    // 0 when the directory does not exist, no pixel count was set, or the file
    // cannot be written; a failed write leaves no file under path.
    int SaveSingleData(const std::wstring& path, const double* x, const double* y);

    // Series. dir must name an existing directory (-1 otherwise, or when
    // empty); on success it is left ending in exactly one '/'. fillCount 1..9
    // (-2 otherwise: dir and prefix are stored, fill count and serial number
    // kept). Success restarts the serial number at 0 and the interval count.
    int SetSavingSeqDataFileNameInfo(std::wstring& dir, const std::wstring& prefix, int fillCount);
    // "_HHMMSS" in the names, with "(mmm)" milliseconds when both are set.
    int SetSavingSeqDataFileNameIncludeTime(bool withTime, bool withMilliseconds);
    int SetSavingEveryFrame();
    // One frame per ms >= 10 milliseconds; the next frame offered is due at once.
    int SetSavingByIntervalTime(int ms);
    // One frame saved after every n >= 0 skipped ones.
    int SetSavingByIntervalCount(int n);
    // The serial number of the next file, n >= 0.
    int ResetSerNum(int n);
    // Offers a frame: 1 when its file was written; 0 when it was not due or
    // the write failed (the serial number is used up either way).
    int SaveSeqData(const double* x, const double* y);
    // 0 for the frame number offered last time; otherwise offers the frame and
    // returns 1, also when it was not due, but 0 when its write failed.
    int SaveSeqData(long frameNo, const double* x, const double* y);
    // The path of the last series file written or tried; empty before any.
    const std::wstring& LastSeqFilePath() const { return lastSeqPath_; }

private:
    void RebuildValueLines();
    void SetValueLine(int line, const std::wstring& value);
    void SetNumberLine(int line, const std::optional<int>& value);
    void SetDataTypeLines();
    bool Write(const std::wstring& path, const scrivona::LocalTime& now, const double* x, const double* y);
    int SaveDueFrame(const double* x, const double* y);

    int language_ = 0;
    std::array<std::wstring, 18> lines_;
    std::wstring deviceName_, versionInfo_, serialText_, otherInfo_;
    std::optional<int> integralTimeUs_, avgCount_, smoothness_, pixelCount_;
    int xType_ = 0, yType_ = 0;
    int reserve0_ = 150;
    int xDecimals_ = 3, yDecimals_ = 3;
    bool dataOnly_ = false;
    int saturatedPixels_ = 0;
    std::string fileBytes_;  // reused by every write

    scrivona::SeriesNaming naming_;
    long long serialNumber_ = 0;
    std::wstring lastSeqPath_;
    long lastFrameNo_ = -1;
    scrivona::SavingSchedule schedule_;
};
