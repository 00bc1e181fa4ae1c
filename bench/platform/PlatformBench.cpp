// Speed of the platform services on their hot paths: one character to output
// bytes (called for every character of every page), decoding a page for the
// viewer, and measuring a font the first time and from the cache.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/CachingFontMeasurer.h"
#include "platform/CodePageConversion.h"
#include "platform/SystemFontMeasurer.h"

using namespace tessary;

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Characters as a page of Latin text with some punctuation and a few CJK ones.
std::vector<char16_t> SampleCharacters() {
    std::vector<char16_t> characters;
    for (int i = 0; i < 1000; ++i) {
        for (char16_t c :
             std::u16string(u"The quick brown fox \u2014 caf\u00E9 \u201Cx\u201D \u4E00")) {
            characters.push_back(c);
        }
    }
    return characters;
}

void BenchEncode(const char* label, const CodePage& codePage) {
    std::vector<char16_t> characters = SampleCharacters();
    Clock::time_point first = Clock::now();
    EncodeCharacter(codePage, u'A');
    double firstCall = MillisecondsSince(first);

    constexpr int kRounds = 100;
    std::size_t bytes = 0;
    Clock::time_point start = Clock::now();
    for (int round = 0; round < kRounds; ++round) {
        for (char16_t c : characters) {
            if (std::optional<std::string> encoded = EncodeCharacter(codePage, c)) {
                bytes += encoded->size();
            }
        }
    }
    double total = MillisecondsSince(start);
    double perCharacter = total * 1e6 / (static_cast<double>(characters.size()) * kRounds);
    std::printf("EncodeCharacter %-8s first call %7.2f ms, then %5.1f ns/char (%zu bytes)\n", label,
                firstCall, perCharacter, bytes);
}

void BenchDecode(const char* label, const CodePage& codePage) {
    std::u16string text;
    for (char16_t c : SampleCharacters()) {
        text.push_back(c);
    }
    std::string bytes = EncodeText(codePage, text);
    constexpr int kRounds = 50;
    Clock::time_point start = Clock::now();
    std::size_t units = 0;
    for (int round = 0; round < kRounds; ++round) {
        units += DecodeText(codePage, bytes).size();
    }
    double total = MillisecondsSince(start);
    std::printf("DecodeText      %-8s %6.1f MB/s (%zu units)\n", label,
                static_cast<double>(bytes.size()) * kRounds / (total / 1000) / 1e6, units);
}

void BenchConcurrentEncode(const CodePage& codePage) {
    std::vector<char16_t> characters = SampleCharacters();
    std::vector<std::thread> threads;
    std::vector<std::size_t> results(4);
    Clock::time_point start = Clock::now();
    for (std::size_t t = 0; t < results.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 25; ++round) {
                for (char16_t c : characters) {
                    results[t] += EncodeCharacter(codePage, c).value_or("").size();
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    bool same = results[0] == results[1] && results[1] == results[2] && results[2] == results[3];
    std::printf("EncodeCharacter %s from 4 threads: %.1f ms, results %s\n",
                codePage.GetName().c_str(), MillisecondsSince(start), same ? "equal" : "DIFFER");
}

void BenchMeasure() {
    SystemFontMeasurer system;
    CachingFontMeasurer caching(system);
    const char* families[] = {"Arial", "Times New Roman", "Courier New", "NoSuchFamily"};
    for (const char* family : families) {
        Clock::time_point start = Clock::now();
        FontMetrics metrics = caching.Measure({family, false, false});
        double first = MillisecondsSince(start);
        start = Clock::now();
        constexpr int kRepeats = 1000;
        for (int i = 0; i < kRepeats; ++i) {
            caching.Measure({family, false, false});
        }
        double cached = MillisecondsSince(start) * 1000 / kRepeats;
        std::printf("Measure %-16s -> %-16s first %6.2f ms, cached %5.2f us\n", family,
                    metrics.family.c_str(), first, cached);
    }
}

}  // namespace

int main() {
    BenchEncode("ASCII", CodePage::Ascii());
    BenchEncode("UTF-8", CodePage::Utf8());
    BenchEncode("CP1252", CodePage::FromNumber(1252).value());
    BenchEncode("EUC-JP", CodePage::FromNumber(51932).value());
    BenchEncode("GB18030", CodePage::FromNumber(54936).value());
    BenchDecode("UTF-8", CodePage::Utf8());
    BenchDecode("CP1252", CodePage::FromNumber(1252).value());
    BenchDecode("EUC-JP", CodePage::FromNumber(51932).value());
    BenchConcurrentEncode(CodePage::FromNumber(1251).value());
    BenchMeasure();
    return 0;
}
