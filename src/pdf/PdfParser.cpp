#include "pdf/PdfParser.h"

#include <algorithm>

#include "pdf/CryptFilter.h"
#include "pdf/Limits.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"

namespace tessary {

namespace {

bool IsWhiteSpace(std::uint8_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// Characters that end a token and are left for the next one. Form feed, '%',
// '{' and '}' are deliberately not among them.
inline bool IsTerminator(std::uint8_t c) {
    switch (c) {
        case ' ':
        case '\t':
        case '\n':
        case '\r':
        case '(':
        case ')':
        case '<':
        case '>':
        case '[':
        case ']':
        case '/':
            return true;
        default:
            return false;
    }
}

bool IsOctalDigit(std::uint8_t c) {
    return c >= '0' && c <= '7';
}

int HexValue(std::uint8_t c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

void PdfParser::AttachReader(PdfDocument* owner, ByteReader bytes, void* data) {
    document = owner;
    byteReader = bytes;
    readerData = data;
    memory = nullptr;
    memoryLength = 0;
    position = 0;
    lookahead = {};
}

void PdfParser::AttachBuffer(PdfDocument* owner, std::string_view data) {
    document = owner;
    memory = data.data();
    memoryLength = static_cast<std::int64_t>(data.size());
    position = 0;
    lookahead = {};
}

bool PdfParser::ReadFileChar(std::uint8_t& out) {
    if (!byteReader || !byteReader(out, readerData, position)) {
        return false;
    }
    ++position;
    return true;
}

std::string PdfParser::NextToken() {
    for (RememberedToken& remembered : lookahead) {
        if (remembered.start == position) {
            remembered.start = -1;
            position = remembered.end;
            return std::move(remembered.text);
        }
    }
    std::uint8_t c;
    if (!ReadChar(c)) {
        return {};
    }
    for (;;) {
        while (IsWhiteSpace(c)) {
            if (!ReadChar(c)) {
                return {};
            }
        }
        if (c != '%') {
            break;
        }
        // A comment runs to the end of the line; only a '%' that starts a
        // token begins one.
        do {
            if (!ReadChar(c)) {
                return {};
            }
        } while (c != '\r' && c != '\n');
        if (!ReadChar(c)) {
            return {};
        }
    }

    std::string token(1, static_cast<char>(c));
    if (c == '[' || c == '(' || c == ']') {
        return token;
    }
    if (c == '<' || c == '>') {
        std::uint8_t next;
        if (ReadChar(next)) {
            if (next == c) {
                token.push_back(static_cast<char>(next));
            } else {
                StepBack();
            }
        }
        return token;
    }
    if (memory) {
        // The rest of the token at once, straight from the buffer.
        const std::int64_t start = position;
        while (position < memoryLength &&
               !IsTerminator(static_cast<std::uint8_t>(memory[position]))) {
            ++position;
        }
        token.append(memory + start, static_cast<std::size_t>(position - start));
        return token;
    }
    while (ReadChar(c)) {
        if (IsTerminator(c)) {
            StepBack();
            break;
        }
        token.push_back(static_cast<char>(c));
    }
    return token;
}

std::string PdfParser::ReadLiteralString() {
    enum class State { Normal, Escape, Octal1, Octal2, AfterEscapedCR };
    std::string out;
    State state = State::Normal;
    int depth = 0;
    int value = 0;
    std::uint8_t c;
    for (;;) {
        if (state == State::Normal && memory) {
            // Bytes other than parentheses and backslashes stand for
            // themselves: a run of them is taken at once.
            const std::int64_t start = position;
            while (position >= 0 && position < memoryLength && memory[position] != '(' &&
                   memory[position] != ')' && memory[position] != '\\') {
                ++position;
            }
            if (position > start) {
                out.append(memory + start, static_cast<std::size_t>(position - start));
            }
        }
        if (!ReadChar(c)) {
            break;
        }
        if (state == State::Escape) {
            state = State::Normal;
            if (IsOctalDigit(c)) {
                value = c - '0';
                state = State::Octal1;
            } else {
                switch (c) {
                    case 'n':
                        out.push_back('\n');
                        break;
                    case 'r':
                        out.push_back('\r');
                        break;
                    case 't':
                        out.push_back('\t');
                        break;
                    case 'b':
                        out.push_back('\b');
                        break;
                    case 'f':
                        out.push_back('\f');
                        break;
                    case '\\':
                        out.push_back('\\');
                        break;
                    case '(':
                        out.push_back('(');
                        break;
                    case ')':
                        out.push_back(')');
                        break;
                    case '\r':
                        state = State::AfterEscapedCR;
                        break;
                    default:
                        break;  // the backslash and this byte are dropped
                }
            }
            continue;
        }
        if (state == State::Octal1 || state == State::Octal2) {
            if (IsOctalDigit(c)) {
                value = value * 8 + (c - '0');
                if (state == State::Octal1) {
                    state = State::Octal2;
                } else {
                    out.push_back(static_cast<char>(value & 0xFF));
                    state = State::Normal;
                }
                continue;
            }
            out.push_back(static_cast<char>(value & 0xFF));
            state = State::Normal;
        } else if (state == State::AfterEscapedCR) {
            state = State::Normal;
            if (c == '\n') {
                continue;
            }
        }
        // Normal
        if (c == ')') {
            if (depth == 0) {
                return out;
            }
            --depth;
            out.push_back(')');
        } else if (c == '(') {
            ++depth;
            out.push_back('(');
        } else if (c == '\\') {
            state = State::Escape;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

std::string PdfParser::ReadHexString() {
    std::string out;
    int high = -1;
    std::uint8_t c;
    while (ReadChar(c) && c != '>') {
        int digit = HexValue(c);
        if (digit < 0) {
            continue;
        }
        if (high < 0) {
            high = digit;
        } else {
            out.push_back(static_cast<char>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0) {
        out.push_back(static_cast<char>(high * 16));
    }
    return out;
}

void PdfParser::SkipLineEnd() {
    std::uint8_t c;
    while (ReadChar(c)) {
        if (c == '\n') {
            return;
        }
        if (c == '\r') {
            if (ReadChar(c) && c != '\n') {
                StepBack();
            }
            return;
        }
    }
}

bool PdfParser::IsNumberToken(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    });
}

ObjectHandle PdfParser::ReadObject(std::int32_t objectNumber, std::int32_t generation) {
    return ReadObjectAt(objectNumber, generation, 0);
}

ObjectHandle PdfParser::ReadObjectAt(std::int32_t objectNumber, std::int32_t generation,
                                     int depth) {
    std::string token = NextToken();
    const std::string_view word = token;
    if (word.empty()) {
        return MakeObject<PdfEndOfData>();
    }
    if (word == "true" || word == "false") {
        return MakeObject<PdfBoolean>(std::move(token));
    }
    if (word == "null") {
        return MakeObject<PdfNull>();
    }
    if (word == "(" || word == "<") {
        std::string text = word == "(" ? ReadLiteralString() : ReadHexString();
        if (stringFilter && (objectNumber != exemptNumber || generation != exemptGeneration)) {
            text = stringFilter->Decrypt(objectNumber, generation, text);
        }
        return MakeObject<PdfString>(std::move(text));
    }
    if (word == "[" || word == "<<") {
        if (depth >= kMaxNestingDepth) {
            return nullptr;
        }
        return word == "[" ? ReadArray(objectNumber, generation, depth + 1)
                           : ReadDictionaryOrStream(objectNumber, generation, depth + 1);
    }
    if (word[0] == '/') {
        return MakeObject<PdfName>(std::move(token));
    }
    if (IsNumberToken(word)) {
        // "n g R" is a reference; otherwise the tokens read ahead are read
        // again from afterFirst, and remembered so that they are not scanned
        // twice (numbers come in runs: "1 0 0 1 72 720 cm").
        const std::int64_t afterFirst = position;
        std::string second = NextToken();
        if (IsNumberToken(second)) {
            const std::int64_t afterSecond = position;
            std::string third = NextToken();
            if (third == "R") {
                PdfObjectStore* store = document ? document->GetStore() : nullptr;
                return MakeObject<PdfReference>(store, ParseInteger(token), ParseInteger(second));
            }
            lookahead[0] = {afterFirst, afterSecond, std::move(second)};
            lookahead[1] = {afterSecond, position, std::move(third)};
        }
        position = afterFirst;
        return MakeObject<PdfNumber>(std::move(token));
    }
    return MakeObject<PdfKeyword>(std::move(token));
}

ObjectHandle PdfParser::ReadArray(std::int32_t objectNumber, std::int32_t generation, int depth) {
    auto array = std::make_unique<PdfArray>();
    for (;;) {
        ObjectHandle element = ReadObjectAt(objectNumber, generation, depth);
        if (!element || element->type == PdfObjectType::EndOfData) {
            return nullptr;
        }
        if (element->type == PdfObjectType::Keyword) {
            if (static_cast<const PdfKeyword*>(element.get())->text == "]") {
                return ObjectHandle(array.release());
            }
            return nullptr;
        }
        array->Append(std::move(element));
    }
}

ObjectHandle PdfParser::ReadDictionaryOrStream(std::int32_t objectNumber, std::int32_t generation,
                                               int depth) {
    std::unique_ptr<PdfDictionary, ObjectReleaser> dictionary(new PdfDictionary);
    for (;;) {
        std::string name = NextToken();
        if (name.empty()) {
            return nullptr;
        }
        if (name == ">>") {
            break;
        }
        if (name[0] != '/') {
            return nullptr;
        }
        ObjectHandle value = ReadObjectAt(objectNumber, generation, depth);
        if (!value) {
            return nullptr;
        }
        dictionary->SetValue(name, std::move(value));
    }

    std::int64_t afterDictionary = position;
    if (NextToken() != "stream") {
        position = afterDictionary;
        return ObjectHandle(dictionary.release());
    }
    return ReadStreamBody(std::move(dictionary), objectNumber, generation);
}

ObjectHandle PdfParser::ReadStreamBody(std::unique_ptr<PdfDictionary, ObjectReleaser> dictionary,
                                       std::int32_t objectNumber, std::int32_t generation) {
    if (!document || memory) {
        return nullptr;
    }
    // The /Length may be an indirect object: loading it re-enters this parser,
    // and the document puts the position back afterwards.
    std::int64_t length = dictionary->GetValueInteger("/Length");
    if (length < 0) {
        return nullptr;
    }
    SkipLineEnd();
    const std::int64_t start = position;
    // Data said to run to the end of the file or past it reads as empty, and
    // "endstream" is then looked for where the data begins.
    std::uint8_t probe;
    position = start + length;
    if (!ReadChar(probe)) {
        length = 0;
    }
    position = start + length;
    if (NextToken() != "endstream" && !FindStreamEnd(start, length)) {
        return nullptr;
    }
    auto stream = std::make_unique<PdfStream>(
        document, StreamLocation{start, length, objectNumber, generation});
    stream->dictionary = std::move(dictionary);
    return ObjectHandle(stream.release());
}

bool PdfParser::FindStreamEnd(std::int64_t start, std::int64_t& length) {
    // Only in a file rebuilt by a repair: a wrong /Length is taken from the
    // "endstream" that follows the data, less the line end before it.
    const std::int64_t end = document->FindStreamEnd(start);
    if (end < start) {
        return false;
    }
    auto byteAt = [this](std::int64_t at) {
        position = at;
        std::uint8_t c = 0;
        return ReadChar(c) ? c : std::uint8_t{0};
    };
    length = end - start;
    if (length > 0 && byteAt(end - 1) == '\n') {
        --length;
        if (length > 0 && byteAt(end - 2) == '\r') {
            --length;
        }
    } else if (length > 0 && byteAt(end - 1) == '\r') {
        --length;
    }
    position = end;
    return NextToken() == "endstream";
}

std::int32_t PdfParser::ReadInteger() {
    ObjectHandle obj = ReadObject(0, 0);
    return GetIntegerValue(obj.get());
}

PdfObjectType PdfParser::ReadTypedToken(std::string& text) {
    ObjectHandle obj = ReadObject(0, 0);
    if (!obj) {
        return PdfObjectType::EndOfData;
    }
    text = GetStringValue(obj.get());
    return obj->type;
}

std::string PdfParser::ReadKeyword() {
    ObjectHandle obj = ReadObject(0, 0);
    if (IsKind(obj.get(), PdfObjectType::Keyword)) {
        return static_cast<const PdfKeyword*>(obj.get())->text;
    }
    return {};
}

void PdfParser::SetStringDecryption(const CryptFilter* filter, std::int32_t number,
                                    std::int32_t gen) {
    stringFilter = filter;
    exemptNumber = number;
    exemptGeneration = gen;
}

}  // namespace tessary
