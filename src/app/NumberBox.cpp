#include "app/NumberBox.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "app/UserInterface.h"

namespace tessary {

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

std::optional<std::uint32_t> ParseUnsignedNumber(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    if (begin == end) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
        if (value > std::numeric_limits<std::uint32_t>::max()) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

QLineEdit* CreateNumberBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    return box;
}

bool ReadNumberBox(QLineEdit& box, std::uint32_t& value, std::uint32_t maximum) {
    const std::optional<std::uint32_t> number = ParseUnsignedNumber(box.text());
    if (number && *number <= maximum) {
        value = *number;
        return true;
    }
    ShowMessage(box.window(), kPositiveIntegerMessage, ApplicationName(), MessageIcon::Exclamation);
    box.setFocus(Qt::OtherFocusReason);
    box.selectAll();
    return false;
}

void WriteNumberBox(QLineEdit& box, std::uint32_t value) {
    box.setText(QString::number(value));
}

}  // namespace tessary
