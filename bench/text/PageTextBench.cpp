// Page text extraction over real files and synthetic large pages: pages per
// second, and the cost per shown character, in the layout and in reading
// order, beside `pdftotext -layout` and `mutool draw -F txt` on the same files
// when they are installed.
// Usage: page_text_bench [FOLDER|FILE.pdf]...   (default: the test corpus)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"
#include "text/PageText.h"

using namespace tessary;
using Clock = std::chrono::steady_clock;

namespace {

struct Result {
    bool opened = false;
    int pages = 0;
    std::size_t characters = 0;  // bytes of text produced, a stand-in for shown characters
    double seconds = 0;
};

Result Extract(const std::string& path, int repeat, TextOrder order = TextOrder::Layout) {
    Result result;
    const auto start = Clock::now();
    for (int r = 0; r < repeat; ++r) {
        PdfDocument document;
        result.opened = document.Open(path, false, nullptr, nullptr);
        if (!result.opened)
            return result;
        PdfObjectStore& store = *document.GetStore();
        ObjectHandle catalog = store.GetCatalog();
        ObjectHandle root = DictionaryOrEmpty(catalog.get()).GetValue("/Pages");
        const int count = DictionaryOrEmpty(root.get()).GetValueInteger("/Count");
        std::vector<std::string> lines;
        result.pages = 0;
        result.characters = 0;
        for (int i = 0; i < count; ++i) {
            ObjectHandle page = store.GetPage(i);
            if (!page)
                continue;
            ExtractPageText(lines, store, AsDictionary(page.get()), 78, CodePage::Utf8(), order);
            ++result.pages;
            for (const std::string& line : lines) {
                result.characters += static_cast<std::size_t>(
                    std::count_if(line.begin(), line.end(), [](char c) { return c != ' '; }));
            }
        }
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count() / repeat;
    return result;
}

double TimeCommand(const std::string& command, int repeat) {
    const auto start = Clock::now();
    for (int r = 0; r < repeat; ++r) {
        if (std::system(command.c_str()) != 0)
            return -1;
    }
    return std::chrono::duration<double>(Clock::now() - start).count() / repeat;
}

// One page of `lines` lines of `perLine` characters, in a simple font or in a
// two-byte font with the same widths and characters, in one column or more
// side by side; turned, the page is drawn as some producers draw every page,
// under a flipped matrix, in a form, with every tenth line turned by a quarter.
std::string SyntheticPage(int lines, int perLine, bool twoByte, int columns, bool turned) {
    std::string content = "BT /F1 9 Tf\n";
    std::string text;
    for (int k = 0; k < perLine; ++k)
        text += static_cast<char>('a' + (k * 7 + k / 5) % 26);
    for (int k = 0; k < perLine; k += 6)
        text[k] = ' ';
    std::string shown = "(" + text + ")";
    if (twoByte) {
        shown = "<";
        for (char c : text) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "00%02X", static_cast<unsigned char>(c));
            shown += hex;
        }
        shown += ">";
    }
    for (int c = 0; c < columns; ++c) {
        const std::string x = std::to_string(20 + c * (perLine * 6 + 40));
        for (int l = 0; l < lines; ++l) {
            // The form flips y: a line at y = l * 10 + 100 lands where the
            // upright page has line l; a turned line runs up the page from its
            // own x.
            std::string matrix = "1 0 0 1 " + x + " " + std::to_string(2000 * 10 - l * 10);
            if (turned) {
                matrix = l % 10 == 9 ? "0 -1 -1 0 " + std::to_string(20 + l / 10 * 12) + " 20000"
                                     : "1 0 0 -1 " + x + " " + std::to_string(l * 10 + 100);
            }
            content += matrix + " Tm " + shown + " Tj\n";
        }
    }
    const std::string metrics = "/FontDescriptor << /Ascent 800 /Descent -200 >>";
    std::string widths;
    for (int c = 32; c < 127; ++c)
        widths += " " + std::to_string(400 + c * 37 % 300);
    content += "ET\n";
    const std::string page = turned ? "/Fm1 Do" : content;
    std::string pdf = "%PDF-1.4\n";
    std::vector<long> offsets;
    auto add = [&](const std::string& body) {
        offsets.push_back(static_cast<long>(pdf.size()));
        pdf += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    add("<< /Type /Catalog /Pages 2 0 R >>");
    add("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    add("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 1200 20100] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> /XObject << /Fm1 " +
        std::to_string(twoByte ? 7 : 6) + " 0 R >> >> >>");
    add("<< /Length " + std::to_string(page.size()) + " >>\nstream\n" + page + "\nendstream");
    if (twoByte) {
        add("<< /Type /Font /Subtype /Type0 /Encoding /Identity-H /ToUnicode 6 0 R "
            "/DescendantFonts [ << /Subtype /CIDFontType2 /W [ 32 [" +
            widths + " ] ] " + metrics + " >> ] >>");
        const std::string toUnicode = "beginbfrange <0020> <007E> <0020> endbfrange";
        add("<< /Length " + std::to_string(toUnicode.size()) + " >>\nstream\n" + toUnicode +
            "\nendstream");
    } else {
        add("<< /Type /Font /Subtype /TrueType /BaseFont /F /Encoding /WinAnsiEncoding "
            "/FirstChar 32 /Widths [" +
            widths + " ] " + metrics + " >>");
    }
    add("<< /Type /XObject /Subtype /Form /BBox [0 0 1200 20100] /Matrix [1 0 0 -1 0 20100] "
        "/Length " +
        std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream");
    const long xref = static_cast<long>(pdf.size());
    pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f\r\n";
    char entry[24];
    for (long offset : offsets) {
        std::snprintf(entry, sizeof entry, "%010ld 00000 n\r\n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> inputs(argv + 1, argv + argc);
    if (inputs.empty())
        inputs.push_back(TESSARY_CORPUS_DIR);
    std::vector<std::string> files;
    for (const std::string& input : inputs) {
        if (std::filesystem::is_directory(input)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(input)) {
                if (entry.path().extension() == ".pdf")
                    files.push_back(entry.path().string());
            }
        } else {
            files.push_back(input);
        }
    }
    std::sort(files.begin(), files.end());
    const bool havePdftotext = std::system("pdftotext -v >/dev/null 2>&1") == 0;
    const bool haveMutool = std::system("mutool -v >/dev/null 2>&1") == 0;
    auto pdftotext = [](const std::string& file) {
        return "pdftotext -q -layout '" + file + "' /dev/null";
    };
    auto mutool = [](const std::string& file) {
        return "mutool draw -q -F txt -o /dev/null '" + file + "'";
    };

    std::printf("%-36s %5s %8s %10s %9s %10s %6s %12s %9s\n", "file", "pages", "ms", "pages/s",
                "ns/char", "reading ms", "ratio", "pdftotext ms", "mutool ms");
    int totalPages = 0;
    double totalSeconds = 0, totalReading = 0, totalTheirs = 0, totalMutool = 0;
    std::size_t totalCharacters = 0;
    for (const std::string& file : files) {
        Result r = Extract(file, 5);
        if (!r.opened)
            continue;
        Result reading = Extract(file, 5, TextOrder::Reading);
        double theirs = -1, mutoolSeconds = -1;
        if (havePdftotext) {
            theirs = TimeCommand(pdftotext(file), 5);
            if (theirs > 0)
                totalTheirs += theirs;
        }
        if (haveMutool) {
            mutoolSeconds = TimeCommand(mutool(file), 5);
            if (mutoolSeconds > 0)
                totalMutool += mutoolSeconds;
        }
        totalPages += r.pages;
        totalSeconds += r.seconds;
        totalReading += reading.seconds;
        totalCharacters += r.characters;
        std::printf("%-36s %5d %8.2f %10.0f %9.0f %10.2f %6.2f %12.2f %9.2f\n",
                    std::filesystem::path(file).filename().string().substr(0, 36).c_str(), r.pages,
                    r.seconds * 1e3, r.pages / r.seconds,
                    r.characters ? r.seconds * 1e9 / r.characters : 0.0, reading.seconds * 1e3,
                    reading.seconds / r.seconds, theirs * 1e3, mutoolSeconds * 1e3);
    }
    std::printf("all files: %d pages in %.1f ms: %.0f pages/s, %.0f ns/char", totalPages,
                totalSeconds * 1e3, totalPages / totalSeconds,
                totalSeconds * 1e9 / totalCharacters);
    std::printf("; reading order %.1f ms (%.2f times)", totalReading * 1e3,
                totalReading / totalSeconds);
    if (havePdftotext) {
        std::printf("; pdftotext -layout %.1f ms: %.0f pages/s", totalTheirs * 1e3,
                    totalPages / totalTheirs);
    }
    if (haveMutool) {
        std::printf("; mutool draw -F txt %.1f ms: %.0f pages/s", totalMutool * 1e3,
                    totalPages / totalMutool);
    }
    std::printf(" (theirs with process start)\n");

    const auto dir = std::filesystem::temp_directory_path();
    struct Synthetic {
        const char* name;
        int lines, perLine;
        bool twoByte;
        int columns;
        bool turned;
    } synthetic[] = {
        {"ordinary page (50 lines x 60)", 50, 60, false, 1, false},
        {"same, two-byte font", 50, 60, true, 1, false},
        {"large page (2000 lines x 100)", 2000, 100, false, 1, false},
        {"same, two-byte font", 2000, 100, true, 1, false},
        {"same, flipped, in a form, turned lines", 2000, 100, false, 1, true},
        {"large page in two columns (2000 lines x 2 x 50)", 2000, 50, false, 2, false}};
    for (const Synthetic& s : synthetic) {
        const std::string path = (dir / "tessary-bench-page.pdf").string();
        std::ofstream(path, std::ios::binary)
            << SyntheticPage(s.lines, s.perLine, s.twoByte, s.columns, s.turned);
        // The best of several runs: a loaded machine only ever slows a run down.
        Result r = Extract(path, 1);
        Result reading = Extract(path, 1, TextOrder::Reading);
        for (int run = 1; run < (s.lines > 100 ? 5 : 50); ++run) {
            r.seconds = std::min(r.seconds, Extract(path, 1).seconds);
            reading.seconds =
                std::min(reading.seconds, Extract(path, 1, TextOrder::Reading).seconds);
        }
        const double shown = static_cast<double>(s.lines) * s.perLine * s.columns;
        std::printf("%s: %.2f ms, %.0f ns per shown character; reading order %.2f ms", s.name,
                    r.seconds * 1e3, r.seconds * 1e9 / shown, reading.seconds * 1e3);
        if (havePdftotext)
            std::printf("; pdftotext -layout %.2f ms", TimeCommand(pdftotext(path), 3) * 1e3);
        if (haveMutool)
            std::printf("; mutool draw -F txt %.2f ms", TimeCommand(mutool(path), 3) * 1e3);
        std::printf("\n");
        std::filesystem::remove(path);
    }
    return 0;
}
