#pragma once

#include <string>
#include <vector>

#include "ScrivonaExport.h"
#include "SpectrumParser.h"

// Reads spectrum files written by CDataFileSave or elsewhere: UTF-8,
// UTF-16LE with FF FE, or GB18030 as written on Chinese-locale systems;
// headers in any of the four languages. A file that is refused leaves everything as it was: the values
// and arrays of the last file read stay.
// Not for use from several threads at once.
class SCRIVONA_API CDataFileLoad {
public:
    CDataFileLoad();
    virtual ~CDataFileLoad();
    CDataFileLoad(const CDataFileLoad&) = delete;
    CDataFileLoad& operator=(const CDataFileLoad&) = delete;

    // 1 when the file was read; 0 when it does not exist, cannot be opened,
    // or is not a spectrum file (short header, pixel count missing, not
    // positive or more than the file holds, a data line without two numbers).
    int SetLoadingSingleDataFilePath(const std::wstring& path);
    // Copies GetPixelCount() values into x and y: 1, or 0 when nothing was read.
    int LoadSingleData(double* x, double* y);

    int GetPixelCount() const;
    void GetDataType(int& xType, int& yType) const;
    const std::wstring& GetSavingTime() const;
    const std::wstring& GetDeviceName() const;
    const std::wstring& GetVersionInfo() const;
    const std::wstring& GetSerialNumber() const;
    const std::wstring& GetOtherInfo() const;
    int GetIntegralTimeMus() const;
    int GetAvgCount() const;
    int GetSmoothness() const;
    int GetReverse0() const;

    // Lists the *.txt files of dir in ascending order of name: 1 when there
    // is at least one, 0 when there is none or dir is no directory.
    int SetLoadingSeqDataFileDir(const std::wstring& dir);
    // Reads the next listed file that is a spectrum file and copies its
    // GetPixelCount() values into x and y when they are given; 0 when none is
    // left. Callers size x and y by the first file of the directory, so a
    // later file with more pixels than that one is passed over, as are files
    // that are no spectrum files.
    int LoadSeqData(double* x, double* y);

private:
    // Reads path into the record unless it is refused or holds more than
    // largestPixelCount pixels (any number for 0).
    bool Load(const std::string& path, int largestPixelCount);

    scrivona::SpectrumRecord record_;
    std::vector<std::string> seriesFiles_;
    size_t nextSeriesFile_ = 0;
    int seriesPixelCount_ = 0;  // of the first file loaded from the directory
};
