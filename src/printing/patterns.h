#pragma once

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QWidget;

namespace tessary {

// Header and footer patterns: text with the tokens ".page", ".numpages", ".date", ".time"
// and ".empty", filled in when a page is drawn.
namespace Patterns {

inline const QString Empty = QStringLiteral(".empty");
// Index of the "custom" entry; the custom pattern itself is the entry after it.
constexpr int CustomEntry = 7;
constexpr int CustomPatternEntry = 8;

// The eight entries every pattern box starts with.
const QStringList &FixedEntries();

// The pattern with each token replaced, case-sensitively, in the order ".empty", ".page",
// ".numpages", ".date" (short date of `locale`), ".time" (long time of `locale`).
QString ExpandPattern(const QString &pattern, int page, int pageCount, const QDateTime &now,
                      const QLocale &locale = QLocale());

// The position a set edits after a click on the box of `position` (0 left, 1 center,
// 2 right) that left it `ticked`: that position, or, when the click unticked it, the next
// one round Left -> Center -> Right -> Left.
int NextPosition(int position, bool ticked);

} // namespace Patterns

// One set of pattern choosers, the header's or the footer's: the pattern box, the three
// position boxes (tags 1-3 or 4-6) and the label naming the edited position. It holds the
// set's three position patterns and its custom pattern.
class PatternChoosers : public QObject {
    Q_OBJECT
public:
    enum Set { HeaderSet = 1, FooterSet = 2 };

    // Creates the widgets as children of `parent`, with their object names, captions, hints
    // and tags, the eight fixed entries and entry 0 selected.
    PatternChoosers(Set set, QWidget *parent);

    Set set() const { return m_set; }
    // What changed the patterns calls this (the owner repaints its pages).
    std::function<void()> OnPatternsChanged = [] {};

    // 0 left, 1 center, 2 right.
    const QString &pattern(int position) const { return m_patterns.at(position); }
    void setPattern(int position, const QString &pattern) { m_patterns.at(position) = pattern; }
    // The last entry of the box.
    QString customPattern() const;
    // Appends (or replaces) the custom pattern as the ninth entry and selects `index`, an
    // index outside the list selecting entry 0.
    void setCustomPattern(const QString &pattern, int index);
    // The position boxes, left, center, right; exactly one should be ticked.
    void setTicked(int position);
    bool isTicked(int position) const;
    // Left if its box is ticked, else center if ticked, else right.
    int editedPosition() const;
    // The position tag (1..6) of the edited position.
    int editedTag() const;

    void SelectPatternPosition(QCheckBox *box);
    void UpdatePatternLabels();
    void ComboBoxClick();
    // Enter in the editable box makes its text the custom pattern; true when consumed.
    bool ComboBoxKeyDown(int key);

    QComboBox *const ComboBox;
    std::array<QCheckBox *, 3> PositionBoxes;
    QLabel *const PatternLabel;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void selectEntryOf(const QString &pattern);
    void setEditable(bool editable);

    Set m_set;
    std::array<QString, 3> m_patterns{Patterns::Empty, Patterns::Empty, Patterns::Empty};
};

} // namespace tessary
