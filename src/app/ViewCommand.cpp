#include "app/ViewCommand.h"

#include <QFile>
#include <QString>

#include "app/BusyCursor.h"
#include "app/PasswordPrompt.h"
#include "app/UserInterface.h"
#include "app/ViewerWindow.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"

namespace tessary {

void ViewPdfFile(QWidget* owner) {
    const QString path = AskOpenFileName(owner, kPdfFileFilter, kPdfSuffix);
    if (!path.isEmpty()) {
        ViewPdfPath(owner, path);
    }
}

void ViewPdfPath(QWidget* owner, const QString& path) {
    const QByteArray input = QFile::encodeName(path);

    BusyCursor busy;
    PdfDocument document;
    const char* failure = nullptr;
    std::int32_t pageCount = 0;
    if (!document.Open(std::string(input.constData(), static_cast<std::size_t>(input.size())),
                       false, PasswordPrompt, owner)) {
        failure = "Could not parse the PDF file.";
    } else if (ObjectHandle catalog = document.GetStore()->GetCatalog(); !catalog) {
        failure = "Could not find catalog.";
    } else if (ObjectHandle pages = DictionaryOrEmpty(catalog.get()).GetValue("/Pages"); !pages) {
        failure = "Could not find pages.";
    } else {
        pageCount = DictionaryOrEmpty(pages.get()).GetValueInteger("/Count");
    }
    if (failure != nullptr) {
        busy.Release();
        ShowMessage(owner, failure, kMainCaption);
        return;
    }

    // The viewer lays out its first page while it is built, still under the
    // busy cursor; while it waits for the user the cursor is the normal one.
    ViewerWindow viewer(*document.GetStore(), pageCount, path, owner);
    busy.Release();
    viewer.exec();
}

}  // namespace tessary
