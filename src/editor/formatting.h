#pragma once

#include "richtext/editorcontext.h"
#include "rtf/textformat.h"

#include <QObject>
#include <functional>

class QToolButton;

namespace tessary {

class FontBoxes;

// The character and paragraph commands of the format tool bar. Character commands on a
// selection change each character by itself (a mixed selection stays mixed), run by run,
// as one undo step.
class Formatting : public QObject {
    Q_OBJECT
public:
    Formatting(EditorContext &context, FontBoxes &fonts, QToolButton *bulletsButton,
               QObject *parent = nullptr);

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
    // The ids the alignment buttons carry in their button group.
    enum AlignTag : int { LeftAlignTag = 0, RightAlignTag = 1, CenterAlignTag = 2 };
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
    void applyNotationEntry();

    EditorContext &m;
    FontBoxes &m_fonts;
    QToolButton *m_bullets;
};

} // namespace tessary
