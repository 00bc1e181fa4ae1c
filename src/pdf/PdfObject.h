// The PDF object model: the eleven kinds of value a PDF file or a content
// stream is made of, and the accessors every other part of the program reads
// them through.
//
// Ownership: an indirect object (objectNumber != -1) belongs to the
// document's PdfObjectStore and is shared; everything else is a direct object
// owned by whoever holds it. Every accessor that hands out an object hands out
// either a shared indirect object or a fresh deep copy of a direct one, as an
// ObjectHandle whose deleter is ReleaseObject, so both kinds are released the
// same way and neither can leak.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

class PdfDocument;
class PdfObjectStore;

enum class PdfObjectType : std::int32_t {
    Boolean = 1,
    Number = 2,
    String = 3,
    Name = 4,
    Array = 5,
    Dictionary = 6,
    Stream = 7,
    Null = 8,
    Reference = 9,
    Keyword = 10,
    EndOfData = 11,
};

class PdfObject {
  public:
    virtual ~PdfObject() = default;

    PdfObject(const PdfObject&) = delete;
    PdfObject& operator=(const PdfObject&) = delete;

    bool IsIndirect() const { return objectNumber != -1; }

    const PdfObjectType type;
    std::int32_t objectNumber = -1;
    std::int32_t generation = -1;

  protected:
    explicit PdfObject(PdfObjectType kind) : type(kind) {}
};

// Destroys obj when it is a direct object; leaves shared indirect objects alone.
void ReleaseObject(PdfObject* obj);

struct ObjectReleaser {
    void operator()(PdfObject* obj) const { ReleaseObject(obj); }
};
using ObjectHandle = std::unique_ptr<PdfObject, ObjectReleaser>;

// Kinds that hold their value as text: Boolean, Number, Name, Keyword (and
// String, whose text is a byte string).
class PdfTextObject : public PdfObject {
  public:
    PdfTextObject(PdfObjectType kind, std::string value)
        : PdfObject(kind), text(std::move(value)) {}
    std::string text;
};

class PdfBoolean final : public PdfTextObject {
  public:
    explicit PdfBoolean(std::string value)
        : PdfTextObject(PdfObjectType::Boolean, std::move(value)) {}
};

class PdfNumber final : public PdfTextObject {
  public:
    explicit PdfNumber(std::string value)
        : PdfTextObject(PdfObjectType::Number, std::move(value)) {}
};

class PdfString final : public PdfTextObject {
  public:
    explicit PdfString(std::string value)
        : PdfTextObject(PdfObjectType::String, std::move(value)) {}
};

class PdfName final : public PdfTextObject {
  public:
    explicit PdfName(std::string value) : PdfTextObject(PdfObjectType::Name, std::move(value)) {}
};

class PdfKeyword final : public PdfTextObject {
  public:
    explicit PdfKeyword(std::string value)
        : PdfTextObject(PdfObjectType::Keyword, std::move(value)) {}
};

class PdfNull final : public PdfObject {
  public:
    PdfNull() : PdfObject(PdfObjectType::Null) {}
};

class PdfEndOfData final : public PdfObject {
  public:
    PdfEndOfData() : PdfObject(PdfObjectType::EndOfData) {}
};

class PdfReference final : public PdfObject {
  public:
    PdfReference(PdfObjectStore* owner, std::int32_t number, std::int32_t gen)
        : PdfObject(PdfObjectType::Reference),
          store(owner),
          targetNumber(number),
          targetGeneration(gen) {}

    PdfObjectStore* store;  // absent for references read without a document
    std::int32_t targetNumber;
    std::int32_t targetGeneration;
};

class PdfArray final : public PdfObject {
  public:
    PdfArray() : PdfObject(PdfObjectType::Array) {}

    std::size_t GetCount() const { return elements.size(); }
    // ResolveObject of element i, or absent when i is out of range.
    ObjectHandle GetElement(std::size_t i) const;
    std::string GetElementString(std::size_t i) const;
    std::int32_t GetElementInteger(std::size_t i) const;
    double GetElementReal(std::size_t i) const;
    // The element as stored, without resolving or copying (borrowed).
    const PdfObject* PeekElement(std::size_t i) const {
        return i < elements.size() ? elements[i].get() : nullptr;
    }
    void Append(ObjectHandle obj) { elements.push_back(std::move(obj)); }

    std::vector<ObjectHandle> elements;
};

class PdfDictionary final : public PdfObject {
  public:
    using Map = std::map<std::string, ObjectHandle, std::less<>>;
    using Position = Map::const_iterator;

    PdfDictionary() : PdfObject(PdfObjectType::Dictionary) {}

    // ResolveObject of the value, or absent when the key is missing.
    ObjectHandle GetValue(std::string_view key) const;
    std::string GetValueString(std::string_view key) const;
    std::int32_t GetValueInteger(std::string_view key) const;
    double GetValueReal(std::string_view key) const;
    bool HasKey(std::string_view key) const { return entries.find(key) != entries.end(); }
    // The value as stored, without resolving or copying (borrowed).
    const PdfObject* PeekValue(std::string_view key) const;
    // Replaces (and releases) any earlier value of key.
    void SetValue(std::string_view key, ObjectHandle obj);

