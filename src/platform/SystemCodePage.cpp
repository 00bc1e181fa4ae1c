#include "platform/SystemCodePage.h"

#include <langinfo.h>
#include <locale.h>

namespace tessary {

std::optional<CodePage> CodePageForLocale(const std::string& localeName) {
    // A locale object of its own rather than setlocale: the same answer
    // without changing the character handling of the whole process under
    // other code (and without setlocale's lack of thread safety).
    locale_t locale = newlocale(LC_CTYPE_MASK, localeName.c_str(), static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) {
        return std::nullopt;
    }
    CodePage codePage = CodePageForCharset(nl_langinfo_l(CODESET, locale));
    freelocale(locale);
    return codePage;
}

const CodePage& GetSystemCodePage() {
    static const CodePage systemCodePage = CodePageForLocale("").value_or(CodePage::Ascii());
    return systemCodePage;
}

}  // namespace tessary
