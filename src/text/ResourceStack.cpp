#include "text/ResourceStack.h"

#include "pdf/PdfObjectStore.h"

namespace tessary {

void ResourceStack::Push(const PdfDictionary* resources) {
    stack.push_back(resources ? resources : GetCurrent());
}

void ResourceStack::Pop() {
    if (!stack.empty()) {
        stack.pop_back();
    }
}

const PdfObject* ResourceStack::FindEntry(std::string_view category, std::string_view name) const {
    const PdfObject* entries = ResolveBorrowed(DictionaryOrEmpty(GetCurrent()).PeekValue(category));
    return ResolveBorrowed(DictionaryOrEmpty(entries).PeekValue(name));
}

std::optional<const PdfFont*> ResourceStack::FindFont(const std::string& name) {
    const PdfDictionary* resources = GetCurrent();
    if (auto found = fonts.find(std::pair(resources, name)); found != fonts.end()) {
        return found->second;
    }
    const PdfObject* entries = ResolveBorrowed(DictionaryOrEmpty(resources).PeekValue("/Font"));
    const PdfDictionary& fontDict = DictionaryOrEmpty(entries);
    if (!fontDict.HasKey(name)) {
        return std::nullopt;
    }
    const PdfFont* font = store.GetFont(AsDictionary(ResolveBorrowed(fontDict.PeekValue(name))));
    fonts.emplace(std::pair(resources, name), font);
    return font;
}

}  // namespace tessary
