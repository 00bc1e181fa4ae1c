// MD5 message digest (RFC 1321), computed incrementally.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace tessary {

class Md5 {
  public:
    using Digest = std::array<std::uint8_t, 16>;

    Md5() { Start(); }

    // Begins a new digest, forgetting what was added before.
    void Start();
    void Add(std::span<const std::uint8_t> bytes);
    void Add(std::string_view bytes) {
        Add(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    }
    // Completes the digest. Start must be called before the object is reused.
    Digest Finish();

  private:
    void Transform(const std::uint8_t* block);

    std::array<std::uint32_t, 4> state_{};
    std::uint64_t length_ = 0;  // bytes added so far
    std::array<std::uint8_t, 64> buffer_{};
};

}  // namespace tessary
