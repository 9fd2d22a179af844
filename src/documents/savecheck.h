#pragma once

#include <QStringList>

class QTextDocument;
class QWidget;

namespace tessary {

// Before a save writes, says what of the document the file would not hold (parts another
// program wrote that this one cannot write back) and lets the person choose.
namespace SaveCheck {
enum class Answer { Save, SaveAs, Cancel };
// Save when nothing would be lost; else the answer to the question, Cancel when closed.
Answer ask(QWidget *parent, const QTextDocument *doc);
// "a, b and c".
QString listed(const QStringList &parts);
} // namespace SaveCheck

} // namespace tessary
