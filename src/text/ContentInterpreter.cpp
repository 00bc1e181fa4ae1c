#include "text/ContentInterpreter.h"

#include <algorithm>

#include "pdf/PdfParser.h"

namespace tessary {

void ContentInterpreter::RunContent(std::string_view data) {
    PdfParser parser;
    parser.AttachBuffer(nullptr, data);
    Operands own;
    const Operands* outer = operands;
    operands = &own;
    for (;;) {
        ObjectHandle obj = parser.ReadObject(0, 0);
        if (!obj || obj->type == PdfObjectType::EndOfData) {
            break;
        }
        if (obj->type == PdfObjectType::Keyword) {
            DispatchOperator(static_cast<const PdfKeyword*>(obj.get())->text);
            continue;
        }
        own.slots[own.next] = std::move(obj);
        own.next = (own.next + 1) % kKeptOperands;
        own.count = std::min(own.count + 1, kKeptOperands);
    }
    operands = outer;
}

const PdfObject* ContentInterpreter::GetOperand(std::size_t depth) const {
    if (!operands || depth >= operands->count) {
        return nullptr;
    }
    return operands->slots[(operands->next + kKeptOperands - 1 - depth) % kKeptOperands].get();
}

std::string ContentInterpreter::GetOperandString(std::size_t depth) const {
    return GetStringValue(GetOperand(depth));
}

double ContentInterpreter::GetOperandNumber(std::size_t depth) const {
    return GetRealValue(GetOperand(depth));
}

}  // namespace tessary
