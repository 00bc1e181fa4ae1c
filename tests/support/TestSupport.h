// Helpers shared by the core's tests: temporary files, documents opened from
// bytes, and a recorder of the document's callbacks.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"
#include "support/PdfBuilder.h"

namespace tessary::test {

// A temporary folder, removed with everything in it when the object dies.
struct TempDir {
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    // Writes the bytes to a file in the folder and gives its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

    std::filesystem::path path;
};

std::string ReadFileBytes(const std::filesystem::path& path);
// One object read by a memory-mode parser (no document).
ObjectHandle ParseObject(std::string_view text);
// The bytes that pairs of hexadecimal digits give ("4142" is "AB").
std::string Bytes(std::string_view hex);
// The data zlib-compressed, as /FlateDecode reads it.
std::string Deflate(const std::string& data);
inline std::string CorpusPath(const std::string& file) {
    return std::string(TESSARY_CORPUS_DIR) + "/" + file;
}

// One file of the corpus manifest, with its user password from passwords.tsv
// ("" when it has none).
struct CorpusEntry {
    std::string path;  // relative to the corpus folder
    int pages = 0;
    std::string userPassword;
};
std::vector<CorpusEntry> CorpusEntries();

// Every page's text at the width in UTF-8, each line ended by "\n" and each
// page by "\f"; "(not opened)" when the file doesn't open with the password.
std::string DocumentText(const std::string& path, const std::string& password = "", int width = 78);

// Records the document's callbacks; answers password prompts from `answers`
// in order, and cancels when none is left.
struct Prompter {
    std::vector<std::string> answers;
    std::vector<std::pair<int, std::string>> calls;
    static int Callback(void* self, int kind, std::string& argument);
    int Count(int kind) const;
};

// A document opened from bytes written to a temporary file.
struct TestDocument {
    bool Open(const std::string& bytes, Prompter* prompter = nullptr, bool rawStreams = false);
    PdfObjectStore& Store() const { return *document->GetStore(); }
    // The string value of object n, "" when absent.
    std::string ValueOf(int n) const { return GetStringValue(Store().GetObject(n, 0).get()); }
    // The decoded data of stream object n, "(absent)" when it has none.
    std::string DataOf(int n) const {
        const std::string* data = GetStreamData(Store().GetObject(n, 0).get());
        return data ? *data : "(absent)";
    }

    TempDir dir;
    std::unique_ptr<PdfDocument> document;
};

}  // namespace tessary::test
