// libFuzzer target for the RTF reader. Each input is read (as a file and as a paste), written,
// read and written again; both writings must be equal, since the writer's output has to read
// back exactly.
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    static int argc = 3;
    static char arg0[] = "rtf_fuzz", arg1[] = "-platform", arg2[] = "offscreen";
    static char *argv[] = {arg0, arg1, arg2, nullptr};
    static QGuiApplication app(argc, argv); // fonts need a GUI application
    return 0;
}

static QByteArray roundTrip(const QByteArray &rtf) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    tessary::RtfReader::read(rtf, cursor);
    return tessary::RtfWriter::write(&doc);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument doc;
    QTextCursor cursor(&doc);
    if (!tessary::RtfReader::read(input, cursor))
        return 0;
    // Pasting the same data into the middle of the document exercises the fragment rules.
    int middle = doc.characterCount() / 2;
    if (doc.characterAt(middle).isLowSurrogate()) // a caret never splits a pair
        ++middle;
    cursor.setPosition(middle);
    tessary::RtfReader::read(input, cursor, tessary::RtfReader::Mode::Fragment);

    const QByteArray first = tessary::RtfWriter::write(&doc);
    const QByteArray second = roundTrip(first);
    if (first != second) {
        std::fprintf(stderr, "written RTF does not read back:\n%s\n---\n%s\n", first.constData(),
                     second.constData());
        std::abort();
    }
    return 0;
}
