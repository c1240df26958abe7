#include "AxisUnitNames.h"

#include "Lexora.h"
#include "UiText.h"

namespace quenlix {

QString XUnitName(int code) {
    switch (code) {
        case 1:
            return Text(strGeneral_Micrometer);
        case 2:
            return Text(strGeneral_Pixel);
        case 3:
            return Text(strGeneral_GHZ);
        case 4:
            return Text(strGeneral_WaveNumber);
        case 5:
            return Text(strGeneral_RamanShift);
        default:
            return Text(strGeneral_Nanometer);
    }
}

QString YUnitName(int code) {
    switch (code) {
        case 2:
            return Text(strGeneral_Transmissivity);
        case 3:
            return Text(strGeneral_Reflectivity);
        case 4:
            return Text(strGeneral_Absorbancy);
        case 5:
            return Text(strGeneral_Decible);
        default:
            return Text(strGeneral_Intensity);
    }
}

}  // namespace quenlix
