// Arbitrary bytes as a sequence of AddItem calls, then LayOutLines at several
// widths. Any numbers may arrive, NaN and infinities included, as they can
// from a content stream's text matrix and font size. The layout must not
// crash and must give exactly the literal reference's output; the reading
// order must not crash and must give the same text, only regrouped: the same
// bytes but for white space.
//
// Input: one byte choosing an extra width, then records of seven bytes: an
// operation byte (bit 0: same string as the previous call; bits 1-3: the
// text) and one value byte each for baseline, xStart, xEnd, yTop, yBottom
// and spaceWidth. A value byte below 0xE0 is a step of 0.5 from 112 added to
// what it is relative to (the previous baseline; the previous xEnd; xStart;
// the baseline up or down; nothing for the space width); the bytes above
// are special values.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "ReferenceLayout.h"
#include "text/ReadingOrder.h"
#include "text/TextLineList.h"

namespace {

using tessary::TextLine;
using tessary::TextLineList;
namespace reference = tessary::reference;

// Keeps the quadratic reference quick on the longest inputs.
constexpr std::size_t kMaxCalls = 2000;

class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return size_ == 0; }
    std::uint8_t Byte() {
        if (size_ == 0) {
            return 0;
        }
        --size_;
        return *data_++;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

double Value(Reader& in, double base, double sign = 1.0) {
    std::uint8_t b = in.Byte();
    if (b < 0xE0) {
        return base + sign * (b - 112) * 0.5;
    }
    switch (b) {
        case 0xE0:
            return std::numeric_limits<double>::quiet_NaN();
        case 0xE1:
            return std::numeric_limits<double>::infinity();
        case 0xE2:
            return -std::numeric_limits<double>::infinity();
        case 0xE3:
            return -0.0;
        case 0xE4:
            return 1e300;
        case 0xE5:
            return -1e300;
        case 0xE6:
            return std::numeric_limits<double>::max();
        case 0xE7:
            return std::numeric_limits<double>::denorm_min();
        case 0xE8: {
            std::uint8_t raw[8];
            for (std::uint8_t& r : raw) {
                r = in.Byte();
            }
            double v;
            std::memcpy(&v, raw, sizeof v);
            return v;
        }
        case 0xE9:
            return in.Byte() * 8.0;
        default:
            return base;
    }
}

struct Call {
    bool sameString;
    double baseline, xStart, xEnd, yTop, yBottom, spaceWidth;
    std::string text;
};

std::vector<Call> Decode(Reader& in) {
    static const char* const kTexts[] = {"a", " ", "", "  ", "x\t", "\xc3\xa9", "fi", "Z"};
    std::vector<Call> calls;
    double baseline = 700;
    double x = 0;
    while (!in.Empty() && calls.size() < kMaxCalls) {
        std::uint8_t op = in.Byte();
        Call c;
        c.sameString = (op & 1) != 0;
        c.text = kTexts[(op >> 1) & 7];
        c.baseline = Value(in, baseline);
        c.xStart = Value(in, x);
        c.xEnd = Value(in, c.xStart);
        c.yTop = Value(in, c.baseline);
        c.yBottom = Value(in, c.baseline, -1.0);
        c.spaceWidth = Value(in, 0.0);
        if (std::isfinite(c.baseline)) {
            baseline = c.baseline;
        }
        if (std::isfinite(c.xEnd)) {
            x = c.xEnd;
        }
        calls.push_back(c);
    }
    return calls;
}

// The output's bytes other than white space, sorted.
std::string Letters(const std::vector<std::string>& lines) {
    std::string letters;
    for (const std::string& line : lines) {
        for (char c : line) {
            if (c != ' ' && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r') {
                letters += c;
            }
        }
    }
    std::sort(letters.begin(), letters.end());
    return letters;
}

void CheckWidth(const std::vector<Call>& calls, int width) {
    TextLineList fast;
    TextLineList reading;
    reference::LineList slow;
    TextLine* fastLine = nullptr;
    TextLine* readingLine = nullptr;
    reference::Line* slowLine = nullptr;
    for (const Call& c : calls) {
        fastLine = fast.AddItem(c.sameString ? fastLine : nullptr, c.baseline, c.xStart, c.xEnd,
                                c.yTop, c.yBottom, c.spaceWidth, c.text);
        readingLine = reading.AddItem(c.sameString ? readingLine : nullptr, c.baseline, c.xStart,
                                      c.xEnd, c.yTop, c.yBottom, c.spaceWidth, c.text);
        slowLine = slow.AddItem(c.sameString ? slowLine : nullptr, c.baseline, c.xStart, c.xEnd,
                                c.yTop, c.yBottom, c.spaceWidth, c.text);
        if ((fastLine == nullptr) != (slowLine == nullptr)) {
            __builtin_trap();
        }
    }
    std::vector<std::string> fastOut = fast.LayOutLines(width);
    std::vector<std::string> slowOut;
    slow.LayOutLines(slowOut, width);
    if (fastOut != slowOut) {
        __builtin_trap();
    }
    std::vector<std::string> readingOut;
    tessary::LayOutInOrder(reading, readingOut, width, tessary::TextOrder::Reading);
    if (Letters(readingOut) != Letters(fastOut)) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    int extraWidth = static_cast<std::int8_t>(in.Byte()) * 97;
    std::vector<Call> calls = Decode(in);
    for (int width : {0, 1, 40, 78, 200, extraWidth}) {
        CheckWidth(calls, width);
    }
    return 0;
}
