#include "text/TextFileConversion.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "pdf/PdfObjectStore.h"
#include "text/PageText.h"

namespace tessary {

std::string TextFileNameFor(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    return (dot == std::string::npos ? path : path.substr(0, dot)) + ".txt";
}

namespace {

std::string_view LineEndBytes(LineEnd lineEnd) {
    return lineEnd == LineEnd::Unix ? "\n" : "\r\n";
}

// Why a file that the document couldn't open didn't open: the system's error
// when the file can't be read at all, no signature, or a damaged PDF file.
void DiagnoseOpenFailure(const std::string& path, ConversionResult& result) {
    char head[kPdfSignatureWindow];
    ssize_t length = -1;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        do {
            length = read(fd, head, sizeof head);  // a folder fails here (EISDIR)
        } while (length < 0 && errno == EINTR);
    }
    if (length < 0) {
        result.openFault = OpenFault::SystemError;
        result.systemError = errno;
    } else if (std::string_view(head, static_cast<std::size_t>(length)).find("%PDF-") ==
               std::string_view::npos) {
        result.openFault = OpenFault::NotPdf;
    } else {
        result.openFault = OpenFault::Damaged;
    }
    if (fd >= 0) {
        close(fd);
    }
}

}  // namespace

std::string PageHeader(std::int32_t pageNumber, LineEnd lineEnd) {
    const std::string_view end = LineEndBytes(lineEnd);
    std::string header =
        "------------------------ Page " + std::to_string(pageNumber) + " -----------------------";
    header += end;
    header += end;
    return header;
}

std::string FormatPage(std::int32_t pageNumber, const std::vector<std::string>& lines,
                       LineEnd lineEnd, PageBreak pageBreak) {
    const std::string_view end = LineEndBytes(lineEnd);
    std::string text = pageBreak == PageBreak::Header ? PageHeader(pageNumber, lineEnd) : "";
    for (const std::string& line : lines) {
        text += line;
        text += end;
    }
    if (pageBreak == PageBreak::Header) {
        text += end;
    } else if (pageBreak == PageBreak::FormFeed) {
        text += '\f';
    }
    return text;
}

FileTextOutput::~FileTextOutput() {
    if (file) {
        std::fclose(file);
    }
}

bool FileTextOutput::Open() {
    file = std::fopen(path.c_str(), "wb");
    return file != nullptr;
}

bool FileTextOutput::Write(std::string_view bytes) {
    if (!file || failed) {
        return false;
    }
    failed = std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size();
    return !failed;
}

bool FileTextOutput::Close() {
    if (!file) {
        return false;
    }
    // A full disk often shows only when the buffer is flushed.
    const bool flushed = std::fflush(file) == 0 && std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    return flushed && closed && !failed;
}

void FileTextOutput::Discard() {
    if (file) {
        std::fclose(file);
        file = nullptr;
    }
    // Only a regular file is ours to remove: never a device such as
    // /dev/full, nor a link (whose target would keep the partial text).
    struct stat info;
    if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        std::remove(path.c_str());
    }
}

bool StreamTextOutput::Write(std::string_view bytes) {
    if (failed) {
        return false;
    }
    failed = std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size();
    return !failed;
}

bool StreamTextOutput::Close() {
    return std::fflush(stream) == 0 && std::ferror(stream) == 0 && !failed;
}

ConversionResult ConvertPdfToText(const std::string& inputPath, TextOutput& output,
                                  const ConversionOptions& options, DocumentCallback callback,
                                  void* userData) {
    ConversionResult result;
    PdfDocument document;
    if (!document.Open(inputPath, false, callback, userData)) {
        result.status = ConversionStatus::OpenFailed;
        DiagnoseOpenFailure(inputPath, result);
        return result;
    }
    PdfObjectStore& store = *document.GetStore();
    ObjectHandle catalog = store.GetCatalog();
    if (!catalog) {
        result.status = ConversionStatus::NoCatalog;
        return result;
    }
    ObjectHandle root = DictionaryOrEmpty(catalog.get()).GetValue("/Pages");
    if (!root) {
        result.status = ConversionStatus::NoPages;
        return result;
    }
    if (!output.Open()) {
        result.status = ConversionStatus::CreateFailed;
        return result;
    }
    result.pageCount = DictionaryOrEmpty(root.get()).GetValueInteger("/Count");

    // Past the index limit no index finds a page: a /Count far beyond the
    // pages of the tree ends there instead of looking at every index.
    const std::int64_t first = std::max<std::int64_t>(options.firstPage, 1) - 1;
    const std::int64_t end =
        std::min<std::int64_t>({result.pageCount, options.lastPage, store.GetPageIndexLimit()});
    std::vector<std::string> lines;
    for (std::int64_t i = first; i < end; ++i) {
        const auto index = static_cast<std::int32_t>(i);
        if (options.progress) {
            options.progress(index + 1, result.pageCount);
        }
        ObjectHandle page = store.GetPage(index);
        if (!page) {
            continue;
        }
        ExtractPageText(lines, store, AsDictionary(page.get()), options.width, options.codePage,
                        options.order);
        if (!output.Write(FormatPage(index + 1, lines, options.lineEnd, options.pageBreak))) {
            break;
        }
        ++result.pagesWritten;
    }
    if (!output.Close()) {
        output.Discard();
        result.status = ConversionStatus::WriteFailed;
        return result;
    }
    result.status = ConversionStatus::Converted;
    return result;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return a == b || (stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
                      first.st_dev == second.st_dev && first.st_ino == second.st_ino);
}

ConversionResult ConvertPdfFileToText(const std::string& inputPath, const std::string& outputPath,
                                      TextOutput& output, const ConversionOptions& options,
                                      DocumentCallback callback, void* userData) {
    ConversionResult result;
    if (IsSameFile(inputPath, outputPath)) {
        result.status = ConversionStatus::OutputIsInput;
    } else {
        result = ConvertPdfToText(inputPath, output, options, callback, userData);
    }
    result.outputPath = outputPath;
    return result;
}

ConversionResult ConvertPdfFileToText(const std::string& inputPath, const std::string& outputPath,
                                      const ConversionOptions& options, DocumentCallback callback,
                                      void* userData) {
    FileTextOutput output(outputPath);
    return ConvertPdfFileToText(inputPath, outputPath, output, options, callback, userData);
}

std::string ConversionMessage(const ConversionResult& result) {
    switch (result.status) {
        case ConversionStatus::Converted:
            return std::to_string(result.pageCount) + " pages converted successfully into file " +
                   result.outputPath;
        case ConversionStatus::OpenFailed:
            return "Could not parse the PDF file.";
        case ConversionStatus::NoCatalog:
            return "Could not find catalog.";
        case ConversionStatus::NoPages:
            return "Could not find pages.";
        case ConversionStatus::OutputIsInput:
            return "The text file would replace the PDF file itself: " + result.outputPath;
        case ConversionStatus::CreateFailed:
            return "Could not open the file for writting.";
        case ConversionStatus::WriteFailed:
            return "Could not write the file.";
    }
    return {};
}

std::string DetailedConversionMessage(const ConversionResult& result) {
    if (result.status == ConversionStatus::OpenFailed) {
        if (result.openFault == OpenFault::SystemError) {
            return std::error_code(result.systemError, std::generic_category()).message();
        }
        if (result.openFault == OpenFault::NotPdf) {
            return "Not a PDF file.";
        }
    }
    return ConversionMessage(result);
}

}  // namespace tessary
