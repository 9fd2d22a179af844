#pragma once

#include <QByteArray>

class QTextDocument;

namespace tessary {

// The document's footnotes and endnotes, kept from the program that wrote it, as the list
// that ends an exported page: each numbered as its mark in the text.
QByteArray notesHtml(const QTextDocument &doc);

} // namespace tessary
