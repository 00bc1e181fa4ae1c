// The "Save Text File" dialog: which pages the viewer's Save writes, whether
// it overwrites or appends, and where.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "app/PageTextFile.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace tessary {

enum class SaveScope { WholeDocument = 0, CurrentPage = 1, PageRange = 2 };

class SaveTextDialog : public QDialog {
    Q_OBJECT

  public:
    // The destination starts as the text file beside the PDF file, the range
    // as 1 to the page count.
    SaveTextDialog(const QString& pdfPath, std::int32_t pageCount, QWidget* owner);

    // The values read when the dialog was accepted.
    const QString& GetDestination() const { return destination; }
    std::uint32_t GetFrom() const { return from; }
    std::uint32_t GetTo() const { return to; }
    WriteMode GetWriteMode() const { return writeMode; }
    SaveScope GetSaveScope() const { return saveScope; }

    // "OK": reads the values, and closes the dialog only when they are all
    // valid; otherwise tells why and stays open.
    void accept() override;

  private:
    void Browse();
    bool CheckRange();

    QString pdfPath;
    std::int32_t pageCount;

    QString destination;
    std::uint32_t from = 1;
    std::uint32_t to;
    WriteMode writeMode = WriteMode::Overwrite;
    SaveScope saveScope = SaveScope::WholeDocument;

    QButtonGroup* scopeGroup;
    QButtonGroup* modeGroup;
    QLineEdit* fromBox;
    QLineEdit* toBox;
    QLineEdit* destinationBox;
};

}  // namespace tessary
