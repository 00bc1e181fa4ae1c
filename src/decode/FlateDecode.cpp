#include "decode/FlateDecode.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <memory>

namespace tessary {

namespace {

// zlib counts buffer sizes in 32-bit unsigned integers; larger buffers are
// handed over in steps of at most this many bytes.
constexpr std::size_t kMaxZlibStep = std::size_t{1} << 30;

// The first output goes to a scratch block of eight times the input (most
// page content expands less), between these bounds.
constexpr std::size_t kFirstBlockExpansion = 8;
constexpr std::size_t kMinFirstBlock = 16 * 1024;
constexpr std::size_t kMaxFirstBlock = 64 * 1024;
// The room reserved for a larger output: the expansion seen so far, applied
// to the whole input, with a margin.
constexpr double kEstimateMargin = 1.0625;
constexpr double kEstimateSlack = 65536.0;
// Larger outputs are extended by an eighth of their size at a time, within
// these bounds: the result string is zero-filled only a little ahead of the
// data that overwrites it.
constexpr std::size_t kMinGrowthStep = 64 * 1024;
constexpr std::size_t kMaxGrowthStep = 1024 * 1024;

// How an inflate step ended.
enum class InflateStatus {
    kEnd,         // the zlib stream is complete
    kOutputFull,  // the output buffer is full and more may follow
    kStopped,     // damaged or cut short: what was inflated stands
    kFailed,      // out of memory: nothing stands
};

// One zlib inflate state over the whole input, ended on every way out.
class Inflater {
  public:
    explicit Inflater(std::string_view input) : input_(input) {
        ready_ = inflateInit(&stream_) == Z_OK;
    }
    ~Inflater() {
        if (ready_) {
            inflateEnd(&stream_);
        }
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    bool IsReady() const { return ready_; }
    std::size_t InputConsumed() const { return inputFed_ - stream_.avail_in; }

    // Inflates into `size` bytes at `output` and adds the bytes written to
    // `produced`.
    InflateStatus Inflate(char* output, std::size_t size, std::size_t& produced) {
        while (size > 0) {
            if (stream_.avail_in == 0 && inputFed_ < input_.size()) {
                const std::size_t step = std::min(input_.size() - inputFed_, kMaxZlibStep);
                stream_.next_in =
                    reinterpret_cast<Bytef*>(const_cast<char*>(input_.data() + inputFed_));
                stream_.avail_in = static_cast<uInt>(step);
                inputFed_ += step;
            }
            const std::size_t step = std::min(size, kMaxZlibStep);
            stream_.next_out = reinterpret_cast<Bytef*>(output);
            stream_.avail_out = static_cast<uInt>(step);
            // Z_FINISH spares the sliding window when the stream ends within
            // this buffer; otherwise zlib carries on as with Z_NO_FLUSH.
            const int result = inflate(&stream_, Z_FINISH);
            const std::size_t written = step - stream_.avail_out;
            produced += written;
            output += written;
            size -= written;
            if (result == Z_STREAM_END) {
                return InflateStatus::kEnd;
            }
            if (result == Z_MEM_ERROR) {
                return InflateStatus::kFailed;
            }
            if (result != Z_OK && result != Z_BUF_ERROR) {
                return InflateStatus::kStopped;  // bad data, bad checksum, dictionary
            }
            if (stream_.avail_out > 0 && stream_.avail_in == 0 && inputFed_ == input_.size()) {
                return InflateStatus::kStopped;  // input cut short
            }
        }
        return InflateStatus::kOutputFull;
    }

  private:
    std::string_view input_;
    std::size_t inputFed_ = 0;
    z_stream stream_{};
    bool ready_ = false;
};

}  // namespace

// Output goes to a small scratch block first, so small streams cost one
// modest allocation and one copy. A stream that outgrows it moves to a result
// string whose room is reserved from the expansion seen so far (reserved room
// that is never written costs no memory) and inflates straight into it, the
// string being extended step by step: no repeated copies, and the room
// doubles if the estimate falls short.
std::string FlateDecode(std::string_view input, std::size_t limit) {
    Inflater inflater(input);
    if (!inflater.IsReady()) {
        return {};
    }
    // Room for one byte past the limit tells a stream that ends exactly at the
    // limit from one that would go past it.
    const std::size_t capacity =
        limit == std::numeric_limits<std::size_t>::max() ? limit : limit + 1;

    const std::size_t firstGuess = input.size() > kMaxFirstBlock / kFirstBlockExpansion
                                       ? kMaxFirstBlock
                                       : input.size() * kFirstBlockExpansion;
    const std::size_t firstSize =
        std::min({capacity, kMaxFirstBlock, std::max(kMinFirstBlock, firstGuess)});
    auto first = std::make_unique_for_overwrite<char[]>(firstSize);
    std::size_t produced = 0;
    InflateStatus status = inflater.Inflate(first.get(), firstSize, produced);
    if (status == InflateStatus::kFailed || produced > limit) {
        return {};
    }
    if (status != InflateStatus::kOutputFull) {
        return std::string(first.get(), produced);
    }

    // Expect the rest of the input to expand as its start did, plus a margin.
    const double expansion =
        static_cast<double>(produced) /
        static_cast<double>(std::max<std::size_t>(1, inflater.InputConsumed()));
    const double estimate =
        expansion * static_cast<double>(input.size()) * kEstimateMargin + kEstimateSlack;
    // Never more than the limit allows (nor, with a larger limit, more than the
    // default one at once).
    const std::size_t maxReserve = std::min(capacity, kMaxDecodedStreamSize + 1);
    const std::size_t reserve = estimate >= static_cast<double>(maxReserve)
                                    ? maxReserve
                                    : std::max(2 * produced, static_cast<std::size_t>(estimate));

    std::string output;
    output.reserve(std::min(reserve, maxReserve));
    output.assign(first.get(), produced);
    first.reset();
    while (status == InflateStatus::kOutputFull) {
        if (output.size() == capacity) {
            return {};  // would decode past the limit
        }
        const std::size_t step = std::clamp(output.size() / 8, kMinGrowthStep, kMaxGrowthStep);
        output.resize(output.size() + std::min(step, capacity - output.size()));
        status = inflater.Inflate(output.data() + produced, output.size() - produced, produced);
    }
    if (status == InflateStatus::kFailed || produced > limit) {
        return {};
    }
    output.resize(produced);
    // An estimate far off the mark leaves much unused room; give it back.
    if (output.capacity() / 2 > produced) {
        output.shrink_to_fit();
    }
    return output;
}

}  // namespace tessary
