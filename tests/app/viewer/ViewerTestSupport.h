// What the viewer tests share: recorded messages, open documents, small PDFs
// and the expected page texts.
#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/PageTextEdit.h"
#include "app/UserInterface.h"
#include "app/ViewerWindow.h"
#include "pdf/PdfDocument.h"
#include "platform/CodePage.h"
#include "support/PdfBuilder.h"

namespace tessary::test {

// Records every message box instead of showing it, while it lives.
class MessageRecorder {
  public:
    MessageRecorder();
    ~MessageRecorder();

    struct Message {
        QString text;
        QString caption;
        MessageIcon icon;
    };
    std::vector<Message> messages;

    // The texts of the messages so far, and forgets them.
    QStringList Take();
};

// A PDF file opened as the View command opens it.
class OpenDocument {
  public:
    explicit OpenDocument(const std::string& path);
    PdfObjectStore& GetStore() const { return *document.GetStore(); }
    // The /Count of the page tree root.
    std::int32_t GetPageCount() const;
    const std::string& GetPath() const { return path; }

  private:
    std::string path;
    PdfDocument document;
};

std::string CorpusFile(const std::string& name);

// A document with one page per content stream, Courier as font /F1;
// countEntry replaces the page tree's "/Count n" when not empty.
std::string PagesPdf(const std::vector<std::string>& contents, const std::string& countEntry = "");
// The content of a page that shows the text at its top left.
std::string TextContent(const std::string& text);
// The content of a page with two words far apart on one line, so that its
// layout differs with the width.
std::string TwoWordContent(const std::string& left, const std::string& right);

// The page's lines at a width, each followed by CR LF, as the viewer shows them.
std::string PageLines(PdfObjectStore& store, std::int32_t index, std::int32_t width,
                      const CodePage& codePage);

// The text as the viewer's box shows it.
QString Decoded(const std::string& bytes, const CodePage& codePage);

template <typename T = QWidget>
T* Control(QWidget& window, const char* id) {
    return window.findChild<T*>(QString::fromLatin1(id));
}

// Opens documents in a viewer (UTF-8 output unless told otherwise) and
// records its messages.
class ViewerFixture : public ::testing::Test {
  protected:
    // Opens the file in a new viewer.
    ViewerWindow& Open(const std::string& file, const CodePage& codePage = CodePage::Utf8()) {
        viewer.reset();
        document = std::make_unique<OpenDocument>(file);
        outputCodePage = codePage;
        viewer = std::make_unique<ViewerWindow>(document->GetStore(), document->GetPageCount(),
                                                QString::fromStdString(file), nullptr, codePage);
        return *viewer;
    }
    ViewerWindow& OpenPages(const std::vector<std::string>& texts, const std::string& count = "") {
        std::vector<std::string> contents;
        for (const std::string& text : texts) {
            contents.push_back(TextContent(text));
        }
        return Open(dir.Write("pages.pdf", PagesPdf(contents, count)));
    }
    ViewerWindow& OpenProse() { return Open(CorpusFile("libreoffice/lo-prose.pdf")); }

    QLineEdit& Box(const char* id) { return *Control<QLineEdit>(*viewer, id); }
    QPushButton& Button(const char* id) { return *Control<QPushButton>(*viewer, id); }
    PageTextEdit& TextBox() { return *Control<PageTextEdit>(*viewer, "1023"); }
    // Types into a box and presses a button.
    void Press(const char* id, const QString& pageBox, const QString& widthBox = {}) {
        Box("1010").setText(pageBox);
        if (!widthBox.isNull()) {
            Box("1017").setText(widthBox);
        }
        Button(id).click();
    }
    std::string Expected(std::int32_t index, std::int32_t width) {
        return PageLines(document->GetStore(), index, width, outputCodePage);
    }

    MessageRecorder messages;
    TempDir dir;
    std::unique_ptr<OpenDocument> document;
    std::unique_ptr<ViewerWindow> viewer;
    CodePage outputCodePage;
};

}  // namespace tessary::test
