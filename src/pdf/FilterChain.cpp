#include "pdf/FilterChain.h"

#include <mutex>
#include <string>
#include <vector>

#include "decode/Ascii85Decode.h"
#include "decode/AsciiHexDecode.h"
#include "decode/FlateDecode.h"
#include "decode/LzwDecoder.h"
#include "decode/Predictor.h"
#include "decode/RunLengthDecode.h"
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

// One entry of the /Filter list, with its /DecodeParms dictionary (or none).
struct FilterStep {
    std::string name;
    ObjectHandle params;
};

// /DecodeParms runs beside /Filter: an array holds one entry per /Filter
// array element (null for none); a lone dictionary serves every filter, as
// only the one that takes parameters reads it.
ObjectHandle ParamsFor(const PdfObject* params, std::size_t index) {
    if (const PdfArray* array = AsArray(params)) {
        return array->GetElement(index);
    }
    return AsDictionary(params) ? ResolveObject(params) : ObjectHandle();
}

std::vector<FilterStep> FilterSteps(const PdfDictionary& streamDict) {
    std::vector<FilterStep> steps;
    ObjectHandle filter = streamDict.GetValue("/Filter");
    ObjectHandle params = streamDict.GetValue("/DecodeParms");
    if (const PdfArray* array = AsArray(filter.get())) {
        for (std::size_t i = 0; i < array->GetCount(); ++i) {
            std::string name = array->GetElementString(i);
            if (!name.empty()) {
                steps.push_back({std::move(name), ParamsFor(params.get(), i)});
            }
        }
    } else if (std::string name = GetStringValue(filter.get()); !name.empty()) {
        steps.push_back({std::move(name), ParamsFor(params.get(), 0)});
    }
    return steps;
}

int IntegerOr(const PdfDictionary& params, std::string_view key, int fallback) {
    return params.HasKey(key) ? params.GetValueInteger(key) : fallback;
}

// Undoes the predictor that the parameters name, if any. The decoder bounds
// every parameter; out-of-range ones leave the stream empty.
std::string UndoPredictor(std::string data, const PdfObject* paramsObject) {
    const PdfDictionary* params = AsDictionary(paramsObject);
    if (!params) {
        return data;
    }
    const PredictorParams predictor{
        IntegerOr(*params, "/Predictor", 1), IntegerOr(*params, "/Colors", 1),
        IntegerOr(*params, "/BitsPerComponent", 8), IntegerOr(*params, "/Columns", 1)};
    return ApplyPredictor(std::move(data), predictor);
}

}  // namespace

bool ApplyFilters(PdfDocument* document, std::string& data, const PdfDictionary& streamDict) {
    for (const FilterStep& step : FilterSteps(streamDict)) {
        const std::string& name = step.name;
        if (name == "/FlateDecode") {
            if (HasPredictor(streamDict)) {
                return false;
            }
            // A stream that yields nothing, or that would pass the size
            // limit, reads as empty rather than failing; a damaged one keeps
            // what inflated before the damage.
            data = UndoPredictor(FlateDecode(data), step.params.get());
        } else if (name == "/LZWDecode") {
            if (HasPredictor(streamDict)) {
                return false;
            }
            const PdfDictionary* params = AsDictionary(step.params.get());
            LzwDecoder decoder(!params || IntegerOr(*params, "/EarlyChange", 1) != 0);
            data = decoder.Decode(data);
            if (decoder.LimitReached()) {
                data.clear();  // past the size limit: empty, as for Flate
            }
            data = UndoPredictor(std::move(data), step.params.get());
        } else if (name == "/ASCII85Decode") {
            data = Ascii85Decode(data);
        } else if (name == "/ASCIIHexDecode") {
            data = AsciiHexDecode(data);
        } else if (name == "/RunLengthDecode") {
            data = RunLengthDecode(data);  // past the size limit: empty
        } else if (name != "/Crypt") {
            // /Crypt names the crypt filter the document decrypted the bytes with.
            ReportUnsupported(document, name);
            return false;
        }
    }
    return true;
}

}  // namespace tessary
