#include "app/AboutDialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/ControlIds.h"
#include "app/DialogKeys.h"
#include "app/DialogUnits.h"
#include "app/ProgramIcon.h"

namespace tessary {

AboutDialog::AboutDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("AboutDialog");
    setWindowTitle("About Tessary");
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(251, 125));

    auto* icon = new QLabel(this);
    icon->setObjectName("iconLabel");
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    icon->setGeometry(QRect(units.ToPixels(11, 17, 0, 0).topLeft(), QSize(32, 32)));

    auto* version = new QLabel("Tessary  1.0 (Build 0403)", this);
    version->setObjectName("versionLabel");
    version->setGeometry(units.ToPixels(40, 10, 119, 8));

    auto* description = new QLabel(
        "Tessary turns the pages of PDF files into plain text that reads like the page, "
        "to view, edit, copy or save as a text file.",
        this);
    description->setObjectName("descriptionLabel");
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description->setGeometry(units.ToPixels(40, 37, 188, 18));

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName(ControlName(kOkButton));
    ok->setGeometry(units.ToPixels(194, 7, 50, 14));
    ok->setAutoDefault(false);
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
    if (!PressFocusedButton(this, event)) {
        QDialog::keyPressEvent(event);
    }
}

}  // namespace tessary
