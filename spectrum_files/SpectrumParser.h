#pragma once

#include <string>
#include <vector>

// Reads the text of a spectrum file. Lines are found by position, not by
// label, so a header in any language reads the same. Every line is taken
// whole; blank lines are skipped and a carriage return before the line feed
// is dropped.

namespace scrivona {

struct SpectrumHeader {
    std::wstring savingTime;
    std::wstring deviceName;
    std::wstring versionInfo;
    std::wstring serialNumber;
    std::wstring otherInfo;
    int integralTimeUs = 0;
    int avgCount = 0;
    int smoothness = 0;
    int xType = 0;
    int yType = 0;
    int pixelCount = 0;
    int reserve0 = 150;
};

struct SpectrumRecord {
    SpectrumHeader header;
    std::vector<double> x;
    std::vector<double> y;
};

// Parses the file's bytes (UTF-8, UTF-16LE with FF FE, or GB18030) into
// record. A header value that is missing its colon or does not scan keeps
// the value record held before; data types outside 0..5 are not taken.
// Refuses (false, record untouched) a file with fewer than 17 header lines,
// without a positive pixel count of its own, or with fewer data lines than
// that count, or a data line that does not hold two numbers.
bool ParseSpectrumFile(std::string bytes, SpectrumRecord& record);

}  // namespace scrivona
