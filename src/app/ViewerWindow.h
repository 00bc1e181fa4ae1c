// The page-by-page viewer of an open document: one page at a time as
// monospaced, editable text, with navigation, per-page line widths, Copy
// and Save.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

namespace tessary {

class PdfObjectStore;

class ViewerWindow : public QDialog {
    Q_OBJECT

  public:
    // The store belongs to the open document, which outlives the viewer.
    ViewerWindow(PdfObjectStore& store, std::int32_t pageCount, const QString& path,
                 QWidget* owner);
    ~ViewerWindow() override;
};

}  // namespace tessary
