#include "ModelTable.h"

namespace kestrion {
namespace {

constexpr ModelRow kModels[kModelCount] = {
    {"00002201", "Velmora", 3630, 16500, 4000, 10000000, 4, 64, 2, XAxisKind::PolynomialAndSpline, 120, 1.0 / 9},
    {"00002202", "Tarnell", 2028, 65535, 17000, 10000000, 10, 40, 4, XAxisKind::PolynomialAndSpline, 100, 0.23},
    {"00002203", "Quorrin", 3630, 16500, 4000, 10000000, 4, 64, 2, XAxisKind::PolynomialAndSpline, 120, 1.0 / 9},
    {"00008101", "Pellisk", 2048, 16500, 0, 0, 1, 80, 2, XAxisKind::PixelIndex, 0, 0},
    {"00002204", "Dravent", 3630, 16500, 4000, 10000000, 4, 64, 2, XAxisKind::PolynomialAndSpline, 120, 1.0 / 9},
    {"", "", 4096, 65535, 0, 0, 1, 0, 0, XAxisKind::PolynomialOnly, 0, 0},
};

}  // namespace

const ModelRow& ModelAt(int index) {
    return index >= 0 && index < kModelCount ? kModels[index] : kModels[kUnlistedModel];
}

int FindModel(std::string_view code) {
    for (int i = 0; i < kUnlistedModel; ++i) {
        if (code == kModels[i].code) return i;
    }
    return kUnlistedModel;
}

int FrameBytesNeeded(const ModelRow& row) {
    if (row.slotBytes == 0) return 0;
    return row.firstPixelByte + (row.pixels - 1) * row.slotBytes + 2;
}

}  // namespace kestrion
