#include "pdf/SecurityHandler.h"

#include <algorithm>

#include "decode/Md5.h"
#include "decode/Rc4.h"
#include "decode/StandardSecurity.h"
#include "pdf/PdfObject.h"
#include "pdf/PdfObjectStore.h"

namespace tessary {

namespace {

constexpr std::size_t kFileKeyLength = 5;

// The user password test: /U decrypted with the file key is the padding.
bool IsUserPassword(const PdfDictionary& trailer, const PdfDictionary& encrypt,
                    std::string_view password, FileKey& key) {
    std::string check = encrypt.GetValueString("/U");
    if (check.size() < kPasswordPadding.size()) {
        return false;  // too short to hold the check value
    }
    check.resize(kPasswordPadding.size());
    FileKey candidate = ComputeFileKey(trailer, encrypt, password);
    Rc4Crypt(
        std::string_view(reinterpret_cast<const char*>(candidate.bytes.data()), candidate.length),
        check);
    if (!std::equal(check.begin(), check.end(), kPasswordPadding.begin(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; })) {
        return false;
    }
    key = candidate;
    return true;
}

}  // namespace

FileKey ComputeFileKey(const PdfDictionary& trailer, const PdfDictionary& encrypt,
                       std::string_view password) {
    Md5 digest;
    digest.Add(PadPassword(password));
    digest.Add(encrypt.GetValueString("/O"));
    const auto permissions = static_cast<std::uint32_t>(encrypt.GetValueInteger("/P"));
    const std::uint8_t p[4] = {
        static_cast<std::uint8_t>(permissions), static_cast<std::uint8_t>(permissions >> 8),
        static_cast<std::uint8_t>(permissions >> 16), static_cast<std::uint8_t>(permissions >> 24)};
    digest.Add(std::span<const std::uint8_t>(p));
    if (trailer.HasKey("/ID")) {
        ObjectHandle id = trailer.GetValue("/ID");
        if (const PdfArray* ids = AsArray(id.get())) {
            digest.Add(ids->GetElementString(0));
        }
    }
    const Md5::Digest hash = digest.Finish();
    FileKey key;
    std::copy_n(hash.begin(), kFileKeyLength, key.bytes.begin());
    key.length = kFileKeyLength;
    return key;
}

bool CheckPassword(PdfObjectStore& store, const std::string& password, FileKey& key) {
    const PdfDictionary* trailer = store.GetTrailer();
    if (!trailer) {
        return false;
    }
    ObjectHandle encryptObject = trailer->GetValue("/Encrypt");
    const PdfDictionary& encrypt = DictionaryOrEmpty(encryptObject.get());
    if (IsUserPassword(*trailer, encrypt, password, key)) {
        return true;
    }
    // An owner password gives the user password back out of /O.
    const std::string recovered =
        RecoverUserPasswordFromOwner(password, encrypt.GetValueString("/O"));
    return IsUserPassword(*trailer, encrypt, recovered, key);
}

}  // namespace tessary
