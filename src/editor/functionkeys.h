#pragma once

#include "editor/palettes.h"

#include <QObject>
#include <QSize>
#include <array>

class QLabel;
class QToolButton;

namespace tessary {

class Palettes;

// The function-key bar: F2..F12 each take one palette character, assigned by clicking the
// key's definition button and then the character's palette button, and inserted again by
// the key or by a click on the key's value button.
class FunctionKeys : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirstKey = 2;
    static constexpr int kLastKey = 12;
    static constexpr int kKeyCount = kLastKey - kFirstKey + 1;

    FunctionKeys(EditorContext &context, Palettes &palettes, QObject *parent = nullptr);

    QToolButton *definitionButton(int key) const;
    QToolButton *valueButton(int key) const;

    // Start-up: the hint's font and size for the screen's pixels per inch. On a large-fonts
    // screen the panel is narrowed and shortened and the key's name moves after the longer
    // text; it still grows where its labels would be cut off.
    void FitHint(int pixelsPerInch, bool largeFonts);
    void FnDefButtonClick(QToolButton *definitionButton);
    // Gives the pending key the character of `paletteButton`; an empty button unassigns it.
    void AssignFromPalette(QToolButton *paletteButton);
    // Ends a pending assignment: the panel goes, the definition button is released and
    // shows its hint again.
    void HideFnHint();
    void ReplayFunctionKey(int key);

    // The two-character `Init` piece of a value button, and the way back.
    void AppendFnKeyCode(const QToolButton *valueButton, QString &text) const;
    void LoadFnKeyButton(QToolButton *valueButton, const QString &piece);
    std::array<QString, kKeyCount> pieces() const;
    void loadPieces(const std::array<QString, kKeyCount> &pieces);

signals:
    // A key was given a character or unassigned: the settings keep it.
    void assignmentChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct KeyPair {
        QToolButton *definition = nullptr;
        QToolButton *value = nullptr;
    };
    void buildBar();
    void buildHint();
    void placeHint(const QToolButton *definitionButton);
    // Places the labels after the texts before them and makes the panel hold them whole.
    void arrangeHintLabels();
    static QString definitionHint(int key);

    EditorContext &m;
    const PaletteBars &w;
    Palettes &palettes;
    std::array<KeyPair, kKeyCount> m_keys;
    KeyPair FnKeyDefPair; // the key being assigned, if any
    QLabel *FnLabel0 = nullptr;
    QLabel *FnLabel1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *FnLabel2 = nullptr;
    QLabel *FnLabel3 = nullptr;
    QSize m_hintSize;     // the panel's size before its labels are fitted in
    int m_hintMargin = 8; // the labels' left edge
    bool m_largeFonts = false;
    QObject *m_viewport = nullptr; // the editor's, whose clicks end an assignment
};

} // namespace tessary