    Position GetStartPosition() const { return entries.begin(); }
    bool AtEnd(Position position) const { return position == entries.end(); }
    // The entry at position (value resolved, owned by the caller); advances position.
    ObjectHandle GetNextEntry(Position& position, std::string& key) const;
    std::size_t GetCount() const { return entries.size(); }

    Map entries;
};

// Where a stream's bytes lie in its document's file, and the indirect object
// whose number and generation key their decryption.
struct StreamLocation {
    std::int64_t offset = 0;
    std::int64_t length = 0;
    std::int32_t objectNumber = 0;
    std::int32_t generation = 0;
};

using DictionaryHandle = std::unique_ptr<PdfDictionary, ObjectReleaser>;

// A stream read from a file holds where its bytes are; they are read,
// decrypted and decoded only when first asked for, and kept from then on, so
// looking a stream up (an image among a page's resources) costs nothing.
class PdfStream final : public PdfObject {
  public:
    // A stream whose bytes are already decoded (made in code).
    explicit PdfStream(std::string decoded = {});
    // A stream whose bytes are in the document's file.
    PdfStream(PdfDocument* source, const StreamLocation& location);

    // The decrypted and decoded bytes; absent when they can't be read,
    // decrypted or decoded (an unsupported filter, for one). The first call
    // does the work; the bytes live as long as the stream.
    const std::string* GetData() const;
    // The same bytes for a caller that reads them once (a page's content):
    // decoded into buffer and not kept, unless the stream holds them already.
    // With `reuse` (a form, which later pages may draw again) they are kept
    // in the stream as GetData keeps them from the second such reading on,
    // while the document's allowance for kept bytes lasts. Points at the stream's bytes or at buffer; absent as
    // for GetData.
    const std::string* ReadData(std::string& buffer, bool reuse = false) const;

    const StreamLocation& GetLocation() const { return location; }
    PdfDocument* GetSource() const { return source; }

    DictionaryHandle dictionary;  // may be absent

  private:
    // ReadOnce: read for reuse once, not kept.
    enum class State : std::uint8_t { Unread, ReadOnce, Decoded, Unreadable };

    PdfDocument* source = nullptr;
    StreamLocation location;
    mutable State state = State::Decoded;
    mutable std::string data;
};

// Kind tests that also accept absent objects.
inline bool IsKind(const PdfObject* obj, PdfObjectType kind) {
    return obj && obj->type == kind;
}
const PdfArray* AsArray(const PdfObject* obj);
const PdfDictionary* AsDictionary(const PdfObject* obj);
const PdfStream* AsStream(const PdfObject* obj);
// The decoded bytes of a stream (a reference is followed), as
// PdfStream::GetData gives them; absent for every other object.
const std::string* GetStreamData(const PdfObject* obj);
// The same, as PdfStream::ReadData gives them.
const std::string* ReadStreamData(const PdfObject* obj, std::string& buffer);
// obj as a stream whose bytes can be read (which reads them now); absent for
// a stream that can't be read, as for any other object.
const PdfStream* AsReadableStream(const PdfObject* obj);
// The dictionary of a dictionary, or of a stream; absent otherwise.
const PdfDictionary* AsDictionaryOrStreamDictionary(const PdfObject* obj);
// obj as a dictionary, or a shared empty dictionary when obj is absent or of
// another kind, so that lookups on it answer as for a missing key.
const PdfDictionary& DictionaryOrEmpty(const PdfObject* obj);

// Text of a Boolean, Number, String, Name or Keyword; references are followed.
std::string GetStringValue(const PdfObject* obj);
// Integer conversion of a Number (references followed); 0 otherwise.
std::int32_t GetIntegerValue(const PdfObject* obj);
// Real conversion of a Number (references followed); 0.0 otherwise.
double GetRealValue(const PdfObject* obj);

// Follows one reference (the target may itself be a reference), or clones.
ObjectHandle ResolveObject(const PdfObject* obj);
// As ResolveObject, without copying: a reference gives its shared target, any
// other object is obj itself. The result lives as long as obj's owner does
// (shared targets as long as the store).
const PdfObject* ResolveBorrowed(const PdfObject* obj);
// An indirect object itself; a deep copy of a direct one; absent for EndOfData.
ObjectHandle CloneObject(const PdfObject* obj);

// Locale-independent conversions of numeric token text, as the C library's
// strtol/strtod read it in the "C" locale: optional white space and sign, then
// digits up to the first other character. Integers wrap modulo 2^32.
std::int32_t ParseInteger(std::string_view text);
double ParseReal(std::string_view text);

// Convenience constructors for building objects in code and tests.
template <typename T, typename... Args>
ObjectHandle MakeObject(Args&&... args) {
    return ObjectHandle(new T(std::forward<Args>(args)...));
}

}  // namespace tessary
