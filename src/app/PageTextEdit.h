// The viewer's text box. It holds Unicode; page texts come and go in the
// output code page. A page the user hasn't changed gives back exactly the
// bytes it was shown from, so what is saved of it equals what Convert writes,
// whatever the box does to line ends and characters it can't hold.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <string>

#include "platform/CodePage.h"

namespace tessary {

class PageTextEdit : public QPlainTextEdit {
    Q_OBJECT

  public:
    PageTextEdit(const CodePage& codePage, QWidget* parent);

    // Shows text in the output code page, its CR LF line ends as line breaks.
    void SetPageText(const std::string& bytes);
    // The box's text in the output code page with CR LF line ends: the bytes
    // last shown while the text is as it was shown, the edited text encoded
    // otherwise (a character the code page lacks becomes what the page text
    // would write for it).
    std::string GetPageText() const;
    // The box's text with CR LF line ends.
    QString GetLineText() const;

  private:
    CodePage codePage;
    std::string shownBytes;
    QString shownText;  // GetLineText() right after shownBytes were set
};

}  // namespace tessary
