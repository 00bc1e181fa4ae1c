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

    TempDir dir;
    std::unique_ptr<PdfDocument> document;
};

}  // namespace tessary::test
