#include "app/SaveTextDialog.h"

#include <QButtonGroup>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "app/ControlIds.h"
#include "app/DialogUnits.h"
#include "app/NumberBox.h"
#include "app/UserInterface.h"
#include "text/TextFileConversion.h"

namespace tessary {

namespace {

const char* const kTextFileFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|";

}  // namespace

SaveTextDialog::SaveTextDialog(const QString& pdf, std::int32_t count, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      pdfPath(pdf),
      pageCount(std::max(count, 0)),
      to(static_cast<std::uint32_t>(pageCount)) {
    setWindowTitle("Save Text File");
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(250, 154));
    destination = QFile::decodeName(
        QByteArray::fromStdString(TextFileNameFor(QFile::encodeName(pdfPath).toStdString())));

    auto place = [&](QWidget* control, int id, int x, int y, int width, int height) {
        if (id != 0) {
            control->setObjectName(ControlName(id));
        }
        control->setGeometry(units.ToPixels(x, y, width, height));
    };
    auto* ok = new QPushButton("OK", this);
    place(ok, kOkButton, 132, 133, 50, 14);
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    place(cancel, kCancelButton, 193, 133, 50, 14);

    scopeGroup = new QButtonGroup(this);
    auto radio = [&](QButtonGroup* group, const char* text, int id, int x, int y, int width) {
        auto* button = new QRadioButton(text, this);
        place(button, id, x, y, width, 10);
        button->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
        group->addButton(button, id);
        return button;
    };
    radio(scopeGroup, "Save whole document", kSaveWholeDocumentButton, 7, 7, 85)->setChecked(true);
    radio(scopeGroup, "Save current page", kSaveCurrentPageButton, 7, 22, 73);
    radio(scopeGroup, "Save pages in range:", kSavePageRangeButton, 7, 37, 82);
    fromBox = CreateNumberBox(this);
    place(fromBox, kRangeFromBox, 95, 36, 40, 14);
    auto* toLabel = new QLabel("To", this);
    place(toLabel, 0, 136, 39, 9, 8);
    toBox = CreateNumberBox(this);
    place(toBox, kRangeToBox, 148, 36, 40, 14);
    CentreLabelOn(*toLabel, *toBox);

    modeGroup = new QButtonGroup(this);
    radio(modeGroup, "Overwrite file", kOverwriteFileButton, 7, 61, 56)->setChecked(true);
    radio(modeGroup, "Append to file", kAppendToFileButton, 7, 76, 58);
    place(new QLabel("Destination File:", this), 0, 7, 96, 52, 8);
    destinationBox = new QLineEdit(this);
    place(destinationBox, kDestinationBox, 7, 110, 184, 14);
    auto* browse = new QPushButton("Browse...", this);
    place(browse, kBrowseButton, 193, 110, 50, 14);

    WriteNumberBox(*fromBox, from);
    WriteNumberBox(*toBox, to);
    destinationBox->setText(destination);
    fromBox->setEnabled(false);
    toBox->setEnabled(false);

    connect(ok, &QPushButton::clicked, this, &SaveTextDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &SaveTextDialog::reject);
    connect(browse, &QPushButton::clicked, this, &SaveTextDialog::Browse);
    connect(scopeGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (id == kSavePageRangeButton) {
            fromBox->setEnabled(checked);
            toBox->setEnabled(checked);
        }
    });
}

void SaveTextDialog::Browse() {
    const QString chosen = AskSaveFileName(this, kTextFileFilter, "txt");
    if (!chosen.isEmpty()) {
        destinationBox->setText(chosen);
    }
}

void SaveTextDialog::accept() {
    destination = destinationBox->text();
    if (!ReadNumberBox(*fromBox, from) || !ReadNumberBox(*toBox, to)) {
        return;
    }
    writeMode =
        modeGroup->checkedId() == kAppendToFileButton ? WriteMode::Append : WriteMode::Overwrite;
    saveScope =
        static_cast<SaveScope>(std::max<int>(scopeGroup->checkedId(), kSaveWholeDocumentButton) -
                               kSaveWholeDocumentButton);
    if (!CheckRange()) {
        return;
    }
    // Writing into the open document would destroy what the viewer reads from.
    const std::string target = QFile::encodeName(destination).toStdString();
    const std::string source = QFile::encodeName(pdfPath).toStdString();
    if (IsSameFile(target, source)) {
        ShowMessage(this, "The text file would replace the PDF file itself: " + destination,
                    ApplicationName());
        destinationBox->setFocus(Qt::OtherFocusReason);
        destinationBox->selectAll();
        return;
    }
    QDialog::accept();
}

// The pages of a range must exist: a from of 0 or a to beyond the page count
// is refused. A from greater than to is allowed and writes no page.
bool SaveTextDialog::CheckRange() {
    if (saveScope != SaveScope::PageRange) {
        return true;
    }
    QLineEdit* wrong = nullptr;
    if (from < 1) {
        wrong = fromBox;
    } else if (to > static_cast<std::uint32_t>(pageCount)) {
        wrong = toBox;
    }
    if (!wrong) {
        return true;
    }
    ShowMessage(this, "Page number out of range.", ApplicationName());
    wrong->setFocus(Qt::OtherFocusReason);
    wrong->selectAll();
    return false;
}

}  // namespace tessary
