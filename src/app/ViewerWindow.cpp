#include "app/ViewerWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>
#include <vector>

#include "app/BusyCursor.h"
#include "app/ControlIds.h"
#include "app/DialogUnits.h"
#include "app/NumberBox.h"
#include "app/PageTextEdit.h"
#include "app/SaveTextDialog.h"
#include "app/UserInterface.h"
#include "pdf/PdfObjectStore.h"
#include "text/PageText.h"
#include "text/TextFileConversion.h"
#include "text/TextLine.h"

namespace tessary {

namespace {

QFont TextBoxFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(16);
    return font;
}

}  // namespace

ViewerWindow::ViewerWindow(PdfObjectStore& documentStore, std::int32_t count,
                           const QString& pdfPath, QWidget* owner, const CodePage& outputCodePage)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      store(documentStore),
      pageCount(std::max(count, 0)),
      path(pdfPath),
      codePage(outputCodePage),
      lineWidthBox(static_cast<std::uint32_t>(kDefaultLineWidth)),
      pageTexts(pageCount) {
    CreateControls();
    totalLabel->setText(QString("Total pages: %1").arg(pageCount));
    setWindowTitle("View PDF Text: " + path);
    WriteBoxes();
    if (pageCount > 0) {
        UpdateNavigation(0);
        ShowPage(0);
    } else {
        // Nothing to show: only Copy and Close are of use.
        const std::initializer_list<QWidget*> pageControls = {
            pageNumberEdit, goButton,         prevButton, nextButton,
            lineWidthEdit,  regenerateButton, saveButton};
        for (QWidget* control : pageControls) {
            control->setEnabled(false);
        }
    }
}

ViewerWindow::~ViewerWindow() = default;

void ViewerWindow::CreateControls() {
    setFont(DialogFont());
    const DialogUnits units(font());
    resize(units.ToPixels(434, 285));

    auto place = [&units](QWidget* control, int id, int x, int y, int width, int height) {
        if (id != 0) {
            control->setObjectName(ControlName(id));
        }
        control->setGeometry(units.ToPixels(x, y, width, height));
    };
    auto button = [this](const char* text) {
        auto* created = new QPushButton(text, this);
        // The default button is chosen by the two number boxes alone.
        created->setAutoDefault(false);
        return created;
    };
    // Created in tab order.
    auto* pageLabel = new QLabel("Page #: ", this);
    place(pageLabel, 0, 7, 8, 33, 8);
    place(pageNumberEdit = CreateNumberBox(this), kPageNumberBox, 41, 7, 40, 14);
    place(goButton = button("Go"), kGoButton, 84, 7, 28, 14);
    place(prevButton = button("Prev Page"), kPrevPageButton, 313, 7, 50, 14);
    place(nextButton = button("Next Page"), kNextPageButton, 377, 7, 50, 14);
    place(closeButton = button("Close"), kCloseButton, 377, 264, 50, 14);
    place(totalLabel = new QLabel(this), kTotalPagesLabel, 122, 9, 105, 8);
    place(lineWidthLabel = new QLabel("Line width (characters):", this), kLineWidthLabel, 7, 265,
          79, 8);
    place(lineWidthEdit = CreateNumberBox(this), kLineWidthBox, 89, 264, 40, 14);
    place(regenerateButton = button("Regenerate"), kRegenerateButton, 134, 264, 50, 14);
    place(copyButton = button("Copy"), kCopyButton, 198, 264, 41, 14);
    place(saveButton = button("Save"), kSaveButton, 245, 264, 40, 14);
    place(textBox = new PageTextEdit(codePage, this), kPageTextBox, 7, 29, 420, 227);
    CentreLabelOn(*pageLabel, *pageNumberEdit);
    CentreLabelOn(*lineWidthLabel, *lineWidthEdit);

    textBox->setFont(TextBoxFont());
    textBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    textBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next control, as in any dialog.
    textBox->setTabChangesFocus(true);
    // Editable once a page is shown.
    textBox->setReadOnly(true);

    // The text box stretches with the window, the bottom row keeps its
    // distance to the bottom edge, "Close" to the bottom right corner.
    anchors = {
        {textBox, textBox->geometry(), true, true, false, false},
        {lineWidthLabel, lineWidthLabel->geometry(), false, false, false, true},
        {lineWidthEdit, lineWidthEdit->geometry(), false, false, false, true},
        {regenerateButton, regenerateButton->geometry(), false, false, false, true},
        {copyButton, copyButton->geometry(), false, false, false, true},
        {saveButton, saveButton->geometry(), false, false, false, true},
        {closeButton, closeButton->geometry(), false, false, true, true},
    };

    pageNumberEdit->installEventFilter(this);
    lineWidthEdit->installEventFilter(this);
    connect(goButton, &QPushButton::clicked, this, &ViewerWindow::GoToPage);
    connect(prevButton, &QPushButton::clicked, this, &ViewerWindow::ShowPreviousPage);
    connect(nextButton, &QPushButton::clicked, this, &ViewerWindow::ShowNextPage);
    connect(closeButton, &QPushButton::clicked, this, &ViewerWindow::reject);
    connect(regenerateButton, &QPushButton::clicked, this, &ViewerWindow::RegeneratePage);
    connect(copyButton, &QPushButton::clicked, this, &ViewerWindow::CopyPageText);
    connect(saveButton, &QPushButton::clicked, this, &ViewerWindow::SavePageText);
}

