#include "decode/FlateDecode.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace tessary {

namespace {

// zlib counts buffer sizes in 32-bit unsigned integers; larger buffers are
// handed over in steps of at most this many bytes.
constexpr std::size_t kMaxZlibStep = std::size_t{1} << 30;

// The first output block assumes this expansion of the input (typical for
// text content), with a floor so that tiny streams get one small block.
constexpr std::size_t kFirstBlockExpansion = 4;
constexpr std::size_t kMinFirstBlock = 16 * 1024;

// Output is collected in blocks that double the total each time, so nothing is
// zero-filled and nothing is copied until the one final copy into the result.
struct OutputBlock {
    std::unique_ptr<char[]> bytes;
    std::size_t used = 0;
};

// Ends the inflate state on every way out.
class InflateStream {
  public:
    InflateStream() { ok_ = inflateInit(&stream_) == Z_OK; }
    ~InflateStream() {
        if (ok_) {
            inflateEnd(&stream_);
        }
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    bool IsReady() const { return ok_; }
    z_stream& Get() { return stream_; }

  private:
    z_stream stream_{};
    bool ok_ = false;
};

}  // namespace

std::string FlateDecode(std::string_view input, std::size_t limit) {
    InflateStream inflater;
    if (!inflater.IsReady()) {
        return {};
    }
    z_stream& stream = inflater.Get();

    // Room for one byte past the limit tells a stream that ends exactly at the
    // limit from one that would go past it.
    const std::size_t capacity =
        limit == std::numeric_limits<std::size_t>::max() ? limit : limit + 1;

    std::vector<OutputBlock> blocks;
    std::size_t allocated = 0;
    std::size_t produced = 0;
    const char* nextInput = input.data();
    std::size_t inputLeft = input.size();

    for (;;) {
        if (stream.avail_in == 0 && inputLeft > 0) {
            const std::size_t step = std::min(inputLeft, kMaxZlibStep);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(nextInput));
            stream.avail_in = static_cast<uInt>(step);
            nextInput += step;
            inputLeft -= step;
        }
        if (stream.avail_out == 0) {
            if (allocated == capacity) {
                return {};  // would decode past the limit
            }
            std::size_t size = blocks.empty()
                                   ? std::max(kMinFirstBlock, input.size() * kFirstBlockExpansion)
                                   : allocated;
            size = std::min({size, kMaxZlibStep, capacity - allocated});
            blocks.push_back({std::make_unique_for_overwrite<char[]>(size), 0});
            allocated += size;
            stream.next_out = reinterpret_cast<Bytef*>(blocks.back().bytes.get());
            stream.avail_out = static_cast<uInt>(size);
        }

        const uInt outBefore = stream.avail_out;
        // Z_FINISH spares the sliding window when the stream fits the block
        // at hand; otherwise zlib carries on as with Z_NO_FLUSH.
        const int result = inflate(&stream, Z_FINISH);
        const std::size_t written = outBefore - stream.avail_out;
        blocks.back().used += written;
        produced += written;

        if (result == Z_STREAM_END) {
            break;
        }
        if (result == Z_OK || result == Z_BUF_ERROR) {
            if (stream.avail_out == 0 || (stream.avail_in == 0 && inputLeft > 0)) {
                continue;
            }
            break;  // input cut short: keep what was inflated
        }
        if (result == Z_MEM_ERROR) {
            return {};
        }
        break;  // damaged data or checksum: keep what was inflated before it
    }
    if (produced > limit) {
        return {};
    }

    std::string output;
    output.reserve(produced);
    for (const OutputBlock& block : blocks) {
        output.append(block.bytes.get(), block.used);
    }
    return output;
}

}  // namespace tessary
