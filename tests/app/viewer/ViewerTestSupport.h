// Documents opened in a viewer as the View command does, and the expected page texts.
#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "UserInterfaceRecorder.h"
#include "app/ControlIds.h"
#include "app/PageTextEdit.h"
#include "app/ViewerWindow.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"
#include "support/PdfBuilder.h"
#include "support/TestSupport.h"
#include "text/PageText.h"

namespace tessary::test {

class ViewerFixture : public ::testing::Test {
  protected:
    ViewerWindow& Open(const std::string& file, const CodePage& codePage = CodePage::Utf8()) {
        viewer.reset();
        document = std::make_unique<PdfDocument>();
        document->Open(file, false, nullptr, nullptr);
        ObjectHandle catalog = Store().GetCatalog();
        ObjectHandle root = DictionaryOrEmpty(catalog.get()).GetValue("/Pages");
        outputCodePage = codePage;
        viewer = std::make_unique<ViewerWindow>(
            Store(), DictionaryOrEmpty(root.get()).GetValueInteger("/Count"),
            QString::fromStdString(file), nullptr, codePage);
        return *viewer;
    }
    // One page per text, a line in Courier; in "A|B" the B stands far to the
    // right, so the layout depends on the width. `count` replaces "/Count n".
    ViewerWindow& OpenPages(const std::vector<std::string>& texts, const std::string& count = "") {
        std::vector<std::string> contents;
        for (std::string text : texts) {
            if (const std::size_t bar = text.find('|'); bar != std::string::npos) {
                text.replace(bar, 1, ") Tj 400 0 Td (");
            }
            contents.push_back("BT /F1 10 Tf 72 700 Td (" + text + ") Tj ET");
        }
        std::vector<std::string> objects = SimpleDocument(contents, kCourierResources);
        if (!count.empty()) {
            const std::size_t at = objects[1].find("/Count");
            objects[1].replace(at, objects[1].find('>', at) - at, count + " ");
        }
        return Open(dir.Write("pages.pdf", PdfBuilder(objects, "/Root 1 0 R").Build()));
    }
    ViewerWindow& OpenProse() { return Open(CorpusPath("libreoffice/lo-prose.pdf")); }

    PdfObjectStore& Store() { return *document->GetStore(); }
    QLineEdit& Box(int id) { return *FindControl<QLineEdit>(*viewer, id); }
    QPushButton& Button(int id) { return *FindControl<QPushButton>(*viewer, id); }
    PageTextEdit& TextBox() { return *FindControl<PageTextEdit>(*viewer, kPageTextBox); }
    // Types into the page number box (and the width box) and presses a button.
    void Press(int id, const QString& page, const QString& width = {}) {
        Box(kPageNumberBox).setText(page);
        if (!width.isNull()) {
            Box(kLineWidthBox).setText(width);
        }
        Button(id).click();
    }
    // The page's lines at a width, each followed by CR LF.
    std::string Expected(std::int32_t index, std::int32_t width) {
        std::vector<std::string> lines;
        ObjectHandle page = Store().GetPage(index);
        ExtractPageText(lines, Store(), AsDictionary(page.get()), width, outputCodePage);
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        return text;
    }

    UserInterfaceRecorder ui;
    TempDir dir;
    std::unique_ptr<PdfDocument> document;
    std::unique_ptr<ViewerWindow> viewer;
    CodePage outputCodePage;
};

}  // namespace tessary::test
