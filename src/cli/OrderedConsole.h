// Standard error of a batch of conversions that may run at once, kept as if
// they ran one after the other: each file's lines come out whole and in the
// order of the files. The first unfinished file writes at once; the lines of
// a later file wait until every file before it is finished.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "cli/ProgressLine.h"

namespace tessary {

class OrderedConsole {
  public:
    // Files are numbered 0 ... fileCount - 1. A progress line is shown only
    // when showProgress is set.
    OrderedConsole(std::FILE* stream, std::size_t fileCount, bool showProgress);
    OrderedConsole(const OrderedConsole&) = delete;
    OrderedConsole& operator=(const OrderedConsole&) = delete;

    // One line of a file's messages, without its line end.
    void WriteLine(std::size_t file, const std::string& line);
    // A file's progress, shown while it is the first unfinished file.
    void ShowProgress(std::size_t file, const std::string& text);
    // Wipes the progress line, so the terminal can be used for something else.
    void ClearProgress();
    // Waits until every file before this one is finished: from then on the
    // file has the console to itself, as for a question on the terminal.
    void WaitForTurn(std::size_t file);
    // The file wrote its last line.
    void Finish(std::size_t file);

  private:
    void Write(const std::string& text);  // mutex_ held

    std::mutex mutex_;
    std::condition_variable turn_;
    std::FILE* stream_;
    ProgressLine progress_;
    std::vector<std::string> waiting_;  // lines of files after the first unfinished one
    std::vector<bool> finished_;
    std::size_t first_ = 0;  // the first unfinished file
};

}  // namespace tessary
