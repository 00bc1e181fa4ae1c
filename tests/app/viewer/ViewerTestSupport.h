// What the viewer tests share: recorded messages, documents opened in a
// viewer, small PDFs and the expected page texts.
#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "app/PageTextEdit.h"
#include "app/UserInterface.h"
#include "app/ViewerWindow.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"
#include "support/PdfBuilder.h"
#include "text/PageText.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tessary::test {

// Records the message boxes instead of showing them, while it lives.
class MessageRecorder {
  public:
    struct Message {
        QString text, caption;
        MessageIcon icon;
    };
    MessageRecorder() {
        SetMessageFunction(
            [this](QWidget*, const QString& text, const QString& caption, MessageIcon icon) {
                messages.push_back({text, caption, icon});
            });
    }
    ~MessageRecorder() { SetMessageFunction({}); }
    // The texts so far, which are then forgotten.
    QStringList Take() {
        QStringList texts;
        for (const Message& message : messages) {
            texts << message.text;
        }
        messages.clear();
        return texts;
    }
    std::vector<Message> messages;
};

inline std::string CorpusFile(const std::string& name) {
    return std::string(TESSARY_CORPUS_DIR) + "/" + name;
}

// A line of text at the top of a page in Courier; a second word far to the
// right makes the layout depend on the width.
inline std::string LineContent(const std::string& left, const std::string& right = "") {
    return "BT /F1 10 Tf 72 700 Td (" + left + ") Tj 400 0 Td (" + right + ") Tj ET";
}

// One page per content; count replaces the page tree's "/Count n" when given.
inline std::string PagesPdf(const std::vector<std::string>& contents, const std::string& count) {
    std::vector<std::string> objects = SimpleDocument(
        contents,
        "/Resources << /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Courier "
        ">> >> >>");
    if (!count.empty()) {
        const std::size_t at = objects[1].find("/Count");
        objects[1].replace(at, objects[1].find('>', at) - at, count + " ");
    }
    return PdfBuilder(objects, "/Root 1 0 R").Build();
}

template <typename T = QWidget>
T* Control(QWidget& window, const char* id) {
    return window.findChild<T*>(QString::fromLatin1(id));
}

// Opens documents in a viewer, as the View command does, and records its messages.
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
    // One page per text; a text "A|B" has two words far apart.
    ViewerWindow& OpenPages(const std::vector<std::string>& texts, const std::string& count = "") {
        std::vector<std::string> contents;
        for (const std::string& text : texts) {
            const std::size_t bar = text.find('|');
            contents.push_back(bar == std::string::npos
                                   ? LineContent(text)
                                   : LineContent(text.substr(0, bar), text.substr(bar + 1)));
        }
        return Open(dir.Write("pages.pdf", PagesPdf(contents, count)));
    }
    ViewerWindow& OpenProse() { return Open(CorpusFile("libreoffice/lo-prose.pdf")); }

    PdfObjectStore& Store() { return *document->GetStore(); }
    QLineEdit& Box(const char* id) { return *Control<QLineEdit>(*viewer, id); }
    QPushButton& Button(const char* id) { return *Control<QPushButton>(*viewer, id); }
    PageTextEdit& TextBox() { return *Control<PageTextEdit>(*viewer, "1023"); }
    // Types into the page number box (and the width box) and presses a button.
    void Press(const char* id, const QString& page, const QString& width = {}) {
        Box("1010").setText(page);
        if (!width.isNull()) {
            Box("1017").setText(width);
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

    MessageRecorder messages;
    TempDir dir;
    std::unique_ptr<PdfDocument> document;
    std::unique_ptr<ViewerWindow> viewer;
    CodePage outputCodePage;
};

}  // namespace tessary::test
