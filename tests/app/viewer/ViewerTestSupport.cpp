#include "ViewerTestSupport.h"

#include "pdf/PdfObjectStore.h"
#include "platform/CodePageConversion.h"
#include "support/PdfBuilder.h"
#include "text/PageText.h"

namespace tessary::test {

MessageRecorder::MessageRecorder() {
    SetMessageFunction(
        [this](QWidget*, const QString& text, const QString& caption, MessageIcon icon) {
            messages.push_back({text, caption, icon});
        });
}

MessageRecorder::~MessageRecorder() {
    SetMessageFunction({});
}

QStringList MessageRecorder::Take() {
    QStringList texts;
    for (const Message& message : messages) {
        texts << message.text;
    }
    messages.clear();
    return texts;
}

OpenDocument::OpenDocument(const std::string& file) : path(file) {
    document.Open(path, false, nullptr, nullptr);
}

std::int32_t OpenDocument::GetPageCount() const {
    ObjectHandle catalog = GetStore().GetCatalog();
    ObjectHandle root = DictionaryOrEmpty(catalog.get()).GetValue("/Pages");
    return DictionaryOrEmpty(root.get()).GetValueInteger("/Count");
}

std::string CorpusFile(const std::string& name) {
    return std::string(TESSARY_CORPUS_DIR) + "/" + name;
}

std::string TextContent(const std::string& text) {
    return "BT /F1 10 Tf 72 700 Td (" + text + ") Tj ET";
}

std::string TwoWordContent(const std::string& left, const std::string& right) {
    return "BT /F1 10 Tf 72 700 Td (" + left + ") Tj 400 0 Td (" + right + ") Tj ET";
}

std::string PagesPdf(const std::vector<std::string>& contents, const std::string& countEntry) {
    std::vector<std::string> objects = SimpleDocument(
        contents,
        "/Resources << /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Courier >> >> >>");
    if (!countEntry.empty()) {
        const std::size_t at = objects[1].find("/Count");
        const std::size_t end = objects[1].find_first_of("/>", at + 1);
        objects[1].replace(at, end - at, countEntry + " ");
    }
    return PdfBuilder(objects, "/Root 1 0 R").Build();
}

std::string PageLines(PdfObjectStore& store, std::int32_t index, std::int32_t width,
                      const CodePage& codePage) {
    ObjectHandle page = store.GetPage(index);
    std::vector<std::string> lines;
    ExtractPageText(lines, store, AsDictionary(page.get()), width, codePage);
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

QString Decoded(const std::string& bytes, const CodePage& codePage) {
    const std::u16string text = DecodeText(codePage, bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tessary::test
