#include "pdf/SecurityHandler.h"

#include "pdf/PdfObject.h"

namespace tessary {

namespace {

std::string FirstId(const PdfDictionary& trailer) {
    ObjectHandle id = trailer.GetValue("/ID");
    const PdfArray* ids = AsArray(id.get());
    return ids ? ids->GetElementString(0) : std::string();
}

// The method of a /CF entry's /CFM (ISO 32000 Table 25); false for one this
// reader doesn't know.
bool ReadMethod(const std::string& name, CryptFilter::Method& method) {
    if (name == "/V2") {
        method = CryptFilter::Method::Rc4;
    } else if (name == "/AESV2") {
        method = CryptFilter::Method::AesV2;
    } else if (name == "/AESV3") {
        method = CryptFilter::Method::AesV3;
    } else if (name == "/None" || name.empty()) {
        method = CryptFilter::Method::Identity;
    } else {
        return false;
    }
    return true;
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

}  // namespace

bool SecurityHandler::Load(const PdfDictionary& encrypt, const PdfDictionary& trailer) {
    *this = SecurityHandler();
    const std::string version = encrypt.GetValueString("/V");
    if (encrypt.GetValueString("/Filter") != "/Standard" ||
        (version != "1" && version != "2" && version != "4" && version != "5")) {
        return false;
    }
    // Before crypt filters, a missing /R could only mean revision 2.
    values.revision = encrypt.HasKey("/R") ? encrypt.GetValueInteger("/R") : 2;
    if (values.revision < 2 || values.revision > 6 || (version == "5") != (values.revision >= 5)) {
        return false;
    }
    values.keyLengthBits = encrypt.GetValueInteger("/Length");
    values.owner = encrypt.GetValueString("/O");
    values.user = encrypt.GetValueString("/U");
    values.ownerKey = encrypt.GetValueString("/OE");
    values.userKey = encrypt.GetValueString("/UE");
    values.perms = encrypt.GetValueString("/Perms");
    values.permissions = encrypt.GetValueInteger("/P");
    values.firstId = FirstId(trailer);
    values.encryptMetadata = encrypt.GetValueString("/EncryptMetadata") != "false";

    namedFilters.emplace("/Identity", CryptFilter());
    if (version == "1" || version == "2") {
        stringFilter = CryptFilter(CryptFilter::Method::Rc4);
        streamFilter = stringFilter;
        return true;
    }
    // Crypt filters: those /CF defines with a method this reader knows. One
    // with an unknown method is left out: it fails only the streams that name
    // it.
    ObjectHandle filters = encrypt.GetValue("/CF");
    const PdfDictionary& defined = DictionaryOrEmpty(filters.get());
    for (auto entry = defined.GetStartPosition(); !defined.AtEnd(entry);) {
        std::string name;
        ObjectHandle filter = defined.GetNextEntry(entry, name);
        CryptFilter::Method method;
        if (name != "/Identity" &&
            ReadMethod(DictionaryOrEmpty(filter.get()).GetValueString("/CFM"), method)) {
            namedFilters.insert_or_assign(name, CryptFilter(method));
        }
    }
    auto named = [&](std::string_view key, CryptFilter& out) {
        const std::string name = encrypt.GetValueString(key);
        auto found = namedFilters.find(name.empty() ? "/Identity" : name);
        if (found == namedFilters.end()) {
            return false;
        }
        out = found->second;
        return true;
    };
    return named("/StrF", stringFilter) && named("/StmF", streamFilter);
}

bool SecurityHandler::Authenticate(std::string_view password) {
    const Authentication result = AuthenticatePassword(values, password);
    if (result.role == PasswordRole::kNone) {
        return false;
    }
    stringFilter.SetFileKey(result.fileKey);
    streamFilter.SetFileKey(result.fileKey);
    for (auto& [name, filter] : namedFilters) {
        filter.SetFileKey(result.fileKey);
    }
    return true;
}

const CryptFilter* SecurityHandler::GetStreamFilter(const PdfDictionary& streamDict) const {
    static const CryptFilter identity;
    const std::string type = streamDict.GetValueString("/Type");
    if (type == "/XRef" || (type == "/Metadata" && !values.encryptMetadata)) {
        return &identity;
    }
    if (FirstFilterName(streamDict) == "/Crypt") {
        auto found = namedFilters.find(CryptFilterName(streamDict));
        return found == namedFilters.end() ? nullptr : &found->second;
    }
    return &streamFilter;
}

}  // namespace tessary
