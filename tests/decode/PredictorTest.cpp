#include "decode/Predictor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/DecodeLimits.h"
#include "support/TestSupport.h"

namespace tessary {
namespace {

using test::Bytes;

// Expected bytes from a separate reference written from the PNG and TIFF
// definitions.
TEST(PredictorTest, UndoesPngAndTiffRows) {
    struct Case {
        PredictorParams params;
        const char* input;
        const char* output;
    };
    const Case cases[] = {
        // Sub, Up, Average, Paeth, None, an unknown tag (None), a cut last row.
        {{12, 1, 8, 3},
         "0101020302010101030a0a0a040901f000050607090506070101",
         "0103060204070b111614150605060705060701"},
        // Paeth and Up on the first row read zeros above.
        {{15, 1, 8, 3}, "0403020102010203", "030506040709"},
        // Three components of a sample, 16-bit samples, 1-bit samples.
        {{10, 3, 8, 2}, "010a142801010103000000ff0000", "0a14280b1529050a14070f1e"},
        {{11, 1, 16, 2}, "0112340001040001ffff", "1234123512351134"},
        {{13, 1, 1, 10}, "01804002ff00", "80c07fc0"},
        // TIFF: per component, carries stay within a sample, rows restart.
        {{2, 2, 8, 3}, "0102010101010505", "0102020303040505"},
        {{2, 1, 16, 2}, "00ff0002ffff00", "00ff0101ffff00"},
        {{2, 1, 4, 4}, "1f11", "1012"},
        {{2, 1, 1, 8}, "80", "ff"},
        {{2, 3, 2, 3}, "5a40", "5bae"},
        // No predictor.
        {{1, 0, 0, 0}, "0102", "0102"},
        {{-5, 1, 8, 1}, "0102", "0102"},
        // The widest rows allowed, on a few bytes: only what is there.
        {{10, kMaxPredictorColors, 16, kMaxPredictorColumns}, "01616263", "616263"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ApplyPredictor(Bytes(c.input), c.params), Bytes(c.output)) << c.input;

    // Unknown predictors and parameters out of range give nothing.
    for (const PredictorParams& params :
         std::vector<PredictorParams>{{3, 1, 8, 1},
                                      {16, 1, 8, 1},
                                      {12, 0, 8, 1},
                                      {12, kMaxPredictorColors + 1, 8, 1},
                                      {2, 1, 3, 1},
                                      {12, 1, 32, 1},
                                      {12, 1, 8, 0},
                                      {2, 1, 8, kMaxPredictorColumns + 1}})
        EXPECT_EQ(ApplyPredictor("\x01\x02\x03", params), "") << params.predictor;
}

}  // namespace
}  // namespace tessary
