// The page-by-page viewer of an open document: one page at a time as
// monospaced, editable text, with navigation, per-page line widths, Copy
// and Save.
#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/PageTextStore.h"
#include "platform/CodePage.h"
#include "platform/SystemCodePage.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tessary {

class PageTextEdit;
class PdfObjectStore;
class SaveTextDialog;

class ViewerWindow : public QDialog {
    Q_OBJECT

  public:
    // The store belongs to the open document, which outlives the viewer. A
    // page count below 1 opens an empty, read-only viewer with nothing to
    // navigate. Page texts are in the output code page.
    ViewerWindow(PdfObjectStore& store, std::int32_t pageCount, const QString& path, QWidget* owner,
                 const CodePage& codePage = GetSystemCodePage());
    ~ViewerWindow() override;

    // Makes the page with that zero-based index the shown one, keeping the
    // text of the page being left. An index outside the document does nothing.
    void ShowPage(std::int32_t index);
    // The commands of the buttons.
    void GoToPage();
    void ShowPreviousPage();
    void ShowNextPage();
    void RegeneratePage();
    void CopyPageText();
    void SavePageText();

    std::int32_t GetCurrentPage() const { return currentPage; }
    const PageTextStore& GetPageTexts() const { return pageTexts; }

    // How Save shows its dialog (exec() unless replaced); tests fill it in
    // and return its result instead of waiting for a person.
    using SaveDialogRunner = std::function<int(SaveTextDialog&)>;
    void SetSaveDialogRunner(SaveDialogRunner runner) { saveDialogRunner = std::move(runner); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CreateControls();
    void ReadBoxes();
    void WriteBoxes();
    void UpdateNavigation(std::int32_t index);
    void SetDefaultButton(QPushButton* button);
    // The page's lines at its width, each followed by CR LF; absent when the
    // store has no such page.
    std::optional<std::string> ExtractPage(std::int32_t index);
    std::optional<std::string> GetSavedText(std::int32_t index);

    PdfObjectStore& store;
    std::int32_t pageCount;
    QString path;
    CodePage codePage;

    std::int32_t currentPage = 0;
    bool pageShown = false;  // false until a page could be shown
    std::uint32_t pageNumberBox = 0;
    std::uint32_t lineWidthBox;
    PageTextStore pageTexts;
    SaveDialogRunner saveDialogRunner;

    QLineEdit* pageNumberEdit;
    QPushButton* goButton;
    QPushButton* prevButton;
    QPushButton* nextButton;
    QPushButton* closeButton;
    QLabel* totalLabel;
    QLabel* lineWidthLabel;
    QLineEdit* lineWidthEdit;
    QPushButton* regenerateButton;
    QPushButton* copyButton;
    QPushButton* saveButton;
    PageTextEdit* textBox;

    // Resizing: the first size the window had, and where each moving control
    // stood at that size.
    QSize firstSize{-1, -1};
    struct Anchor {
        QWidget* control;
        QRect rect;
        bool growsX, growsY, movesX, movesY;
    };
    std::vector<Anchor> anchors;
};

}  // namespace tessary
