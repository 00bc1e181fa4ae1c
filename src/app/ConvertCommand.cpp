#include "app/ConvertCommand.h"

#include <QFile>
#include <QString>

#include "app/BusyCursor.h"
#include "app/PasswordPrompt.h"
#include "app/UserInterface.h"
#include "platform/SystemCodePage.h"
#include "text/TextFileConversion.h"

namespace tessary {

void ConvertPdfFile(QWidget* owner) {
    const QString path = AskOpenFileName(owner, kPdfFileFilter, kPdfSuffix);
    if (path.isEmpty()) {
        return;
    }
    const QByteArray input = QFile::encodeName(path);
    const std::string inputPath(input.constData(), static_cast<std::size_t>(input.size()));

    BusyCursor busy;
    ConversionOptions options;
    options.width = kDefaultLineWidth;
    options.codePage = GetSystemCodePage();
    // The core refuses an output that is the input itself (a PDF file named
    // *.txt) and removes a text file whose writing failed.
    const ConversionResult result =
        ConvertPdfFileToText(inputPath, TextFileNameFor(inputPath), options, PasswordPrompt, owner);
    busy.Release();

    const std::string message = ConversionMessage(result);
    ShowMessage(owner, QFile::decodeName(QByteArray::fromStdString(message)), kMainCaption);
}

}  // namespace tessary
