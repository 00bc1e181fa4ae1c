#include "cli/ConvertCommand.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "cli/CliLimits.h"
#include "cli/ConsolePrompt.h"
#include "cli/InterruptCleanup.h"
#include "cli/OrderedConsole.h"
#include "cli/OutputPlan.h"
#include "cli/StandardInput.h"
#include "text/TextFileConversion.h"

namespace tessary {

namespace {

// A text file that an interrupt removes while it is incomplete.
class InterruptibleFileOutput final : public TextOutput {
  public:
    InterruptibleFileOutput(const std::string& path, int slot)
        : path_(path), slot_(slot), file_(path) {}
    ~InterruptibleFileOutput() override { ClearPartialOutput(slot_); }

    bool Open() override {
        return CreatePartialOutput(slot_, path_.c_str(), [this] { return file_.Open(); });
    }
    bool Write(std::string_view bytes) override { return file_.Write(bytes); }
    bool Close() override {
        const bool closed = file_.Close();
        if (closed) {
            ClearPartialOutput(slot_);
        }
        return closed;
    }
    void Discard() override {
        file_.Discard();
        ClearPartialOutput(slot_);
    }

  private:
    std::string path_;
    int slot_;
    FileTextOutput file_;
};

// For each file with a text file: once it is finished, the input whose text
// that text file holds (this file's, or an earlier one's), if any.
class TextFileHolders {
  public:
    explicit TextFileHolders(std::size_t fileCount)
        : holders_(fileCount), finished_(fileCount, false) {}

    void Set(std::size_t file, std::optional<std::size_t> holder) {
        std::lock_guard lock(mutex_);
        holders_[file] = holder;
        finished_[file] = true;
        changed_.notify_all();
    }
    // Waits until the file is finished.
    std::optional<std::size_t> WaitFor(std::size_t file) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return finished_[file]; });
        return holders_[file];
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::optional<std::size_t>> holders_;
    std::vector<bool> finished_;
};

// The files of a run, handed out in their order to the threads that convert
// them. Files go out strictly in order, so a file that waits for an earlier
// one (for its turn on the terminal, or for a shared text file) waits for one
// that is already being converted.
class Batch {
  public:
    Batch(const CliOptions& options, std::vector<PlannedOutput> plan, OrderedConsole& console)
        : options_(options),
          plan_(std::move(plan)),
          console_(console),
          holders_(plan_.size()),
          terminalInput_(isatty(STDIN_FILENO) != 0) {}

    // Converts files until none is left; slot is the caller's own number
    // among the threads (0 ... kMaxJobs - 1).
    void Work(int slot) {
        for (std::size_t file; (file = next_.fetch_add(1)) < plan_.size();) {
            if (!Convert(file, slot)) {
                failed_.store(true);
            }
            console_.Finish(file);
        }
    }
    bool Failed() const { return failed_.load(); }

  private:
    bool Convert(std::size_t file, int slot);
    bool ConvertToFile(const std::string& input, std::size_t file, int slot,
                       const ConversionOptions& conversion, ConsolePromptState& prompt);
    ConsolePromptState MakePrompt(std::size_t file);
    ConversionOptions MakeConversionOptions(std::size_t file);
    void Report(std::size_t file, const ConversionResult& result, const ConsolePromptState& prompt);

    const CliOptions& options_;
    const std::vector<PlannedOutput> plan_;
    OrderedConsole& console_;
    TextFileHolders holders_;
    const bool terminalInput_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> failed_{false};
};

ConsolePromptState Batch::MakePrompt(std::size_t file) {
    ConsolePromptState prompt;
    prompt.programName = options_.programName;
    prompt.file = plan_[file].name;
    prompt.console = &console_;
    prompt.fileIndex = file;
    if (options_.password) {
        prompt.passwordSource = PasswordSource::Given;
        prompt.password = *options_.password;
    } else if (terminalInput_) {
        prompt.passwordSource = PasswordSource::Terminal;
    }
    return prompt;
}

ConversionOptions Batch::MakeConversionOptions(std::size_t file) {
    ConversionOptions conversion = options_.conversion;
    conversion.progress = [this, file](std::int32_t page, std::int32_t count) {
        const std::int64_t first = std::max(options_.conversion.firstPage, 1);
        const std::int64_t last = std::min(options_.conversion.lastPage, count);
        if (last - first + 1 > kProgressMinimumPages) {
            console_.ShowProgress(file, plan_[file].name + ": page " + std::to_string(page) +
                                            " of " + std::to_string(count));
        }
    };
    return conversion;
}

