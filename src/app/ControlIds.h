// The ids of the controls of the program's windows. Each control carries its
// id, in decimal, as its object name, by which tests and tools find it.
#pragma once

#include <QString>
#include <QWidget>

namespace tessary {

enum ControlId : int {
    // Every dialog.
    kOkButton = 1,
    kCancelButton = 2,
    kCloseButton = 2,
    // Main window.
    kViewButton = 1001,
    kConvertButton = 1002,
    kAboutButton = 1034,
    // Password dialog.
    kPasswordBox = 1022,
    // Viewer.
    kPageNumberBox = 1010,
    kGoButton = 1011,
    kPrevPageButton = 1012,
    kNextPageButton = 1013,
    kTotalPagesLabel = 1016,
    kLineWidthBox = 1017,
    kRegenerateButton = 1018,
    kCopyButton = 1019,
    kSaveButton = 1020,
    kLineWidthLabel = 1021,
    kPageTextBox = 1023,
    // Save dialog.
    kSaveWholeDocumentButton = 1024,
    kSaveCurrentPageButton = 1025,
    kSavePageRangeButton = 1026,
    kRangeFromBox = 1028,
    kRangeToBox = 1029,
    kOverwriteFileButton = 1030,
    kAppendToFileButton = 1031,
    kDestinationBox = 1032,
    kBrowseButton = 1033,
};

inline QString ControlName(int id) {
    return QString::number(id);
}

// The control of a window with that id, or null.
template <typename T = QWidget>
T* FindControl(const QWidget& window, int id) {
    return window.findChild<T*>(ControlName(id));
}

}  // namespace tessary
