#include "cli/ConvertCommand.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "cli/ConsolePrompt.h"
#include "cli/InterruptCleanup.h"
#include "cli/ProgressLine.h"
#include "cli/WrittenOutputs.h"
#include "text/TextFileConversion.h"

namespace tessary {

namespace {

// A text file that an interrupt removes while it is incomplete.
class InterruptibleFileOutput final : public TextOutput {
  public:
    explicit InterruptibleFileOutput(const std::string& path) : path_(path), file_(path) {}
    ~InterruptibleFileOutput() override { SetPartialOutput(nullptr); }

    bool Open() override {
        const bool opened = file_.Open();
        if (opened) {
            SetPartialOutput(path_.c_str());
        }
        return opened;
    }
    bool Write(std::string_view bytes) override { return file_.Write(bytes); }
    bool Close() override {
        const bool closed = file_.Close();
        if (closed) {
            SetPartialOutput(nullptr);
        }
        return closed;
    }
    void Discard() override {
        file_.Discard();
        SetPartialOutput(nullptr);
    }

  private:
    std::string path_;
    FileTextOutput file_;
};

class FileConverter {
  public:
    FileConverter(const CliOptions& options, ProgressLine& progress)
        : options_(options), progress_(progress) {}

    // true when the file was converted.
    bool Convert(const std::string& input);

  private:
    ConversionResult ConvertToFile(const std::string& input, const std::string& output,
                                   const ConversionOptions& conversion, ConsolePromptState& prompt);
    ConversionOptions MakeConversionOptions(const std::string& input);

    const CliOptions& options_;
    ProgressLine& progress_;
    WrittenOutputs written_;
};

ConversionOptions FileConverter::MakeConversionOptions(const std::string& input) {
    ConversionOptions conversion;
    conversion.width = options_.width;
    conversion.firstPage = options_.firstPage;
    conversion.lastPage = options_.lastPage;
    conversion.codePage = options_.codePage;
    conversion.order = options_.order;
    conversion.progress = [this, &input](std::int32_t page, std::int32_t count) {
        const std::int64_t first = std::max(options_.firstPage, 1);
        const std::int64_t last = std::min(options_.lastPage, count);
        if (last - first + 1 > kProgressMinimumPages) {
            progress_.Show(input + ": page " + std::to_string(page) + " of " +
                           std::to_string(count));
        }
    };
    return conversion;
}

ConversionResult FileConverter::ConvertToFile(const std::string& input, const std::string& output,
                                              const ConversionOptions& conversion,
                                              ConsolePromptState& prompt) {
    InterruptibleFileOutput file(output);
    return ConvertPdfFileToText(input, output, file, conversion, ConsolePrompt, &prompt);
}

bool FileConverter::Convert(const std::string& input) {
    ConsolePromptState prompt;
    prompt.programName = options_.programName;
    prompt.file = input;
    prompt.progress = &progress_;
    if (options_.password) {
        prompt.passwordSource = PasswordSource::Given;
        prompt.password = *options_.password;
    } else if (isatty(STDIN_FILENO)) {
        prompt.passwordSource = PasswordSource::Terminal;
    }
    const ConversionOptions conversion = MakeConversionOptions(input);

    ConversionResult result;
    const bool toStandardOutput = options_.output && *options_.output == "-";
    if (toStandardOutput) {
        StreamTextOutput output(stdout);
        result = ConvertPdfToText(input, output, conversion, ConsolePrompt, &prompt);
        result.outputPath = kStandardOutputName;
    } else {
        const std::string output = options_.output.value_or(TextFileNameFor(input));
        if (std::optional<std::string> earlier = written_.FindInputOf(output)) {
            ReportFileError(options_.programName, input,
                            "The text file " + output + " already holds the text of " + *earlier);
            return false;
        }
        result = ConvertToFile(input, output, conversion, prompt);
        if (result.status == ConversionStatus::Converted) {
            written_.Add(input, output);
        }
    }
    progress_.Clear();

    const std::string message = ConversionMessage(result);
    if (result.status != ConversionStatus::Converted) {
        ReportFileError(options_.programName, input, message);
        return false;
    }
    if (!options_.quiet) {
        const std::string line = input + ": " + message + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
    return true;
}

}  // namespace

int RunConversions(const CliOptions& options) {
    InstallInterruptCleanup();
    // Progress would mix with page text on a terminal that shows both.
    const bool textOnTerminal = options.output == "-" && isatty(STDOUT_FILENO);
    ProgressLine progress(stderr, !options.quiet && isatty(STDERR_FILENO) && !textOnTerminal);
    FileConverter converter(options, progress);
    int status = kExitConverted;
    for (const std::string& input : options.inputs) {
        if (!converter.Convert(input)) {
            status = kExitFailed;
        }
    }
    return status;
}

}  // namespace tessary
