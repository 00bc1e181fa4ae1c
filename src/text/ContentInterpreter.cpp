#include "text/ContentInterpreter.h"

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
        own.push_back(std::move(obj));
        if (own.size() > kKeptOperands) {
            own.pop_front();
        }
    }
    operands = outer;
}

const PdfObject* ContentInterpreter::GetOperand(std::size_t depth) const {
    if (!operands || depth >= operands->size()) {
        return nullptr;
    }
    return (*operands)[operands->size() - 1 - depth].get();
}

std::string ContentInterpreter::GetOperandString(std::size_t depth) const {
    return GetStringValue(GetOperand(depth));
}

double ContentInterpreter::GetOperandNumber(std::size_t depth) const {
    return GetRealValue(GetOperand(depth));
}

}  // namespace tessary
