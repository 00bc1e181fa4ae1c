// Reads a page's content as a flat sequence of PDF objects: operands are kept,
// every operator is handed to DispatchOperator. Nothing in the content starts
// another buffer; forms, images and the like pass through without effect.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

#include "pdf/PdfObject.h"
#include "pdf/PdfParser.h"

namespace tessary {

class ContentInterpreter {
  public:
    ContentInterpreter() = default;
    ContentInterpreter(const ContentInterpreter&) = delete;
    ContentInterpreter& operator=(const ContentInterpreter&) = delete;

    // Runs one content buffer, which must stay alive while it runs. A syntax
    // failure ends the run silently; what ran before it stands.
    void RunContent(std::string_view data);

    // Operands by depth from the top: depth 0 is the one read last. Operands
    // are never popped: an operator that reads more operands than were written
    // in front of it reads those of earlier operators.
    const PdfObject* GetOperand(std::size_t depth) const;
    std::string GetOperandString(std::size_t depth) const;
    double GetOperandNumber(std::size_t depth) const;

    // No operator reads deeper than this, so older operands can never be seen
    // again: only this many are kept, whatever the length of the content.
    static constexpr std::size_t kKeptOperands = 8;

  protected:
    ~ContentInterpreter() = default;
    virtual void DispatchOperator(std::string_view op) = 0;

  private:
    std::deque<ObjectHandle> operands;  // oldest first
    PdfParser parser;
};

}  // namespace tessary