bool Batch::Convert(std::size_t file, int slot) {
    const PlannedOutput& entry = plan_[file];
    ConsolePromptState prompt = MakePrompt(file);
    const ConversionOptions conversion = MakeConversionOptions(file);

    std::optional<StandardInput> standardInput;
    std::string input = entry.input;
    if (input == kStandardStream) {
        standardInput.emplace(STDIN_FILENO);
        input = standardInput->GetPath();
        if (input.empty()) {
            prompt.ReportError(standardInput->GetError());
            if (!entry.toStandardOutput) {
                holders_.Set(file, std::nullopt);
            }
            return false;
        }
    }
    if (!entry.toStandardOutput) {
        return ConvertToFile(input, file, slot, conversion, prompt);
    }
    StreamTextOutput output(stdout);
    ConversionResult result = ConvertPdfToText(input, output, conversion, ConsolePrompt, &prompt);
    result.outputPath = kStandardOutputName;
    Report(file, result, prompt);
    return result.status == ConversionStatus::Converted;
}

bool Batch::ConvertToFile(const std::string& input, std::size_t file, int slot,
                          const ConversionOptions& conversion, ConsolePromptState& prompt) {
    const PlannedOutput& entry = plan_[file];
    // An earlier input that wrote this text file keeps it, as it would if the
    // two were converted one after the other.
    const std::optional<std::size_t> holder =
        entry.sharesWith ? holders_.WaitFor(*entry.sharesWith) : std::nullopt;
    if (holder) {
        holders_.Set(file, holder);
        prompt.ReportError("The text file " + entry.path + " already holds the text of " +
                           plan_[*holder].name);
        return false;
    }
    if (entry.replacesInput) {
        holders_.Set(file, std::nullopt);
        prompt.ReportError("The text file would replace another PDF file of this run: " +
                           entry.path);
        return false;
    }
    InterruptibleFileOutput output(entry.path, slot);
    const ConversionResult result =
        ConvertPdfFileToText(input, entry.path, output, conversion, ConsolePrompt, &prompt);
    const bool converted = result.status == ConversionStatus::Converted;
    holders_.Set(file, converted ? std::optional(file) : std::nullopt);
    Report(file, result, prompt);
    return converted;
}

void Batch::Report(std::size_t file, const ConversionResult& result,
                   const ConsolePromptState& prompt) {
    if (result.status != ConversionStatus::Converted) {
        prompt.ReportError(DetailedConversionMessage(result));
    } else if (!options_.quiet) {
        console_.WriteLine(file, plan_[file].name + ": " + ConversionMessage(result));
    }
}

// The threads to run: --jobs, 0 meaning one per core, never more than files.
int CountJobs(std::int32_t jobs, std::size_t files) {
    std::int64_t count = jobs;
    if (count == 0) {
        count = std::thread::hardware_concurrency();
    }
    count = std::clamp<std::int64_t>(count, 1, kMaxJobs);
    return static_cast<int>(std::min<std::int64_t>(count, static_cast<std::int64_t>(files)));
}

}  // namespace

int RunConversions(const CliOptions& options) {
    InstallInterruptCleanup();
    std::vector<PlannedOutput> plan = PlanOutputs(options);
    // Progress would mix with page text on a terminal that shows both.
    const bool textOnTerminal =
        std::any_of(plan.begin(), plan.end(),
                    [](const auto& entry) { return entry.toStandardOutput; }) &&
        isatty(STDOUT_FILENO);
    OrderedConsole console(stderr, plan.size(),
                           !options.quiet && isatty(STDERR_FILENO) && !textOnTerminal);
    const int jobs = CountJobs(options.jobs, plan.size());
    Batch batch(options, std::move(plan), console);

    std::vector<std::thread> threads;
    for (int slot = 1; slot < jobs; ++slot) {
        try {
            threads.emplace_back([&batch, slot] { batch.Work(slot); });
        } catch (const std::system_error&) {
            break;  // the threads started so far share the work
        }
    }
    batch.Work(0);
    for (std::thread& thread : threads) {
        thread.join();
    }
    return batch.Failed() ? kExitFailed : kExitConverted;
}

}  // namespace tessary
