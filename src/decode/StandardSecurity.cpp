#include "decode/StandardSecurity.h"

#include <algorithm>
#include <cstring>

#include "decode/Aes.h"
#include "decode/DecodeLimits.h"
#include "decode/Md5.h"
#include "decode/Rc4.h"
#include "decode/Sha2.h"

namespace tessary {

namespace {

constexpr std::size_t kPaddedLength = kPasswordPadding.size();
// Revision 2 keys are 40 bits; revisions 3 and 4 allow 40 to 128.
constexpr std::size_t kRevision2KeyLength = 5;
constexpr std::size_t kMinKeyLength = 5;
constexpr std::size_t kMaxKeyLength = 16;
// Revision 3 and up strengthen keys with this many more MD5 passes, and
// encrypt check values with this many RC4 passes.
constexpr int kExtraMd5Passes = 50;
constexpr int kRc4Passes = 20;
// Revisions 3 and 4 compare this many bytes of /U.
constexpr std::size_t kUserCheckLength = 16;
// Revisions 5 and 6: /U and /O hold a 32-byte hash, an 8-byte validation
// salt and an 8-byte key salt; /UE and /OE a 32-byte wrapped key.
constexpr std::size_t kHashLength = 32;
constexpr std::size_t kSaltLength = 8;
constexpr std::size_t kAes256EntryLength = kHashLength + 2 * kSaltLength;
constexpr std::size_t kWrappedKeyLength = 32;
// The revision 6 hash runs at least this many rounds, and then until the last
// byte of a round's output is at most the round number - 32: by round 288 at
// the latest, as that byte is below 256.
constexpr int kMinHashRounds = 64;
constexpr int kHashRoundMargin = 32;
constexpr int kHashInputRepeats = 64;

std::string_view AsChars(const Md5::Digest& digest, std::size_t length = 16) {
    return {reinterpret_cast<const char*>(digest.data()), length};
}

std::string_view PaddingChars() {
    return {reinterpret_cast<const char*>(kPasswordPadding.data()), kPaddedLength};
}

std::size_t KeyLength(const EncryptionValues& values) {
    if (values.revision == 2) {
        return kRevision2KeyLength;
    }
    if (values.keyLengthBits <= 0) {
        return values.revision == 4 ? kMaxKeyLength : kMinKeyLength;
    }
    return std::clamp<std::size_t>(static_cast<std::size_t>(values.keyLengthBits) / 8,
                                   kMinKeyLength, kMaxKeyLength);
}

// Runs RC4 over `data` with the key, and for revision 3 and up 19 more times
// with each key byte XORed with the pass number; `down` runs the passes from
// 19 to 0 instead, which undoes them.
void Rc4Passes(int revision, std::string_view key, std::string& data, bool down) {
    const int passes = revision >= 3 ? kRc4Passes : 1;
    std::string passKey(key);
    for (int n = 0; n < passes; ++n) {
        const int pass = down ? passes - 1 - n : n;
        for (std::size_t i = 0; i < key.size(); ++i) {
            passKey[i] = static_cast<char>(key[i] ^ pass);
        }
        Rc4Crypt(passKey, data);
    }
}

std::string FileKeyFromPadded(const EncryptionValues& values, std::string_view padded) {
    Md5 md5;
    md5.Add(padded);
    md5.Add(values.owner);
    const auto p = static_cast<std::uint32_t>(values.permissions);
    const char permissionBytes[4] = {static_cast<char>(p), static_cast<char>(p >> 8),
                                     static_cast<char>(p >> 16), static_cast<char>(p >> 24)};
    md5.Add(std::string_view(permissionBytes, 4));
    md5.Add(values.firstId);
    if (values.revision >= 4 && !values.encryptMetadata) {
        md5.Add("\xFF\xFF\xFF\xFF");
    }
    Md5::Digest digest = md5.Finish();
    const std::size_t length = KeyLength(values);
    if (values.revision >= 3) {
        for (int i = 0; i < kExtraMd5Passes; ++i) {
            md5.Start();
            md5.Add(AsChars(digest, length));
            digest = md5.Finish();
        }
    }
    return std::string(AsChars(digest, length));
}

// ISO 32000-1 Algorithms 4 and 5: /U is the padding (revision 2), or the MD5
// of the padding and the first /ID (revision 3 and up), encrypted with the key.
bool IsRc4UserKey(const EncryptionValues& values, std::string_view key) {
    std::string check;
    std::size_t compared = kPaddedLength;
    if (values.revision == 2) {
        check = PaddingChars();
    } else {
        Md5 md5;
        md5.Add(PaddingChars());
        md5.Add(values.firstId);
        check = AsChars(md5.Finish());
        compared = kUserCheckLength;
    }
    Rc4Passes(values.revision, key, check, false);
    return values.user.size() >= compared &&
           values.user.compare(0, compared, check, 0, compared) == 0;
}

// The padded user password hidden in /O, or empty when /O is too short.
std::string PaddedUserFromOwner(std::string_view ownerPassword, std::string_view ownerEntry,
                                int revision, std::size_t keyLength) {
    if (ownerEntry.size() < kPaddedLength) {
        return {};
    }
    Md5 md5;
    md5.Add(PadPassword(ownerPassword));
    Md5::Digest digest = md5.Finish();
    if (revision >= 3) {
        for (int i = 0; i < kExtraMd5Passes; ++i) {
            md5.Start();
            md5.Add(AsChars(digest));
            digest = md5.Finish();
        }
    }
    std::string user(ownerEntry.substr(0, kPaddedLength));
    Rc4Passes(revision, AsChars(digest, std::clamp(keyLength, kMinKeyLength, kMaxKeyLength)), user,
              true);
    return user;
}

Authentication Rc4Authenticate(const EncryptionValues& values, std::string_view password) {
    std::string key = ComputeRc4FileKey(values, password);
    if (IsRc4UserKey(values, key)) {
        return {PasswordRole::kUser, std::move(key), true};
    }
    const std::string padded =
        PaddedUserFromOwner(password, values.owner, values.revision, KeyLength(values));
    if (!padded.empty()) {
        key = FileKeyFromPadded(values, padded);
        if (IsRc4UserKey(values, key)) {
            return {PasswordRole::kOwner, std::move(key), true};
        }
    }
    return {};
}

// ISO 32000-2 Algorithm 2.B (revision 6), or plain SHA-256 (revision 5), of
// the password, a salt and, for the owner, the 48 bytes of /U.
std::string Aes256Hash(int revision, std::string_view password, std::string_view salt,
                       std::string_view userEntry) {
    std::string key = Sha256(std::string(password) + std::string(salt) + std::string(userEntry));
    if (revision == 5) {
        return key;
    }
    for (int round = 0;;) {
        if (key.size() < kHashLength) {
            return {};  // libcrypto failed
        }
        std::string once = std::string(password) + key + std::string(userEntry);
        std::string repeated;
        repeated.reserve(once.size() * kHashInputRepeats);
        for (int i = 0; i < kHashInputRepeats; ++i) {
            repeated += once;
        }
        const std::string encrypted = AesCbcEncryptNoPadding(
            std::string_view(key).substr(0, 16), std::string_view(key).substr(16, 16), repeated);
        if (encrypted.size() < kAesBlockSize) {
            return {};
        }
        // The first 16 bytes as a big number modulo 3 equal their sum modulo 3,
        // as 256 is 1 modulo 3.
        unsigned sum = 0;
        for (std::size_t i = 0; i < kAesBlockSize; ++i) {
            sum += static_cast<unsigned char>(encrypted[i]);
        }
        switch (sum % 3) {
            case 0:
                key = Sha256(encrypted);
                break;
            case 1:
                key = Sha384(encrypted);
                break;
            default:
                key = Sha512(encrypted);
                break;
        }
        ++round;
        if (round >= kMinHashRounds &&
            static_cast<unsigned char>(encrypted.back()) <= round - kHashRoundMargin) {
            break;
        }
    }
    return key.substr(0, kHashLength);
}

// /Perms decrypted with the file key: /P in its first 4 bytes (little-endian),
// 'T' or 'F' for /EncryptMetadata, then "adb".
bool PermsMatch(const EncryptionValues& values, std::string_view fileKey) {
    if (values.perms.size() < kAesBlockSize) {
        return false;
    }
    const std::string plain =
        AesCbcDecryptNoPadding(fileKey, std::string_view(values.perms).substr(0, kAesBlockSize));
    if (plain.size() != kAesBlockSize) {
        return false;
    }
    const auto p = static_cast<std::uint32_t>(values.permissions);
    for (int i = 0; i < 4; ++i) {
        if (static_cast<unsigned char>(plain[i]) != static_cast<unsigned char>(p >> (8 * i))) {
            return false;
        }
    }
    return plain[8] == (values.encryptMetadata ? 'T' : 'F') && plain.compare(9, 3, "adb") == 0;
}

Authentication Aes256Authenticate(const EncryptionValues& values, std::string_view password) {
    if (values.user.size() < kAes256EntryLength || values.owner.size() < kAes256EntryLength) {
        return {};
    }
    password = password.substr(0, kMaxAes256PasswordLength);
    const std::string_view user = std::string_view(values.user).substr(0, kAes256EntryLength);
    const std::string_view owner = std::string_view(values.owner).substr(0, kAes256EntryLength);
    // Each role's entry holds its hash and salts; the owner's hashes take /U in.
    struct Role {
        PasswordRole role;
        std::string_view entry;
        std::string_view wrappedKey;
        std::string_view extra;
    };
    for (const Role& r : {Role{PasswordRole::kUser, user, values.userKey, {}},
                          Role{PasswordRole::kOwner, owner, values.ownerKey, user}}) {
        const auto& [role, entry, wrapped, extra] = r;
        if (Aes256Hash(values.revision, password, entry.substr(kHashLength, kSaltLength), extra) !=
            entry.substr(0, kHashLength)) {
            continue;
        }
        const std::string intermediate = Aes256Hash(
            values.revision, password, entry.substr(kHashLength + kSaltLength, kSaltLength), extra);
        if (wrapped.size() < kWrappedKeyLength) {
            return {};
        }
        std::string key =
            AesCbcDecryptNoPadding(intermediate, wrapped.substr(0, kWrappedKeyLength));
        if (key.size() != kWrappedKeyLength) {
            return {};
        }
        const bool perms = PermsMatch(values, key);
        return Authentication{role, std::move(key), perms};
    }
    return {};
}

}  // namespace

std::string PadPassword(std::string_view password) {
    const std::size_t zero = password.find('\0');
    if (zero != std::string_view::npos) {
        password = password.substr(0, zero);
    }
    password = password.substr(0, kPaddedLength);
    std::string padded(password);
    padded.append(PaddingChars().substr(0, kPaddedLength - padded.size()));
    return padded;
}

std::string ComputeRc4FileKey(const EncryptionValues& values, std::string_view password) {
    return FileKeyFromPadded(values, PadPassword(password));
}

std::string RecoverUserPasswordFromOwner(std::string_view ownerPassword,
                                         std::string_view ownerEntry, int revision,
                                         std::size_t keyLength) {
    std::string user = PaddedUserFromOwner(ownerPassword, ownerEntry, revision, keyLength);
    // The password ends where the longest tail that is a prefix of the padding
    // begins.
    for (std::size_t length = 0; length < user.size(); ++length) {
        if (std::memcmp(user.data() + length, kPasswordPadding.data(), kPaddedLength - length) ==
            0) {
            user.resize(length);
            break;
        }
    }
    return user;
}

Authentication AuthenticatePassword(const EncryptionValues& values, std::string_view password) {
    if (values.revision >= 2 && values.revision <= 4) {
        return Rc4Authenticate(values, password);
    }
    if (values.revision == 5 || values.revision == 6) {
        return Aes256Authenticate(values, password);
    }
    return {};
}

}  // namespace tessary
