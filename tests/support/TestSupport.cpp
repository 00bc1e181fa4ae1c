#include "support/TestSupport.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "pdf/PdfParser.h"
#include "text/PageText.h"

namespace tessary::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessary-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path / name, std::ios::binary) << bytes;
    return (path / name).string();
}

std::string ReadFileBytes(const std::filesystem::path& file) {
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    return bytes.str();
}

ObjectHandle ParseObject(std::string_view text) {
    PdfParser parser;
    parser.AttachBuffer(nullptr, text);
    return parser.ReadObject(0, 0);
}

std::string Bytes(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return bytes;
}

std::string Deflate(const std::string& data) {
    uLongf size = compressBound(data.size());
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size,
             reinterpret_cast<const Bytef*>(data.data()), data.size());
    out.resize(size);
    return out;
}

namespace {

// The rows of a tab-separated corpus table, without its header line.
std::vector<std::vector<std::string>> ReadTable(const std::string& name) {
    std::ifstream table(CorpusPath(name));
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
        std::stringstream row(line);
        rows.emplace_back();
        for (std::string column; std::getline(row, column, '\t');)
            rows.back().push_back(column);
    }
    return rows;
}

}  // namespace

std::vector<CorpusEntry> CorpusEntries() {
    std::map<std::string, std::string> passwords;
    for (const auto& row : ReadTable("passwords.tsv"))
        passwords[row.at(0)] = row.size() > 1 ? row[1] : "";
    std::vector<CorpusEntry> files;
    for (const auto& row : ReadTable("manifest.tsv"))
        files.push_back({row.at(0), std::stoi(row.at(3)), passwords[row[0]]});
    return files;
}

int Prompter::Callback(void* self, int kind, std::string& argument) {
    auto* prompter = static_cast<Prompter*>(self);
    prompter->calls.emplace_back(kind, argument);
    if (kind != kAskPassword || prompter->answers.empty())
        return 0;
    argument = prompter->answers.front();
    prompter->answers.erase(prompter->answers.begin());
    return 1;
}

int Prompter::Count(int kind) const {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [&](const auto& c) { return c.first == kind; }));
}

std::string DocumentText(const std::string& path, const std::string& password, int width) {
    Prompter prompter{{password}, {}};
    PdfDocument document;
    if (!document.Open(path, false, &Prompter::Callback, &prompter))
        return "(not opened)";
    std::string text;
    std::vector<std::string> lines;
    for (int i = 0; ObjectHandle page = document.GetStore()->GetPage(i); ++i) {
        ExtractPageText(lines, *document.GetStore(), AsDictionary(page.get()), width,
                        CodePage::Utf8());
        for (const std::string& line : lines)
            text += line + "\n";
        text += "\f";
    }
    return text;
}

bool TestDocument::Open(const std::string& bytes, Prompter* prompter, bool rawStreams) {
    document = std::make_unique<PdfDocument>();
    return document->Open(dir.Write("test.pdf", bytes), rawStreams,
                          prompter ? &Prompter::Callback : nullptr, prompter);
}

}  // namespace tessary::test
