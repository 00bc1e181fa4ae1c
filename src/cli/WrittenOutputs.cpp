#include "cli/WrittenOutputs.h"

#include <sys/stat.h>

namespace tessary {

namespace {

bool GetFileId(const std::string& path, std::pair<dev_t, ino_t>& id) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        return false;
    }
    id = {info.st_dev, info.st_ino};
    return true;
}

}  // namespace

void WrittenOutputs::Add(const std::string& input, const std::string& output) {
    byPath_.emplace(output, input);
    FileId id;
    if (GetFileId(output, id)) {
        byId_.emplace(id, input);
    }
}

std::optional<std::string> WrittenOutputs::FindInputOf(const std::string& output) const {
    if (auto found = byPath_.find(output); found != byPath_.end()) {
        return found->second;
    }
    FileId id;
    if (GetFileId(output, id)) {
        if (auto found = byId_.find(id); found != byId_.end()) {
            return found->second;
        }
    }
    return std::nullopt;
}

}  // namespace tessary
