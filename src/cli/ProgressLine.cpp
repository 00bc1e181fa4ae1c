#include "cli/ProgressLine.h"

namespace tessary {

void ProgressLine::Show(const std::string& text) {
    if (!enabled_) {
        return;
    }
    std::string line = "\r" + text;
    if (text.size() < shownLength_) {
        line.append(shownLength_ - text.size(), ' ');  // cover a longer previous text
    }
    std::fwrite(line.data(), 1, line.size(), stream_);
    std::fflush(stream_);
    shownLength_ = text.size();
}

void ProgressLine::Clear() {
    if (shownLength_ == 0) {
        return;
    }
    const std::string blank = "\r" + std::string(shownLength_, ' ') + "\r";
    std::fwrite(blank.data(), 1, blank.size(), stream_);
    std::fflush(stream_);
    shownLength_ = 0;
}

}  // namespace tessary
