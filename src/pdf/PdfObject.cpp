#include "pdf/PdfObject.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

#include "pdf/Limits.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"

namespace tessary {

void ReleaseObject(PdfObject* obj) {
    if (obj && obj->objectNumber == -1) {
        delete obj;
    }
}

const PdfArray* AsArray(const PdfObject* obj) {
    return IsKind(obj, PdfObjectType::Array) ? static_cast<const PdfArray*>(obj) : nullptr;
}

const PdfDictionary* AsDictionary(const PdfObject* obj) {
    return IsKind(obj, PdfObjectType::Dictionary) ? static_cast<const PdfDictionary*>(obj)
                                                  : nullptr;
}

const PdfStream* AsStream(const PdfObject* obj) {
    return IsKind(obj, PdfObjectType::Stream) ? static_cast<const PdfStream*>(obj) : nullptr;
}

PdfStream::PdfStream(std::string decoded)
    : PdfObject(PdfObjectType::Stream), data(std::move(decoded)) {}

PdfStream::PdfStream(PdfDocument* document, const StreamLocation& where)
    : PdfObject(PdfObjectType::Stream), source(document), location(where), state(State::Unread) {}

const std::string* PdfStream::GetData() const {
    if (state == State::Unread || state == State::ReadOnce) {
        const bool read = source && source->ReadStreamData(*this, data);
        if (!read) {
            data.clear();
            data.shrink_to_fit();
        }
        state = read ? State::Decoded : State::Unreadable;
    }
    return state == State::Decoded ? &data : nullptr;
}

const std::string* PdfStream::ReadData(std::string& buffer, bool reuse) const {
    if (state != State::Unread && state != State::ReadOnce) {
        return GetData();
    }
    if (source && source->ReadStreamData(*this, buffer)) {
        // Kept from the second reading on: a form drawn once (a figure) is
        // never held, one that comes back (a logo, a footer) is decoded twice.
        if (reuse && state == State::ReadOnce && source->TakeKeptStreamBytes(buffer.size())) {
            data = std::move(buffer);
            buffer = std::string();
            state = State::Decoded;
            return &data;
        }
        if (reuse) {
            state = State::ReadOnce;
        }
        return &buffer;
    }
    buffer.clear();
    state = State::Unreadable;
    return nullptr;
}

const PdfStream* AsReadableStream(const PdfObject* obj) {
    const PdfStream* stream = AsStream(obj);
    return stream && stream->GetData() ? stream : nullptr;
}

const std::string* GetStreamData(const PdfObject* obj) {
    const PdfStream* stream = AsStream(ResolveBorrowed(obj));
    return stream ? stream->GetData() : nullptr;
}

const std::string* ReadStreamData(const PdfObject* obj, std::string& buffer) {
    const PdfStream* stream = AsStream(ResolveBorrowed(obj));
    return stream ? stream->ReadData(buffer) : nullptr;
}

const PdfDictionary* AsDictionaryOrStreamDictionary(const PdfObject* obj) {
    if (const PdfStream* stream = AsStream(obj)) {
        return stream->dictionary.get();
    }
    return AsDictionary(obj);
}

const PdfDictionary& DictionaryOrEmpty(const PdfObject* obj) {
    static const PdfDictionary empty;
    const PdfDictionary* dictionary = AsDictionary(obj);
    return dictionary ? *dictionary : empty;
}

namespace {

bool IsTextKind(PdfObjectType kind) {
    switch (kind) {
        case PdfObjectType::Boolean:
        case PdfObjectType::Number:
        case PdfObjectType::String:
        case PdfObjectType::Name:
        case PdfObjectType::Keyword:
            return true;
        default:
            return false;
    }
}

// Follows a chain of references to the first object that is not one. A chain
// that comes back to an object already on it, or grows past the limit, ends
// with absent, so a value that refers to itself reads as the default.
// The returned pointer stays valid as long as `holder` does.
const PdfObject* FollowReferences(const PdfObject* obj, ObjectHandle& holder) {
    std::int32_t seenNumbers[kMaxReferenceChain];
    std::int32_t seenGenerations[kMaxReferenceChain];
    int hops = 0;
    while (obj && obj->type == PdfObjectType::Reference) {
        const auto* ref = static_cast<const PdfReference*>(obj);
        for (int k = 0; k < hops; ++k) {
            if (seenNumbers[k] == ref->targetNumber &&
                seenGenerations[k] == ref->targetGeneration) {
                return nullptr;
            }
        }
        if (hops == kMaxReferenceChain || !ref->store) {
            return nullptr;
        }
        seenNumbers[hops] = ref->targetNumber;
        seenGenerations[hops] = ref->targetGeneration;
        ++hops;
        holder = ref->store->GetObject(ref->targetNumber, ref->targetGeneration);
        obj = holder.get();
    }
    return obj;
}

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The value of text made of digits with at most one '.' among them, the
// way content streams write nearly every number, when it can be computed
// exactly as from_chars would round it: up to 15 digits make an integer
// below 2^53, and dividing it by a power of ten no larger than 10^22 (both
// exact doubles) rounds once, correctly. Nothing for any other text.
std::optional<double> ParsePlainDecimal(std::string_view text) {
    constexpr std::size_t kMaxExactDigits = 15;
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t mantissa = 0;
    std::size_t digits = 0;
    std::size_t fractionDigits = 0;
    bool point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (++digits > kMaxExactDigits) {
                return std::nullopt;
            }
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            fractionDigits += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    return static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
}

}  // namespace

std::int32_t ParseInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<std::int32_t>(value);
}

