#include "pdf/SecurityHandler.h"

namespace tessary {

// Placeholder until the standard handler lands: no password is accepted.
bool CheckPassword(PdfObjectStore&, const std::string&, FileKey&) {
    return false;
}

}  // namespace tessary
