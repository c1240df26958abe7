#include "TraceBandFile.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "BoundedFile.h"
#include "ReplaceFile.h"
#include "SettingsPath.h"

namespace quenlix {
namespace {

// A few short lines; anything much larger is not this file.
constexpr std::size_t kFileLimit = 4096;

constexpr std::string_view kUnitKey = "x-unit";

struct QuantityName {
    BandQuantity quantity;
    std::string_view name;
};
constexpr QuantityName kQuantityNames[] = {
    {BandQuantity::Integral, "integral"}, {BandQuantity::PeakHeight, "height"},
    {BandQuantity::PeakCentre, "centre"}, {BandQuantity::Fwhm, "fwhm"},
    {BandQuantity::Ratio, "ratio"},       {BandQuantity::RubyPressure, "pressure"},
};

std::string_view NameOf(BandQuantity quantity) {
    for (const QuantityName& q : kQuantityNames)
        if (q.quantity == quantity) return q.name;
    return kQuantityNames[0].name;
}

void AppendShortest(std::string& out, double value) {
    char text[64];
    const std::to_chars_result r = std::to_chars(text, text + sizeof text, value);
    out.append(text, r.ptr);
}

// Reads the words of one line in turn; Fail marks the line damaged.
class Words {
public:
    explicit Words(std::string_view line) : rest_(line) {}

    std::string_view Next() {
        const std::size_t start = rest_.find_first_not_of(' ');
        if (start == std::string_view::npos) return {};
        rest_.remove_prefix(start);
        const std::size_t end = std::min(rest_.find(' '), rest_.size());
        const std::string_view word = rest_.substr(0, end);
        rest_.remove_prefix(end);
        return word;
    }
    template <typename Number>
    bool Read(Number& value) {
        const std::string_view word = Next();
        const char* end = word.data() + word.size();
        const std::from_chars_result r = std::from_chars(word.data(), end, value);
        return !word.empty() && r.ec == std::errc() && r.ptr == end;
    }
    bool AtEnd() { return Next().empty(); }

private:
    std::string_view rest_;
};

std::optional<TraceBand> ParseBand(std::string_view line) {
    Words words(line);
    const std::string_view name = words.Next();
    TraceBand band;
    const auto known = std::find_if(std::begin(kQuantityNames), std::end(kQuantityNames),
                                    [&](const QuantityName& q) { return q.name == name; });
    if (known == std::end(kQuantityNames)) return std::nullopt;
    band.quantity = known->quantity;
    if (!words.Read(band.xFrom) || !words.Read(band.xTo) || !words.Read(band.ratioOf) || !words.AtEnd())
        return std::nullopt;
    return band;
}

}  // namespace

std::string FormatTraceBands(const TraceBandSet& set) {
    std::string text = std::string(kUnitKey) + ' ' + std::to_string(set.xTypeCode) + '\n';
    for (const TraceBand& band : set.bands) {
        text += NameOf(band.quantity);
        text += ' ';
        AppendShortest(text, band.xFrom);
        text += ' ';
        AppendShortest(text, band.xTo);
        text += ' ' + std::to_string(band.ratioOf) + '\n';
    }
    return text;
}

std::optional<TraceBandSet> ParseTraceBands(std::string_view text) {
    TraceBandSet set;
    bool unitRead = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        // A file edited on another system may end its lines in CR LF.
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (!unitRead) {
            Words words(line);
            if (words.Next() != kUnitKey || !words.Read(set.xTypeCode) || !words.AtEnd()) return std::nullopt;
            if (set.xTypeCode < 0 || set.xTypeCode > 5) return std::nullopt;
            unitRead = true;
            continue;
        }
        const std::optional<TraceBand> band = ParseBand(line);
        if (!band || set.bands.size() == static_cast<std::size_t>(kMaxTraceBands)) return std::nullopt;
        set.bands.push_back(*band);
    }
    if (!unitRead || !ValidTraceBands(set.bands)) return std::nullopt;
    return set;
}

TraceBandSet LoadTraceBands() {
    const FileContent file = ReadBoundedFile(SettingsPath(kTraceBandsFile), kFileLimit);
    if (!file.Read()) return {};
    return ParseTraceBands(file.bytes).value_or(TraceBandSet{});
}

bool SaveTraceBands(const TraceBandSet& set) {
    return WriteFileReplacing(SettingsPathForWrite(kTraceBandsFile), FormatTraceBands(set));
}

}  // namespace quenlix
