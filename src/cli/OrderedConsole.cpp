#include "cli/OrderedConsole.h"

namespace tessary {

OrderedConsole::OrderedConsole(std::FILE* stream, std::size_t fileCount, bool showProgress)
    : stream_(stream), progress_(stream, showProgress), waiting_(fileCount), finished_(fileCount) {}

void OrderedConsole::Write(const std::string& text) {
    progress_.Clear();
    std::fwrite(text.data(), 1, text.size(), stream_);
    std::fflush(stream_);
}

void OrderedConsole::WriteLine(std::size_t file, const std::string& line) {
    std::lock_guard lock(mutex_);
    if (file == first_) {
        Write(line + "\n");
    } else if (file < waiting_.size()) {
        waiting_[file] += line + "\n";
    }
}

void OrderedConsole::ShowProgress(std::size_t file, const std::string& text) {
    std::lock_guard lock(mutex_);
    if (file == first_) {
        progress_.Show(text);
    }
}

void OrderedConsole::ClearProgress() {
    std::lock_guard lock(mutex_);
    progress_.Clear();
}

void OrderedConsole::WaitForTurn(std::size_t file) {
    std::unique_lock lock(mutex_);
    turn_.wait(lock, [&] { return first_ >= file; });
}

void OrderedConsole::Finish(std::size_t file) {
    std::lock_guard lock(mutex_);
    if (file >= finished_.size()) {
        return;
    }
    finished_[file] = true;
    if (file == first_) {
        progress_.Clear();
    }
    // The files that waited for this one write what they have.
    while (first_ < finished_.size() && finished_[first_]) {
        ++first_;
        if (first_ < waiting_.size() && !waiting_[first_].empty()) {
            Write(waiting_[first_]);
            std::string().swap(waiting_[first_]);
        }
    }
    turn_.notify_all();
}

}  // namespace tessary
