// Measures the throughput of FlateDecode against zlib's uncompress into a
// buffer allocated once at the right size (the least work zlib can do), on
// (a) the Flate streams found in the corpus PDFs and (b) a synthetic 50 MB
// text-like stream. Throughput is decoded megabytes per second; the best of
// several rounds is reported, as the machine may be shared.
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "decode/FlateDecode.h"

namespace {

using tessary::FlateDecode;
using tessary::bench::BestSeconds;

struct Stream {
    std::string compressed;
    std::size_t decodedSize = 0;
};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The raw data between "stream" + line end and "endstream" of every stream
// that inflates as a whole; the PDF is not parsed.
void CollectStreams(const std::string& pdf, std::vector<Stream>& streams) {
    std::size_t at = 0;
    while ((at = pdf.find("stream", at)) != std::string::npos) {
        const bool isEnd = at >= 3 && pdf.compare(at - 3, 3, "end") == 0;
        std::size_t begin = at + 6;
        at = begin;
        if (isEnd) {
            continue;
        }
        if (pdf.compare(begin, 2, "\r\n") == 0) {
            begin += 2;
        } else if (begin < pdf.size() && pdf[begin] == '\n') {
            begin += 1;
        } else {
            continue;
        }
        const std::size_t end = pdf.find("endstream", begin);
        if (end == std::string::npos) {
            return;
        }
        const std::string data = pdf.substr(begin, end - begin);
        const std::string decoded = FlateDecode(data);
        uLongf size = decoded.size();
        std::string check(size, '\0');
        if (!decoded.empty() &&
            uncompress(reinterpret_cast<Bytef*>(check.data()), &size,
                       reinterpret_cast<const Bytef*>(data.data()), data.size()) == Z_OK &&
            check == decoded) {
            streams.push_back({data, decoded.size()});
        }
        at = end + 9;
    }
}

std::string SyntheticText(std::size_t size) {
    static const char* const kWords[] = {"the",  "page",   "stream", "of",    "text",  "and",
                                         "font", "width",  "line",   "words", "into",  "reader",
                                         "PDF",  "layout", "with",   "every", "space", "glyph"};
    std::string text;
    text.reserve(size + 200);
    unsigned seed = 1;
    auto next = [&seed] {
        seed = seed * 1103515245 + 12345;
        return seed >> 16;
    };
    while (text.size() < size) {
        text += "BT /F" + std::to_string(next() % 4 + 1) + " " + std::to_string(9 + next() % 4) +
                " Tf " + std::to_string(72 + next() % 400) + " " + std::to_string(next() % 792) +
                " Td (";
        for (unsigned n = 3 + next() % 9; n > 0; --n) {
            text += kWords[next() % std::size(kWords)];
            text += ' ';
        }
        text += ") Tj ET\n";
    }
    text.resize(size);
    return text;
}

void Compare(const char* label, const std::vector<Stream>& streams, int rounds, int repeats) {
    std::size_t decodedBytes = 0;
    std::size_t largest = 0;
    for (const Stream& stream : streams) {
        decodedBytes += stream.decodedSize;
        largest = std::max(largest, stream.decodedSize);
    }
    std::vector<Bytef> buffer(largest);
    std::size_t sink = 0;
    const auto preallocated = [&] {
        for (const Stream& stream : streams) {
            uLongf size = buffer.size();
            uncompress(buffer.data(), &size,
                       reinterpret_cast<const Bytef*>(stream.compressed.data()),
                       stream.compressed.size());
            sink += size;
        }
    };
    // The same with a fresh buffer for every stream, as any decoder that
    // hands out its output must get one.
    const auto fresh = [&] {
        for (const Stream& stream : streams) {
            uLongf size = stream.decodedSize;
            auto output = std::make_unique_for_overwrite<Bytef[]>(size);
            uncompress(output.get(), &size,
                       reinterpret_cast<const Bytef*>(stream.compressed.data()),
                       stream.compressed.size());
            sink += size + output[0];
        }
    };
    const auto ours = [&] {
        for (const Stream& stream : streams) {
            sink += FlateDecode(stream.compressed).size();
        }
    };
    const std::vector<double> seconds = BestSeconds(rounds, repeats, {preallocated, fresh, ours});
    const double zlibSeconds = seconds[0];
    const double freshSeconds = seconds[1];
    const double ourSeconds = seconds[2];
    const double megabytes = static_cast<double>(decodedBytes) * repeats / 1e6;
    std::printf("%s: %zu streams, %.2f MB decoded per pass\n", label, streams.size(),
                static_cast<double>(decodedBytes) / 1e6);
    std::printf("  zlib uncompress (preallocated): %8.1f MB/s\n", megabytes / zlibSeconds);
    std::printf("  zlib uncompress (fresh buffer): %8.1f MB/s\n", megabytes / freshSeconds);
    std::printf("  FlateDecode:                    %8.1f MB/s\n", megabytes / ourSeconds);
    std::printf("  time ratio to preallocated:     %8.3f\n", ourSeconds / zlibSeconds);
    std::printf("  time ratio to fresh buffer:     %8.3f\n", ourSeconds / freshSeconds);
    if (sink == 0) {
        std::printf("nothing decoded\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path corpus = argc > 1 ? argv[1] : TESSARY_CORPUS_DIR;
    std::vector<Stream> streams;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        if (entry.path().extension() == ".pdf") {
            CollectStreams(ReadFile(entry.path()), streams);
        }
    }
    Compare("(a) corpus Flate streams", streams, 15, 20);

    const std::string text = SyntheticText(50'000'000);
    uLongf size = compressBound(text.size());
    std::string compressed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(compressed.data()), &size,
              reinterpret_cast<const Bytef*>(text.data()), text.size(), Z_DEFAULT_COMPRESSION);
    compressed.resize(size);
    std::printf("synthetic stream: %zu bytes compressed to %zu\n", text.size(), compressed.size());
    Compare("(b) synthetic 50 MB text-like stream", {{compressed, text.size()}}, 15, 1);
    return 0;
}