bool ViewerWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the page number box runs Go, in the line width box Regenerate;
    // the choice stays while the focus moves on.
    if (event->type() == QEvent::FocusIn) {
        if (watched == pageNumberEdit) {
            SetDefaultButton(goButton);
        } else if (watched == lineWidthEdit) {
            SetDefaultButton(regenerateButton);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ViewerWindow::SetDefaultButton(QPushButton* button) {
    for (QPushButton* other : {goButton, regenerateButton}) {
        if (other != button) {
            other->setDefault(false);
        }
    }
    button->setDefault(true);
}

void ViewerWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!firstSize.isValid()) {
        firstSize = event->size();
        return;
    }
    // Placed from where each control stood at the first size, so the
    // arithmetic of many small changes never drifts, even when the window
    // was once smaller than the controls.
    const int dx = event->size().width() - firstSize.width();
    const int dy = event->size().height() - firstSize.height();
    for (const Anchor& anchor : anchors) {
        QRect rect = anchor.rect;
        rect.translate(anchor.movesX ? dx : 0, anchor.movesY ? dy : 0);
        rect.setWidth(std::max(rect.width() + (anchor.growsX ? dx : 0), 0));
        rect.setHeight(std::max(rect.height() + (anchor.growsY ? dy : 0), 0));
        anchor.control->setGeometry(rect);
    }
}

void ViewerWindow::WriteBoxes() {
    WriteNumberBox(*pageNumberEdit, pageNumberBox);
    WriteNumberBox(*lineWidthEdit, lineWidthBox);
}

// The width first, then the page number; reading stops at the first box that
// fails, and the command goes on with the values it has.
void ViewerWindow::ReadBoxes() {
    // A width beyond the widest layout is laid out as the widest, and the box
    // then shows that.
    if (ReadCappedNumberBox(*lineWidthEdit, lineWidthBox,
                            static_cast<std::uint32_t>(kMaxLineWidth))) {
        ReadNumberBox(*pageNumberEdit, pageNumberBox);
    }
}

void ViewerWindow::UpdateNavigation(std::int32_t index) {
    prevButton->setEnabled(index > 0);
    nextButton->setEnabled(index < pageCount - 1);
}

