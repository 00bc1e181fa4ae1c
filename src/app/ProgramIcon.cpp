#include "app/ProgramIcon.h"

// The resource lives in a static library, where nothing else would keep its
// registration alive at link time. Q_INIT_RESOURCE must be used outside any
// namespace.
static void InitializeIconResource() {
    Q_INIT_RESOURCE(tessary);
}

namespace tessary {

QIcon ProgramIcon() {
    InitializeIconResource();
    QIcon icon;
    icon.addFile(":/icons/tessary-32.png", QSize(32, 32));
    icon.addFile(":/icons/tessary-16.png", QSize(16, 16));
    return icon;
}

}  // namespace tessary
