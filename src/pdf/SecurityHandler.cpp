#include "pdf/SecurityHandler.h"

#include <algorithm>

#include "decode/Md5.h"
#include "decode/Rc4.h"
#include "decode/StandardSecurity.h"
#include "pdf/PdfObject.h"

namespace tessary {

namespace {

constexpr std::size_t kRevision2KeyLength = 5;

std::string_view KeyBytes(const FileKey& key) {
    return {reinterpret_cast<const char*>(key.bytes.data()), key.length};
}

std::string FirstId(const PdfDictionary& trailer) {
    ObjectHandle id = trailer.GetValue("/ID");
    const PdfArray* ids = AsArray(id.get());
    return ids ? ids->GetElementString(0) : std::string();
}

// The name a /Crypt filter gives in its own /DecodeParms entry (a dictionary,
// or the first of an array that runs beside /Filter); /Identity by default.
std::string CryptFilterName(const PdfDictionary& streamDict) {
    ObjectHandle parms = streamDict.GetValue("/DecodeParms");
    ObjectHandle first;
    if (const PdfArray* list = AsArray(parms.get())) {
        first = list->GetElement(0);
    }
    std::string name = DictionaryOrEmpty(first ? first.get() : parms.get()).GetValueString("/Name");
    return name.empty() ? "/Identity" : name;
}

std::string FirstFilterName(const PdfDictionary& streamDict) {
    ObjectHandle filter = streamDict.GetValue("/Filter");
    if (const PdfArray* list = AsArray(filter.get())) {
        return list->GetElementString(0);
    }
    return GetStringValue(filter.get());
}

// MD5 of the padded password, /O, /P (4 bytes, little-endian) and the first
// /ID string, cut to 5 bytes.
FileKey Revision2Key(std::string_view password, std::string_view ownerEntry,
                     std::uint32_t permissions, std::string_view documentId) {
    Md5 digest;
    digest.Add(PadPassword(password));
    digest.Add(ownerEntry);
    const std::uint8_t p[4] = {
        static_cast<std::uint8_t>(permissions), static_cast<std::uint8_t>(permissions >> 8),
        static_cast<std::uint8_t>(permissions >> 16), static_cast<std::uint8_t>(permissions >> 24)};
    digest.Add(std::span<const std::uint8_t>(p));
    digest.Add(documentId);
    const Md5::Digest hash = digest.Finish();
    FileKey key;
    std::copy_n(hash.begin(), kRevision2KeyLength, key.bytes.begin());
    key.length = kRevision2KeyLength;
    return key;
}

}  // namespace

FileKey ComputeFileKey(const PdfDictionary& trailer, const PdfDictionary& encrypt,
                       std::string_view password) {
    return Revision2Key(password, encrypt.GetValueString("/O"),
                        static_cast<std::uint32_t>(encrypt.GetValueInteger("/P")),
                        FirstId(trailer));
}

bool SecurityHandler::Load(const PdfDictionary& encrypt, const PdfDictionary& trailer) {
    *this = SecurityHandler();
    if (encrypt.GetValueString("/Filter") != "/Standard" || encrypt.GetValueString("/V") != "1") {
        return false;
    }
    revision = 2;
    ownerEntry = encrypt.GetValueString("/O");
    userEntry = encrypt.GetValueString("/U");
    permissions = static_cast<std::uint32_t>(encrypt.GetValueInteger("/P"));
    documentId = FirstId(trailer);
    stringFilter = CryptFilter(CryptFilter::Method::Rc4);
    streamFilter = stringFilter;
    namedFilters.emplace("/Identity", CryptFilter());
    return true;
}

bool SecurityHandler::IsUserPassword(std::string_view password, FileKey& key) const {
    // /U decrypted with the file key is the padding.
    if (userEntry.size() < kPasswordPadding.size()) {
        return false;  // too short to hold the check value
    }
    const FileKey candidate = Revision2Key(password, ownerEntry, permissions, documentId);
    std::string check = userEntry.substr(0, kPasswordPadding.size());
    Rc4Crypt(KeyBytes(candidate), check);
    if (!std::equal(check.begin(), check.end(), kPasswordPadding.begin(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; })) {
        return false;
    }
    key = candidate;
    return true;
}

bool SecurityHandler::Authenticate(std::string_view password) {
    FileKey key;
    // An owner password gives the user password back out of /O.
    if (!IsUserPassword(password, key) &&
        !IsUserPassword(RecoverUserPasswordFromOwner(password, ownerEntry), key)) {
        return false;
    }
    InstallKey(key);
    return true;
}

void SecurityHandler::InstallKey(const FileKey& key) {
    stringFilter.SetFileKey(KeyBytes(key));
    streamFilter.SetFileKey(KeyBytes(key));
    for (auto& [name, filter] : namedFilters) {
        filter.SetFileKey(KeyBytes(key));
    }
}

const CryptFilter* SecurityHandler::GetStreamFilter(const PdfDictionary& streamDict) const {
    static const CryptFilter identity;
    const std::string type = streamDict.GetValueString("/Type");
    if (type == "/XRef" || (type == "/Metadata" && !encryptMetadata)) {
        return &identity;
    }
    if (FirstFilterName(streamDict) == "/Crypt") {
        auto found = namedFilters.find(CryptFilterName(streamDict));
        return found == namedFilters.end() ? nullptr : &found->second;
    }
    return &streamFilter;
}

}  // namespace tessary
