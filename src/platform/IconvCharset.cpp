#include "platform/IconvCharset.h"

#include <cerrno>
#include <map>
#include <memory>

namespace tessary {

namespace {

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kConversionFailed = static_cast<std::size_t>(-1);
constexpr char kUtf32[] = "UTF-32LE";
constexpr char16_t kReplacementCharacter = 0xFFFD;
constexpr std::uint32_t kTableSize = 0x10000;

void PutUtf32(char32_t c, char* out) {
    out[0] = static_cast<char>(c & 0xFF);
    out[1] = static_cast<char>((c >> 8) & 0xFF);
    out[2] = static_cast<char>((c >> 16) & 0xFF);
    out[3] = static_cast<char>((c >> 24) & 0xFF);
}

char32_t GetUtf32(const char* in) {
    const auto* b = reinterpret_cast<const unsigned char*>(in);
    return static_cast<char32_t>(b[0]) | static_cast<char32_t>(b[1]) << 8 |
           static_cast<char32_t>(b[2]) << 16 | static_cast<char32_t>(b[3]) << 24;
}

void AppendUtf16(char32_t c, std::u16string& out) {
    if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
        out.push_back(kReplacementCharacter);
    } else if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(c));
    }
}

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c < 0xE000;
}

}  // namespace

const IconvCharset* IconvCharset::Get(std::string_view name) {
    static std::mutex registryMutex;
    // Converters are never removed: code pages hold plain pointers to them.
    static std::map<std::string, std::unique_ptr<IconvCharset>, std::less<>> registry;

    std::lock_guard lock(registryMutex);
    if (auto it = registry.find(name); it != registry.end()) {
        return it->second.get();
    }
    std::string key(name);
    std::unique_ptr<IconvCharset> charset;
    if (!key.empty() && key.find('/') == std::string::npos) {
        // A '/' would let a name ask iconv for transliteration or for
        // dropping characters ("//TRANSLIT", "//IGNORE").
        iconv_t encoder = iconv_open(key.c_str(), kUtf32);
        iconv_t decoder = iconv_open(kUtf32, key.c_str());
        if (encoder != kNoDescriptor && decoder != kNoDescriptor) {
            charset.reset(new IconvCharset(key, encoder, decoder));
            if (!charset->WritesAsciiAsItself()) {
                charset.reset();
            }
        } else {
            if (encoder != kNoDescriptor) {
                iconv_close(encoder);
            }
            if (decoder != kNoDescriptor) {
                iconv_close(decoder);
            }
        }
    }
    const IconvCharset* result = charset.get();
    registry.emplace(std::move(key), std::move(charset));
    return result;
}

IconvCharset::IconvCharset(std::string name, iconv_t encoder, iconv_t decoder)
    : name_(std::move(name)), encoder_(encoder), decoder_(decoder) {}

IconvCharset::~IconvCharset() {
    iconv_close(encoder_);
    iconv_close(decoder_);
}

bool IconvCharset::WritesAsciiAsItself() const {
    char out[kMaxCharacterBytes];
    for (char32_t c = 0; c < 0x80; ++c) {
        bool mustBeItself = c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c < 0x7F);
        if (mustBeItself && (EncodeOne(c, out) != 1 || out[0] != static_cast<char>(c))) {
            return false;
        }
    }
    return true;
}

std::size_t IconvCharset::EncodeOne(char32_t unicode, char* out) const {
    char in[4];
    PutUtf32(unicode, in);
    char* inPointer = in;
    std::size_t inLeft = sizeof in;
    char* outPointer = out;
    std::size_t outLeft = kMaxCharacterBytes;
    iconv(encoder_, nullptr, nullptr, nullptr, nullptr);
    // A positive result counts irreversible conversions: iconv substituted
    // something, which the output must not accept.
    if (iconv(encoder_, &inPointer, &inLeft, &outPointer, &outLeft) != 0 || inLeft != 0) {
        return 0;
    }
    // Brings a stateful set back to its initial shift state.
    if (iconv(encoder_, nullptr, nullptr, &outPointer, &outLeft) == kConversionFailed) {
        return 0;
    }
    return kMaxCharacterBytes - outLeft;
}

bool IconvCharset::DecodesTo(std::string_view bytes, char32_t unicode) const {
    char out[4 * 4];
    char* inPointer = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outPointer = out;
    std::size_t outLeft = sizeof out;
    iconv(decoder_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(decoder_, &inPointer, &inLeft, &outPointer, &outLeft) != 0 || inLeft != 0) {
        return false;
    }
    // Sets that combine a base letter with a following accent hold the letter
    // back until they know nothing follows.
    if (iconv(decoder_, nullptr, nullptr, &outPointer, &outLeft) == kConversionFailed) {
        return false;
    }
    return sizeof out - outLeft == 4 && GetUtf32(out) == unicode;
}

void IconvCharset::BuildTable() const {
    std::lock_guard lock(mutex_);
    table_.assign(kTableSize, 0);
    char out[kMaxCharacterBytes];
    for (char32_t c = 0; c < kTableSize; ++c) {
        if (IsSurrogate(c)) {
            continue;
        }
        std::size_t length = EncodeOne(c, out);
        if (length == 0 || !DecodesTo(std::string_view(out, length), c)) {
            continue;
        }
        table_[c] =
            static_cast<std::uint32_t>(bytes_.size()) << 8 | static_cast<std::uint32_t>(length);
        bytes_.append(out, length);
    }
}

std::string_view IconvCharset::Encode(char16_t unicode) const {
    std::call_once(tableOnce_, [this] { BuildTable(); });
    std::uint32_t entry = table_[unicode];
    return std::string_view(bytes_).substr(entry >> 8, entry & 0xFF);
}

void IconvCharset::Decode(std::string_view bytes, std::u16string& out) const {
    constexpr std::size_t kChunkCharacters = 1024;
    char chunk[4 * kChunkCharacters];
    auto flushChunk = [&](const char* end) {
        for (const char* p = chunk; p < end; p += 4) {
            AppendUtf16(GetUtf32(p), out);
        }
    };

    std::lock_guard lock(mutex_);
    iconv(decoder_, nullptr, nullptr, nullptr, nullptr);
    char* inPointer = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft != 0) {
        char* outPointer = chunk;
        std::size_t outLeft = sizeof chunk;
        std::size_t result = iconv(decoder_, &inPointer, &inLeft, &outPointer, &outLeft);
        int error = result == kConversionFailed ? errno : 0;
        flushChunk(outPointer);
        if (result != kConversionFailed || error == E2BIG) {
            continue;
        }
        out.push_back(kReplacementCharacter);
        if (error == EILSEQ) {
            ++inPointer;
            --inLeft;
        } else {
            // The text ends inside a character (EINVAL).
            break;
        }
    }
    // Sets that hold a letter back for a following accent give it out now.
    while (true) {
        char* outPointer = chunk;
        std::size_t outLeft = sizeof chunk;
        std::size_t result = iconv(decoder_, nullptr, nullptr, &outPointer, &outLeft);
        int error = result == kConversionFailed ? errno : 0;
        flushChunk(outPointer);
        if (error != E2BIG) {
            break;
        }
    }
}

}  // namespace tessary
