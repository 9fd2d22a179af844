#pragma once

#include "editor/mainparts.h"
#include "platform/textformat.h"

#include <QObject>
#include <functional>

namespace tessary {

class NotationTyping;

// The character and paragraph commands of the format tool bar. Character commands on a
// selection change each character by itself (a mixed selection stays mixed), run by run,
// as one undo step.
class Formatting : public QObject {
    Q_OBJECT
public:
    Formatting(MainParts &parts, NotationTyping &notation, QObject *parent = nullptr);

    void BoldButtonClick();
    void ItalicButtonClick();
    void UnderlineButtonClick();
    // Applies the face box to the selection (notation characters keep their face) or to
    // the caret; also run after every size choice.
    void FontNameBoxClick();
    void FontSizeBoxClick();
    // Shows the caret character's font in the boxes, or, pressed again, what they showed
    // before.
    void CaretFontButtonClick();
    // `tag`: 0 left, 1 right, 2 centre, as the alignment buttons carry it.
    void AlignButtonClick(int tag);
    void BulletsButtonClick();

    // `face` with its first five letters in the case of the same letters of `oldFace`.
    static QString caseAdjustedFace(const QString &face, const QString &oldFace);

private:
    // Writes onto every run of the selection what `change` makes of its attributes (false:
    // leave the run alone); neighbouring runs with the same result are written at once.
    void
    changeSelection(unsigned fields,
                    const std::function<bool(const CharAttributes &, CharAttributes &)> &change);
    void invertEffect(CharAttributes::Field field);

    MainParts &m;
    NotationTyping &m_notation;
};

} // namespace tessary
