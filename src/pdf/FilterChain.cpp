#include "pdf/FilterChain.h"

#include <mutex>
#include <string>
#include <vector>

#include "decode/Ascii85Decode.h"
#include "decode/FlateDecode.h"
#include "decode/LzwDecoder.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfObject.h"

namespace tessary {

namespace {

// Names of the unsupported filters reported so far in this run, one after
// the other. A name found anywhere in it (a substring included) is not
// reported again, for any document.
struct ReportedFilters {
    std::mutex mutex;
    std::string names;
};

ReportedFilters& Reported() {
    static ReportedFilters reported;
    return reported;
}

void ReportUnsupported(PdfDocument* document, const std::string& name) {
    {
        ReportedFilters& reported = Reported();
        std::lock_guard lock(reported.mutex);
        if (reported.names.find(name) != std::string::npos) {
            return;
        }
        reported.names += name;
    }
    if (document) {
        std::string message = "Unsupported decoder: " + name + ", please contact Korvane Software.";
        document->Notify(kShowMessage, message);
    }
}

// Flate and LZW refuse streams whose dictionary asks for a predictor; their
// predicted bytes would read as garbage.
bool HasPredictor(const PdfDictionary& streamDict) {
    return ParseInteger(streamDict.GetValueString("/Predictor")) > 1;
}

std::vector<std::string> FilterNames(const PdfDictionary& streamDict) {
    std::vector<std::string> names;
    ObjectHandle filter = streamDict.GetValue("/Filter");
    if (const PdfArray* array = AsArray(filter.get())) {
        for (std::size_t i = 0; i < array->GetCount(); ++i) {
            std::string name = array->GetElementString(i);
            if (!name.empty()) {
                names.push_back(std::move(name));
            }
        }
    } else if (std::string name = GetStringValue(filter.get()); !name.empty()) {
        names.push_back(std::move(name));
    }
    return names;
}

}  // namespace

bool ApplyFilters(PdfDocument* document, std::string& data, const PdfDictionary& streamDict) {
    for (const std::string& name : FilterNames(streamDict)) {
        if (name == "/Crypt") {
            continue;
        }
        if (name == "/FlateDecode") {
            if (HasPredictor(streamDict)) {
                return false;
            }
            // A stream that yields nothing, or that would pass the size
            // limit, reads as empty rather than failing; a damaged one keeps
            // what inflated before the damage.
            data = FlateDecode(data);
        } else if (name == "/LZWDecode") {
            if (HasPredictor(streamDict)) {
                return false;
            }
            LzwDecoder decoder;
            data = decoder.Decode(data);
            if (decoder.LimitReached()) {
                data.clear();  // past the size limit: empty, as for Flate
            }
        } else if (name == "/ASCII85Decode") {
            data = Ascii85Decode(data);
        } else {
            ReportUnsupported(document, name);
            return false;
        }
    }
    return true;
}

}  // namespace tessary
