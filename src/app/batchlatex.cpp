#include "app/batchlatex.h"

#include "app/batchfiles.h"
#include "html/latexdocument.h"
#include "richtext/richedit.h"

#include <QWidget>

namespace tessary {

QByteArray LatexFile(const RichEdit &editor) {
    return LatexDocument::write(editor.document()).toUtf8();
}

QString ExportLatex(const QByteArray &in, const QByteArray &out) {
    if (const QString refused = BatchFiles::checkOutput(out, in); !refused.isNull())
        return refused;
    QWidget host;
    RichEdit editor(&host);
    if (const QString error = BatchFiles::load(editor, in); !error.isNull())
        return error;
    return BatchFiles::write(out, LatexFile(editor));
}

} // namespace tessary
