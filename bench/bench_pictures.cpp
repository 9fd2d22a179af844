// Opening a 400 KB RTF document that is mostly pictures (PNG, JPEG, a metafile), and typing
// right after a picture in it.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_pictures
// Prints the median of 7 opens (read + load into the editor + first paint) and the median
// and 95th percentile time per keystroke (event handling, layout, paint).
#include "benchdocument.h"
#include "rtf/rtfpictures.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tessary;

namespace {

// Noise does not compress, so each picture weighs what a photograph of its size would.
QByteArray pictureGroup(int index) {
    QImage image(48 + index % 5 * 8, 48, QImage::Format_RGB32);
    QRandomGenerator random(quint32(index + 1));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    if (index % 3 != 1)
        return RtfPictures::pngGroup(image, QSizeF(image.size()) * 2);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return "{\\pict\\jpegblip\\picwgoal1440\\pichgoal1440\n" + jpeg.toHex() + "}";
}

QByteArray picturesDocument(int bytes) {
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}"
                     "{\\f1\\fmodern Courier New Even;}{\\f2\\fmodern Courier New High;}}\n";
    for (int i = 0; rtf.size() < bytes; ++i) {
        rtf += "\\f0 Figure " + QByteArray::number(i) + ": the curve \\f1 y = x\\f2 2\\f0  ";
        rtf += i % 10 == 9 ? "{\\pict\\wmetafile8\\picwgoal2000\\pichgoal1000 0100090000030c}"
                           : pictureGroup(i);
        rtf += " as measured.\\par\n";
    }
    return rtf + "}";
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    bench::BenchWindow window;
    RichEdit *editor = window.form->editor();
    const QByteArray rtf = picturesDocument(400 * 1024);
    std::vector<double> open;
    QElapsedTimer timer;
    for (int run = 0; run < 7; ++run) {
        timer.start();
        editor->loadData(rtf);
        editor->repaint();
        QCoreApplication::processEvents();
        open.push_back(timer.nsecsElapsed() / 1e6);
    }
    const QString text = editor->document()->toRawText();
    QTextCursor at(editor->document());
    at.setPosition(int(text.indexOf(QChar::ObjectReplacementCharacter)) + 1);
    editor->setTextCursor(at);
    const QString keys = QStringLiteral("x2 + y_i = a");
    std::vector<double> ms;
    for (int i = 0; i < 2000; ++i) {
        timer.start();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(keys.at(i % keys.size())));
        QCoreApplication::sendEvent(editor, &press);
        QCoreApplication::processEvents();
        editor->lineCount();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("document: %lld bytes of RTF, %lld pictures\n", qlonglong(rtf.size()),
                qlonglong(text.count(QChar::ObjectReplacementCharacter)));
    std::printf("open median %.1f ms\n", median(open));
    std::sort(ms.begin(), ms.end());
    std::printf("keystroke after a picture: median %.3f ms, p95 %.3f ms\n", ms[ms.size() / 2],
                ms[ms.size() * 95 / 100]);
    return 0;
}
