#include "richtext/listlevels.h"

#include "rtf/rtflists.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

namespace tessary {

namespace {

constexpr int kMaxIndent = 9;

// A new level numbers 1., a., i., 1., ... or shows a disc, circle, square, ... by its depth.
QTextListFormat::Style styleForLevel(QTextListFormat::Style style, int indent) {
    const int turn = (indent - 1) % 3;
    if (style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
        style == QTextListFormat::ListSquare) {
        static const QTextListFormat::Style bullets[] = {
            QTextListFormat::ListDisc, QTextListFormat::ListCircle, QTextListFormat::ListSquare};
        return bullets[turn];
    }
    static const QTextListFormat::Style numbers[] = {QTextListFormat::ListDecimal,
                                                     QTextListFormat::ListLowerAlpha,
                                                     QTextListFormat::ListLowerRoman};
    return numbers[turn];
}

} // namespace

bool changeListLevel(QTextCursor &cursor, int step) {
    const QTextBlock block = cursor.block();
    QTextList *list = block.textList();
    if (!list || cursor.hasSelection() || !cursor.atBlockStart())
        return false;
    const int indent = list->format().indent() + step;
    if (indent < 1 || indent > kMaxIndent)
        return false;
    // The earlier item at that level, unless a shallower item or a plain paragraph ends it.
    QTextList *target = nullptr;
    for (QTextBlock b = block.previous(); b.isValid() && b.textList(); b = b.previous()) {
        const int at = b.textList()->format().indent();
        if (at == indent)
            target = b.textList();
        if (at <= indent)
            break;
    }
    cursor.beginEditBlock();
    if (target) {
        target->add(block);
    } else {
        QTextListFormat format = list->format();
        format.setIndent(indent);
        format.setStyle(styleForLevel(format.style(), indent));
        format.setProperty(rtf::kTableListProperty, true);
        format.clearProperty(rtf::kListStartProperty);
        cursor.createList(format);
    }
    cursor.endEditBlock();
    return true;
}

} // namespace tessary
