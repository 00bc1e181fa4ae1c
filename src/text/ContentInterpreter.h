// Reads content as a flat sequence of PDF objects: operands are kept, every
// operator is handed to DispatchOperator. An operator may run another content
// buffer (a form) from inside DispatchOperator: that run has a parser and
// operands of its own, and the outer run's are in force again when it returns.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "pdf/PdfObject.h"

namespace tessary {

class ContentInterpreter {
  public:
    ContentInterpreter() = default;
    ContentInterpreter(const ContentInterpreter&) = delete;
    ContentInterpreter& operator=(const ContentInterpreter&) = delete;

    // Runs one content buffer, which must stay alive while it runs. A syntax
    // failure ends the run silently; what ran before it stands.
    void RunContent(std::string_view data);

    // Operands of the innermost run by depth from the top: depth 0 is the one
    // read last. Operands are never popped: an operator that reads more
    // operands than were written in front of it reads those of earlier
    // operators (of the same run only).
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
    // The last kKeptOperands operands, in a ring: the newest is at
    // (next + kKeptOperands - 1) % kKeptOperands.
    struct Operands {
        std::array<ObjectHandle, kKeptOperands> slots;
        std::size_t next = 0;
        std::size_t count = 0;
    };
    const Operands* operands = nullptr;  // the innermost run's
};

}  // namespace tessary
