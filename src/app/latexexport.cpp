#include "app/latexexport.h"

#include "app/batchfiles.h"
#include "app/batchlatex.h"
#include "platform/services.h"
#include "richtext/documentstate.h"
#include "richtext/editorcontext.h"
#include "richtext/richedit.h"

#include <QFile>
#include <QWidget>

namespace tessary {

LatexExport::LatexExport(EditorContext &context, QWidget *window)
    : QObject(window)
    , m(context)
    , m_window(window) {}

void LatexExport::FileExportLatexExecute() {
    m.HideFnHint();
    const QString out = Services::dialogs().saveFileName(
        m_window, QStringLiteral("Export LaTeX"), m.Document->proposedName(QStringLiteral(".tex")),
        QStringLiteral("LaTeX files (*.tex)"), QStringLiteral("tex"));
    if (out.isEmpty())
        return;
    const QByteArray name = QFile::encodeName(out);
    QString error = BatchFiles::checkOutput(name, QFile::encodeName(m.Document->CurrentFileName()));
    if (error.isNull())
        error = BatchFiles::write(name, LatexFile(*m.Editor));
    if (!error.isNull())
        Services::dialogs().message(m_window, QStringLiteral("Tessary"), error,
                                    QMessageBox::Critical);
}

} // namespace tessary
