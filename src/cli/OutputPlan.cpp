#include "cli/OutputPlan.h"

#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <memory>

#include "text/TextFileConversion.h"

namespace tessary {

namespace {

// The same key for two paths of one file: its device and inode when it
// exists, otherwise the full path with every link and ".." of its folders
// resolved.
std::string FileKey(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0) {
        return "inode " + std::to_string(info.st_dev) + " " + std::to_string(info.st_ino);
    }
    // A file not made yet: its folder resolved, and its name.
    const std::size_t slash = path.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::unique_ptr<char, void (*)(void*)> real(realpath(folder.c_str(), nullptr),
                                                      &std::free);
    if (!real) {
        return "path " + path;
    }
    return "path " + std::string(real.get()) + "/" +
           (slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace

std::vector<PlannedOutput> PlanOutputs(const CliOptions& options) {
    std::vector<PlannedOutput> plan;
    std::map<std::string, std::size_t> inputKeys;
    std::vector<std::string> ownKeys;
    for (const std::string& input : options.inputs) {
        PlannedOutput entry;
        entry.input = input;
        const bool standardInput = input == kStandardStream;
        entry.name = standardInput ? kStandardInputName : input;
        if (options.output) {
            entry.toStandardOutput = *options.output == kStandardStream;
            entry.path = entry.toStandardOutput ? "" : *options.output;
        } else {
            entry.toStandardOutput = standardInput;
            entry.path = standardInput ? "" : TextFileNameFor(input);
        }
        ownKeys.push_back(standardInput ? "" : FileKey(input));
        if (!standardInput) {
            inputKeys.emplace(ownKeys.back(), plan.size());
        }
        plan.push_back(std::move(entry));
    }
    std::map<std::string, std::size_t> lastWriter;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        PlannedOutput& entry = plan[i];
        if (entry.toStandardOutput) {
            continue;
        }
        const std::string key = FileKey(entry.path);
        if (auto found = lastWriter.find(key); found != lastWriter.end()) {
            entry.sharesWith = found->second;
        }
        lastWriter[key] = i;
        // Its own input is the core's to refuse.
        if (auto found = inputKeys.find(key); found != inputKeys.end() && key != ownKeys[i]) {
            entry.replacesInput = found->second;
        }
    }
    return plan;
}

}  // namespace tessary
