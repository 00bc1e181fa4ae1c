#include "app/NumberBox.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <limits>

#include "app/UserInterface.h"

namespace tessary {

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool RefuseNumberBox(QLineEdit& box) {
    ShowMessage(box.window(), kPositiveIntegerMessage, ApplicationName(), MessageIcon::Exclamation);
    box.setFocus(Qt::OtherFocusReason);
    box.selectAll();
    return false;
}

}  // namespace

std::optional<std::uint64_t> ParseUnsignedNumber(const QString& text, std::uint64_t cap) {
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
        // Once above the cap, the value stays there: no overflow, however long.
        value = std::min(value * 10 + static_cast<std::uint64_t>(c - u'0'), cap + 1);
    }
    return std::min(value, cap);
}

QLineEdit* CreateNumberBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    return box;
}

bool ReadNumberBox(QLineEdit& box, std::uint32_t& value) {
    constexpr std::uint64_t kLargest = std::numeric_limits<std::uint32_t>::max();
    const std::optional<std::uint64_t> number = ParseUnsignedNumber(box.text(), kLargest + 1);
    if (!number || *number > kLargest) {
        return RefuseNumberBox(box);
    }
    value = static_cast<std::uint32_t>(*number);
    return true;
}

bool ReadCappedNumberBox(QLineEdit& box, std::uint32_t& value, std::uint32_t cap) {
    const std::optional<std::uint64_t> number = ParseUnsignedNumber(box.text(), cap);
    if (!number) {
        return RefuseNumberBox(box);
    }
    value = static_cast<std::uint32_t>(*number);
    return true;
}

void WriteNumberBox(QLineEdit& box, std::uint32_t value) {
    box.setText(QString::number(value));
}

}  // namespace tessary
