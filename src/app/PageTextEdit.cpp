#include "app/PageTextEdit.h"

#include <QTextDocument>

#include "fonts/TextConversion.h"
#include "platform/CodePageConversion.h"

namespace tessary {

PageTextEdit::PageTextEdit(const CodePage& outputCodePage, QWidget* parent)
    : QPlainTextEdit(parent), codePage(outputCodePage) {}

void PageTextEdit::SetPageText(const std::string& bytes) {
    const std::u16string text = DecodeText(codePage, bytes);
    setPlainText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    shownBytes = bytes;
    shownText = GetLineText();
}

std::string PageTextEdit::GetPageText() const {
    const QString text = GetLineText();
    if (text == shownText) {
        return shownBytes;
    }
    const CharacterSubstitute substitute = [this](char32_t c) {
        return c <= 0xFFFF ? ConvertToText(static_cast<std::uint16_t>(c), codePage, "?")
                           : std::string("?");
    };
    return EncodeText(codePage,
                      std::u16string_view(reinterpret_cast<const char16_t*>(text.constData()),
                                          static_cast<std::size_t>(text.size())),
                      substitute);
}

QString PageTextEdit::GetLineText() const {
    // The raw text keeps no-break spaces (the plain text turns them into
    // blanks); its paragraph and line separators are the line breaks.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

}  // namespace tessary
