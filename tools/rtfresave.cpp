// Opens an RTF file in the rich-text control, through the same reader as the program, and
// saves it again through the same writer, for comparing the two in another word processor
// (scripts/roundtrip-check.sh):
//   QT_QPA_PLATFORM=offscreen build/tools/rtfresave IN.rtf OUT.rtf
#include "richtext/richedit.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

using namespace tessary;

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: rtfresave IN.rtf OUT.rtf\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "rtfresave: cannot read %s\n", argv[1]);
        return 1;
    }
    RichEdit edit;
    if (edit.loadData(in.readAll()) != RichEdit::LoadResult::Rtf) {
        std::fprintf(stderr, "rtfresave: %s is not RTF\n", argv[1]);
        return 1;
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(edit.rtfData()) < 0) {
        std::fprintf(stderr, "rtfresave: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
