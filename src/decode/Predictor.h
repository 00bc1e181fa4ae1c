// Undoing the predictors that PDF's /FlateDecode and /LZWDecode filters may
// apply before compression (ISO 32000-1 7.4.4.4): TIFF predictor 2 and the PNG
// filters chosen per row.
#pragma once

#include <string>

namespace tessary {

// The /DecodeParms entries that shape predicted data, with their defaults.
struct PredictorParams {
    int predictor = 1;         // 1 none, 2 TIFF, 10 to 15 PNG
    int colors = 1;            // components per sample, 1 to kMaxPredictorColors
    int bitsPerComponent = 8;  // 1, 2, 4, 8 or 16
    int columns = 1;           // samples per row, 1 to kMaxPredictorColumns
};

// Reverses the predictor on decoded data. A predictor of 1 or less returns the
// data unchanged. Each PNG row is its tag byte (0 None, 1 Sub, 2 Up, 3 Average,
// 4 Paeth, whatever predictor 10 to 15 announced; an unknown tag reads as None)
// followed by the row's bytes. A last row that stops short is decoded as far
// as its bytes go, as the start of a full row; nothing is invented for the
// missing bytes. Unknown predictors (3 to 9, above 15) and parameters out of
// range give an empty result: such data would read as garbage. The data's
// own buffer holds the result, so no second buffer is allocated.
std::string ApplyPredictor(std::string data, const PredictorParams& params);

}  // namespace tessary
