// Whole-file conversion: every page of a PDF file into one text file, a header
// line per page, CR LF line ends and an empty line after each page. Both the
// application's Convert command and the command-line converter run it; they
// only differ in how they ask for files and show the outcome.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/PdfDocument.h"
#include "platform/CodePage.h"
#include "text/TextOrder.h"

namespace tessary {

inline constexpr std::int32_t kDefaultLineWidth = 78;

// The text file beside a PDF file: the path up to its last "." (searched in
// the whole path, folder names included) followed by ".txt", or the path
// followed by ".txt" when it has no ".".
std::string TextFileNameFor(const std::string& path);

// The forms of the text. The defaults make the text file of the application's
// Convert; the others suit scripts and tools that read plain text.
enum class LineEnd {
    Dos,   // CR LF
    Unix,  // LF
};
enum class PageBreak {
    Header,    // the page header before each page, an empty line after it
    FormFeed,  // a form feed (byte 12) after each page
    None,      // the pages' lines one after the other
};

// The header line of a page (one-based number), with its line end and the
// empty line after it.
std::string PageHeader(std::int32_t pageNumber, LineEnd lineEnd = LineEnd::Dos);
// A page as the text holds it: for Header, the header, each line and its line
// end, one more line end; for FormFeed, each line and its line end, a form
// feed; for None, each line and its line end.
std::string FormatPage(std::int32_t pageNumber, const std::vector<std::string>& lines,
                       LineEnd lineEnd = LineEnd::Dos, PageBreak pageBreak = PageBreak::Header);

enum class ConversionStatus {
    Converted,
    OpenFailed,     // "Could not parse the PDF file."
    NoCatalog,      // "Could not find catalog."
    NoPages,        // "Could not find pages."
    OutputIsInput,  // the text file would replace the PDF file itself
    CreateFailed,   // "Could not open the file for writting."
    WriteFailed,    // "Could not write the file."
};

// Why a file didn't open as a document (OpenFailed).
enum class OpenFault {
    Damaged,      // a PDF file that couldn't be read, or whose password wasn't given
    SystemError,  // the file itself couldn't be read; systemError says why
    NotPdf,       // no "%PDF-" signature in its first kPdfSignatureWindow bytes
};

// How far into a file the "%PDF-" signature may lie: readers commonly accept
// up to this many bytes of something else before it.
inline constexpr std::size_t kPdfSignatureWindow = 1024;

struct ConversionResult {
    ConversionStatus status = ConversionStatus::OpenFailed;
    OpenFault openFault = OpenFault::Damaged;
    int systemError = 0;         // errno, for OpenFault::SystemError
    std::int32_t pageCount = 0;  // the page tree's /Count, as written in the file
    std::int32_t pagesWritten = 0;
    std::string outputPath;
};

// Where converted text goes.
class TextOutput {
  public:
    virtual ~TextOutput() = default;
    // Called once, after the document, its catalog and its page tree were
    // found: nothing is created before.
    virtual bool Open() = 0;
    virtual bool Write(std::string_view bytes) = 0;
    // true when everything written reached its destination.
    virtual bool Close() = 0;
    // Called instead of Close when the conversion fails after Open: removes
    // what was written.
    virtual void Discard() = 0;
};

// A file created (or truncated) in binary mode.
class FileTextOutput final : public TextOutput {
  public:
    explicit FileTextOutput(std::string filePath) : path(std::move(filePath)) {}
    ~FileTextOutput() override;
    bool Open() override;
    bool Write(std::string_view bytes) override;
    bool Close() override;
    void Discard() override;

  private:
    std::string path;
    std::FILE* file = nullptr;
    bool failed = false;
};

// An open stream such as standard output, which is flushed but not closed.
class StreamTextOutput final : public TextOutput {
  public:
    explicit StreamTextOutput(std::FILE* target) : stream(target) {}
    bool Open() override { return true; }
    bool Write(std::string_view bytes) override;
    bool Close() override;
    void Discard() override {}

  private:
    std::FILE* stream;
    bool failed = false;
};

struct ConversionOptions {
    std::int32_t width = kDefaultLineWidth;
    // One-based page range; pages outside it are not written.
    std::int32_t firstPage = 1;
    std::int32_t lastPage = std::numeric_limits<std::int32_t>::max();
    CodePage codePage;  // the output code page
    LineEnd lineEnd = LineEnd::Dos;
    PageBreak pageBreak = PageBreak::Header;
    TextOrder order = TextOrder::Layout;
    // Called before each page index is looked at: (index + 1, /Count).
    std::function<void(std::int32_t, std::int32_t)> progress;
};

// Converts the PDF file at inputPath into output. The callback answers the
// document's messages and password requests. A failure after the output was
// opened discards it, so no partial text is left behind.
ConversionResult ConvertPdfToText(const std::string& inputPath, TextOutput& output,
                                  const ConversionOptions& options, DocumentCallback callback,
                                  void* userData);

// Whether two paths name the same file (the same path, or the same device
// and inode, through links too).
bool IsSameFile(const std::string& a, const std::string& b);

// The same, into the file at outputPath; refused (OutputIsInput) when that
// file is the input file itself.
ConversionResult ConvertPdfFileToText(const std::string& inputPath, const std::string& outputPath,
                                      const ConversionOptions& options, DocumentCallback callback,
                                      void* userData);
// The same, into an output that writes the file at outputPath (one that, for
// instance, also cleans up when the process is interrupted).
ConversionResult ConvertPdfFileToText(const std::string& inputPath, const std::string& outputPath,
                                      TextOutput& output, const ConversionOptions& options,
                                      DocumentCallback callback, void* userData);

// What the user is told: "%d pages converted successfully into file %s" for
// a conversion, the failure's message otherwise.
std::string ConversionMessage(const ConversionResult& result);
// The same, except that a file that didn't open says why when it can: the
// system's reason (strerror) or that it isn't a PDF file. For tools whose
// users tell these apart, such as the command line.
std::string DetailedConversionMessage(const ConversionResult& result);

}  // namespace tessary
