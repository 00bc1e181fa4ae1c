// The resource dictionaries in use while content runs: the page's at the
// bottom, and above it the resources of each form running inside it. The
// names that operators give (fonts, colour spaces, external objects) resolve
// through the innermost one, so a form's /F1 need not be the page's.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pdf/PdfObject.h"

namespace tessary {

class PdfFont;
class PdfObjectStore;

class ResourceStack {
  public:
    explicit ResourceStack(PdfObjectStore& owner) : store(owner) {}

    // Enters the resources of a page or form, which must outlive their time on
    // the stack; absent ones (a form without /Resources) leave the resources
    // in use in force.
    void Push(const PdfDictionary* resources);
    void Pop();
    const PdfDictionary* GetCurrent() const { return stack.empty() ? nullptr : stack.back(); }

    // The entry `name` of the innermost resources' dictionary of a category
    // ("/Font", "/XObject", "/ColorSpace"), references followed, borrowed;
    // absent when there is none.
    const PdfObject* FindEntry(std::string_view category, std::string_view name) const;

    // The font that "Tf" names: nothing when the resources have no such entry;
    // an absent font when the entry is not a font dictionary. Each entry is
    // loaded once, however often it is named.
    std::optional<const PdfFont*> FindFont(const std::string& name);

  private:
    PdfObjectStore& store;
    std::vector<const PdfDictionary*> stack;
    std::map<std::pair<const PdfDictionary*, std::string>, const PdfFont*, std::less<>> fonts;
};

}  // namespace tessary
