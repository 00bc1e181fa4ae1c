// The text files one run has written, so that a later input whose text file
// is the same (x.pdf and x, or one file given twice) doesn't silently replace
// the text of an earlier one.
#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace tessary {

class WrittenOutputs {
  public:
    void Add(const std::string& input, const std::string& output);
    // The input whose text went to this output earlier in the run.
    std::optional<std::string> FindInputOf(const std::string& output) const;

  private:
    using FileId = std::pair<dev_t, ino_t>;
    std::map<std::string, std::string> byPath_;
    std::map<FileId, std::string> byId_;
};

}  // namespace tessary
