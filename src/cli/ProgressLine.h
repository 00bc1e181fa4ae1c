// A status line on a terminal, rewritten in place ("\r") and wiped when done.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace tessary {

class ProgressLine {
  public:
    // A disabled line shows nothing.
    ProgressLine(std::FILE* stream, bool enabled) : stream_(stream), enabled_(enabled) {}
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(const std::string& text);
    // Wipes what is shown, so the next output starts on a clean line.
    void Clear();

  private:
    std::FILE* stream_;
    bool enabled_;
    std::size_t shownLength_ = 0;
};

}  // namespace tessary
