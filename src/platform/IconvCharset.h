// One character set converted through iconv: a table of the bytes of every
// BMP character, built once, and decoding of whole texts.
#pragma once

#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

// Most bytes one character may take in a code page (room for a stateful set's
// shift sequences around a double-byte character).
inline constexpr std::size_t kMaxCharacterBytes = 10;

class IconvCharset {
  public:
    // The process-wide converter for an iconv name, created on first request.
    // Null when iconv can't convert the set both ways or when the set doesn't
    // write tab, line ends and printable ASCII as those same single bytes.
    static const IconvCharset* Get(std::string_view name);

    ~IconvCharset();
    IconvCharset(const IconvCharset&) = delete;
    IconvCharset& operator=(const IconvCharset&) = delete;

    const std::string& GetName() const { return name_; }

    // The bytes of one BMP character, or an empty view when the set can't
    // represent it exactly: iconv must convert it without error and without an
    // irreversible (best-fit) step, and the bytes must convert back to the same
    // single character. The table behind this is built on the first call.
    std::string_view Encode(char16_t unicode) const;

    // Appends the UTF-16 form of bytes to out; a byte sequence that doesn't
    // decode gives one U+FFFD per byte skipped.
    void Decode(std::string_view bytes, std::u16string& out) const;

  private:
    IconvCharset(std::string name, iconv_t encoder, iconv_t decoder);

    bool WritesAsciiAsItself() const;
    // One character through the encoder (and a flush for stateful sets); 0
    // when the conversion fails or isn't exact. Needs mutex_ held or the
    // object not yet shared.
    std::size_t EncodeOne(char32_t unicode, char* out) const;
    bool DecodesTo(std::string_view bytes, char32_t unicode) const;
    void BuildTable() const;

    std::string name_;
    // The descriptors carry conversion state, so every use holds mutex_.
    mutable std::mutex mutex_;
    iconv_t encoder_;
    iconv_t decoder_;

    mutable std::once_flag tableOnce_;
    // Per BMP character: offset into bytes_ (high 24 bits) and length (low 8
    // bits, 0 when not representable).
    mutable std::vector<std::uint32_t> table_;
    mutable std::string bytes_;
};

}  // namespace tessary