double ParseReal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // from_chars reads neither a sign nor white space; both were taken above,
    // so "+-1" reads as 0 exactly like strtod.
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        return 0.0;
    }
    if (std::optional<double> plain = ParsePlainDecimal(text.substr(i))) {
        return negative ? -*plain : *plain;
    }
    double value = 0.0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // strtod gives HUGE_VAL on overflow and 0 on underflow; from_chars
        // leaves the value alone, so tell the two apart by the exponent.
        std::string_view digits(first, static_cast<std::size_t>(end - first));
        bool tiny = digits.find_first_of("123456789") == std::string_view::npos ||
                    digits.find("e-") != std::string_view::npos ||
                    digits.find("E-") != std::string_view::npos;
        value = tiny ? 0.0 : HUGE_VAL;
    } else if (error != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::string GetStringValue(const PdfObject* obj) {
    ObjectHandle holder;
    obj = FollowReferences(obj, holder);
    if (obj && IsTextKind(obj->type)) {
        return static_cast<const PdfTextObject*>(obj)->text;
    }
    return {};
}

std::int32_t GetIntegerValue(const PdfObject* obj) {
    ObjectHandle holder;
    obj = FollowReferences(obj, holder);
    if (IsKind(obj, PdfObjectType::Number)) {
        return ParseInteger(static_cast<const PdfNumber*>(obj)->text);
    }
    return 0;
}

double GetRealValue(const PdfObject* obj) {
    ObjectHandle holder;
    obj = FollowReferences(obj, holder);
    if (IsKind(obj, PdfObjectType::Number)) {
        return ParseReal(static_cast<const PdfNumber*>(obj)->text);
    }
    return 0.0;
}

ObjectHandle ResolveObject(const PdfObject* obj) {
    if (!obj) {
        return nullptr;
    }
    if (obj->type == PdfObjectType::Reference) {
        const auto* ref = static_cast<const PdfReference*>(obj);
        if (!ref->store) {
            return nullptr;
        }
        return ref->store->GetObject(ref->targetNumber, ref->targetGeneration);
    }
    return CloneObject(obj);
}

const PdfObject* ResolveBorrowed(const PdfObject* obj) {
    if (IsKind(obj, PdfObjectType::Reference)) {
        // The target is shared (owned by the store): releasing the handle
        // would do nothing, so it is simply let go.
        return ResolveObject(obj).release();
    }
    return obj;
}

ObjectHandle CloneObject(const PdfObject* obj) {
    if (!obj || obj->type == PdfObjectType::EndOfData) {
        return nullptr;
    }
    if (obj->IsIndirect()) {
        // Shared: the handle's release leaves it alone.
        return ObjectHandle(const_cast<PdfObject*>(obj));
    }
    switch (obj->type) {
        case PdfObjectType::Boolean:
            return MakeObject<PdfBoolean>(static_cast<const PdfTextObject*>(obj)->text);
        case PdfObjectType::Number:
            return MakeObject<PdfNumber>(static_cast<const PdfTextObject*>(obj)->text);
        case PdfObjectType::String:
            return MakeObject<PdfString>(static_cast<const PdfTextObject*>(obj)->text);
        case PdfObjectType::Name:
            return MakeObject<PdfName>(static_cast<const PdfTextObject*>(obj)->text);
        case PdfObjectType::Keyword:
            return MakeObject<PdfKeyword>(static_cast<const PdfTextObject*>(obj)->text);
        case PdfObjectType::Null:
            return MakeObject<PdfNull>();
        case PdfObjectType::Reference: {
            const auto* ref = static_cast<const PdfReference*>(obj);
            return MakeObject<PdfReference>(ref->store, ref->targetNumber, ref->targetGeneration);
        }
        case PdfObjectType::Array: {
            auto copy = std::make_unique<PdfArray>();
            const auto* array = static_cast<const PdfArray*>(obj);
            copy->elements.reserve(array->elements.size());
            for (const ObjectHandle& element : array->elements) {
                copy->Append(CloneObject(element.get()));
            }
            return ObjectHandle(copy.release());
        }
        case PdfObjectType::Dictionary: {
            auto copy = std::make_unique<PdfDictionary>();
            for (const auto& [key, value] : static_cast<const PdfDictionary*>(obj)->entries) {
                copy->entries.emplace(key, CloneObject(value.get()));
            }
            return ObjectHandle(copy.release());
        }
        case PdfObjectType::Stream: {
            // Only a malformed file has a direct stream; its copy reads the
            // same bytes and carries a copy of the dictionary.
            const auto* stream = static_cast<const PdfStream*>(obj);
            std::unique_ptr<PdfStream> copy;
            if (stream->GetSource()) {
                copy = std::make_unique<PdfStream>(stream->GetSource(), stream->GetLocation());
            } else {
                const std::string* data = stream->GetData();
                copy = std::make_unique<PdfStream>(data ? *data : std::string());
            }
            ObjectHandle dictionary = CloneObject(stream->dictionary.get());
            copy->dictionary.reset(static_cast<PdfDictionary*>(dictionary.release()));
            return ObjectHandle(copy.release());
        }
        case PdfObjectType::EndOfData:
            break;
    }
    return nullptr;
}

ObjectHandle PdfArray::GetElement(std::size_t i) const {
    return i < elements.size() ? ResolveObject(elements[i].get()) : nullptr;
}

std::string PdfArray::GetElementString(std::size_t i) const {
    return i < elements.size() ? GetStringValue(elements[i].get()) : std::string();
}

std::int32_t PdfArray::GetElementInteger(std::size_t i) const {
    return i < elements.size() ? GetIntegerValue(elements[i].get()) : 0;
}

double PdfArray::GetElementReal(std::size_t i) const {
    return i < elements.size() ? GetRealValue(elements[i].get()) : 0.0;
}

const PdfObject* PdfDictionary::PeekValue(std::string_view key) const {
    auto found = entries.find(key);
    return found == entries.end() ? nullptr : found->second.get();
}

ObjectHandle PdfDictionary::GetValue(std::string_view key) const {
    return ResolveObject(PeekValue(key));
}

std::string PdfDictionary::GetValueString(std::string_view key) const {
    return GetStringValue(PeekValue(key));
}

std::int32_t PdfDictionary::GetValueInteger(std::string_view key) const {
    return GetIntegerValue(PeekValue(key));
}

double PdfDictionary::GetValueReal(std::string_view key) const {
    return GetRealValue(PeekValue(key));
}

void PdfDictionary::SetValue(std::string_view key, ObjectHandle obj) {
    auto found = entries.find(key);
    if (found != entries.end()) {
        found->second = std::move(obj);
    } else {
        entries.emplace(std::string(key), std::move(obj));
    }
}

ObjectHandle PdfDictionary::GetNextEntry(Position& position, std::string& key) const {
    if (position == entries.end()) {
        key.clear();
        return nullptr;
    }
    key = position->first;
    ObjectHandle value = ResolveObject(position->second.get());
    ++position;
    return value;
}

}  // namespace tessary
