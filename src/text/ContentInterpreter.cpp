#include "text/ContentInterpreter.h"

namespace tessary {

void ContentInterpreter::RunContent(std::string_view data) {
    parser.AttachBuffer(nullptr, data);
    for (;;) {
        ObjectHandle obj = parser.ReadObject(0, 0);
        if (!obj || obj->type == PdfObjectType::EndOfData) {
            return;
        }
        if (obj->type == PdfObjectType::Keyword) {
            DispatchOperator(static_cast<const PdfKeyword*>(obj.get())->text);
            continue;
        }
        operands.push_back(std::move(obj));
        if (operands.size() > kKeptOperands) {
            operands.pop_front();
        }
    }
}

const PdfObject* ContentInterpreter::GetOperand(std::size_t depth) const {
    return depth < operands.size() ? operands[operands.size() - 1 - depth].get() : nullptr;
}

std::string ContentInterpreter::GetOperandString(std::size_t depth) const {
    return GetStringValue(GetOperand(depth));
}

double ContentInterpreter::GetOperandNumber(std::size_t depth) const {
    return GetRealValue(GetOperand(depth));
}

}  // namespace tessary