std::optional<std::string> ViewerWindow::ExtractPage(std::int32_t index) {
    ObjectHandle page = store.GetPage(index);
    if (!page) {
        return std::nullopt;
    }
    BusyCursor busy;
    std::vector<std::string> lines;
    ExtractPageText(lines, store, AsDictionary(page.get()), pageTexts.GetWidth(index), codePage);
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void ViewerWindow::ShowPage(std::int32_t index) {
    if (!pageTexts.IsPage(index)) {
        return;
    }
    if (index != currentPage && pageShown) {
        pageTexts.SetText(currentPage, textBox->GetPageText());
    }
    if (const std::string& kept = pageTexts.GetText(index); !kept.empty()) {
        textBox->SetPageText(kept);
    } else {
        const std::optional<std::string> text = ExtractPage(index);
        if (!text) {
            ShowMessage(this, "Could not load content of PDF page.", ApplicationName());
            return;
        }
        // Kept only when the user leaves the page.
        textBox->SetPageText(*text);
    }
    UpdateNavigation(index);
    pageNumberBox = static_cast<std::uint32_t>(index) + 1;
    lineWidthBox = static_cast<std::uint32_t>(pageTexts.GetWidth(index));
    WriteBoxes();
    currentPage = index;
    pageShown = true;
    textBox->setReadOnly(false);
}

void ViewerWindow::GoToPage() {
    if (pageCount <= 0) {
        return;
    }
    ReadBoxes();
    if (pageNumberBox >= 1 && pageNumberBox <= static_cast<std::uint32_t>(pageCount)) {
        const auto index = static_cast<std::int32_t>(pageNumberBox - 1);
        if (index == currentPage && pageShown) {
            // Already shown: the box keeps the user's edits.
            pageNumberBox = static_cast<std::uint32_t>(index) + 1;
            lineWidthBox = static_cast<std::uint32_t>(pageTexts.GetWidth(index));
            WriteBoxes();
        } else {
            ShowPage(index);
        }
        return;
    }
    ShowMessage(this, "Page number out of range.", ApplicationName());
    pageNumberBox = static_cast<std::uint32_t>(currentPage) + 1;
    WriteBoxes();
}

void ViewerWindow::ShowPreviousPage() {
    if (currentPage > 0) {
        ShowPage(currentPage - 1);
    }
}

void ViewerWindow::ShowNextPage() {
    if (currentPage < pageCount - 1) {
        ShowPage(currentPage + 1);
    }
}

void ViewerWindow::RegeneratePage() {
    if (!pageTexts.IsPage(currentPage)) {
        return;
    }
    ReadBoxes();
    pageTexts.SetWidth(currentPage, static_cast<std::int32_t>(lineWidthBox));
    // Edits of the shown page are dropped; the page is laid out again.
    pageTexts.SetText(currentPage, {});
    ShowPage(currentPage);
}

void ViewerWindow::CopyPageText() {
    textBox->selectAll();
    QApplication::clipboard()->setText(textBox->GetLineText());
}

std::optional<std::string> ViewerWindow::GetSavedText(std::int32_t index) {
    std::string text = index == currentPage ? textBox->GetPageText() : pageTexts.GetText(index);
    if (text.empty()) {
        // Extracted for the file alone, not kept.
        return ExtractPage(index);
    }
    return text;
}

void ViewerWindow::SavePageText() {
    if (pageCount <= 0) {
        return;
    }
    SaveTextDialog dialog(path, pageCount, this);
    const int result = saveDialogRunner ? saveDialogRunner(dialog) : dialog.exec();
    if (result != QDialog::Accepted) {
        return;
    }
    std::int64_t first = 0;
    std::int64_t last = pageCount - 1;
    if (dialog.GetSaveScope() == SaveScope::CurrentPage) {
        first = last = currentPage;
    } else if (dialog.GetSaveScope() == SaveScope::PageRange) {
        // The dialog accepts only 1 <= from and to <= the page count.
        first = static_cast<std::int64_t>(dialog.GetFrom()) - 1;
        last = static_cast<std::int64_t>(dialog.GetTo()) - 1;
    }
    // No page at or beyond the index limit exists (a /Count may claim far
    // more pages than the tree holds), and every kept page lies below it.
    last = std::min(last, store.GetPageIndexLimit() - 1);

    PageFileResult written;
    {
        BusyCursor busy;
        written = WritePageTextFile(QFile::encodeName(dialog.GetDestination()).toStdString(),
                                    dialog.GetWriteMode(), first, last,
                                    [this](std::int32_t index) { return GetSavedText(index); });
    }
    if (written == PageFileResult::OpenFailed) {
        ShowMessage(this, "Could not open the file for writting.", ApplicationName());
    } else if (written == PageFileResult::WriteFailed) {
        ShowMessage(this, "Could not write the file.", ApplicationName());
    }
}

}  // namespace tessary
