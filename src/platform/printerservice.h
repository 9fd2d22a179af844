#pragma once

#include <QList>
#include <QPicture>
#include <QString>
#include <memory>

class QPainter;
class QPaintDevice;
class QPrinter;
class QWidget;

namespace tessary {

// The figures the print engine speaks in, all in device pixels: logical pixels per inch, the
// whole sheet, where the printable area starts on it and how large that area is.
struct DeviceFigures {
    int logPixelsX = 300;
    int logPixelsY = 300;
    int physicalWidth = 0;
    int physicalHeight = 0;
    int physicalOffsetX = 0;
    int physicalOffsetY = 0;
    int horzRes = 0; // printable width
    int vertRes = 0; // printable height
    bool operator==(const DeviceFigures &other) const = default;
};

// Pages offered and chosen in the print dialog; on OK `from`..`to` is the user's range (the
// whole min..max when the user chose all pages).
struct PrintRange {
    int minPage = 1;
    int maxPage = 1;
    int from = 1;
    int to = 1;
};

// The printer as the print engine sees it. Documents are begun, paged and ended here, and
// drawn through `canvas()`, whose origin is the corner of the printable area.
class PrinterService {
public:
    virtual ~PrinterService() = default;
    virtual bool available() const = 0;
    // The figures of the current paper and orientation.
    virtual DeviceFigures figures() const = 0;
    virtual bool landscape() const = 0;
    virtual void setLandscape(bool landscape) = 0;
    // True between beginDoc and endDoc.
    virtual bool printing() const = 0;
    // The document name the spooler (or the proposed PDF name) shows.
    virtual QString title() const = 0;
    virtual void setTitle(const QString &title) = 0;
    // Starts a document; false when none could be started (the user cancelled the file
    // name, the device refused). newPage and endDoc only act inside a document.
    virtual bool beginDoc() = 0;
    virtual void newPage() = 0;
    virtual void endDoc() = 0;
    // The painter of the document being printed, null outside one.
    virtual QPainter *canvas() = 0;
    // The device text is laid out for, so fonts are measured at the printer's resolution;
    // null without a printer.
    virtual QPaintDevice *layoutDevice() = 0;
    // The system print dialog and printer set-up dialog; true when the user confirmed.
    virtual bool printDialog(QWidget *parent, PrintRange &range) = 0;
    virtual bool setupDialog(QWidget *parent) = 0;
    // True when a document goes into a file the user names: copies then share one document.
    virtual bool writesFile() const { return false; }
};

// QPrinter on the system's default printer, or, where none is installed, a PDF printer at
// 600 pixels per inch on the locale's paper with no unprintable border that asks for the
// file name (through the dialog service) each time a document begins.
class SystemPrinter : public PrinterService {
public:
    enum class Kind { Default, Pdf };
    explicit SystemPrinter(Kind kind = Kind::Default);
    ~SystemPrinter() override;
    bool writesFile() const override { return m_pdf; }
    QPrinter *printer() const { return m_printer.get(); }

    bool available() const override;
    DeviceFigures figures() const override;
    bool landscape() const override;
    void setLandscape(bool landscape) override;
    bool printing() const override;
    QString title() const override;
    void setTitle(const QString &title) override;
    bool beginDoc() override;
    void newPage() override;
    void endDoc() override;
    QPainter *canvas() override;
    QPaintDevice *layoutDevice() override;
    bool printDialog(QWidget *parent, PrintRange &range) override;
    bool setupDialog(QWidget *parent) override;

private:
    QString proposedPdfName() const;

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    QString m_title;
    bool m_pdf = false;
    // The file the user named in the print dialog, for the document that dialog begins.
    QString m_chosenFile;
};

// A machine without any printer: every figure is empty and nothing can be printed.
class NoPrinter : public PrinterService {
public:
    bool available() const override { return false; }
    DeviceFigures figures() const override { return {}; }
    bool landscape() const override { return false; }
    void setLandscape(bool) override {}
    bool printing() const override { return false; }
    QString title() const override { return m_title; }
    void setTitle(const QString &title) override { m_title = title; }
    bool beginDoc() override { return false; }
    void newPage() override {}
    void endDoc() override {}
    QPainter *canvas() override { return nullptr; }
    QPaintDevice *layoutDevice() override { return nullptr; }
    bool printDialog(QWidget *, PrintRange &) override { return false; }
    bool setupDialog(QWidget *) override { return false; }

private:
    QString m_title;
};

// A printer with fixed figures that records every printed page into a picture, for runs
// that must not reach real hardware. Turning it to landscape swaps the figures' axes. Its
// dialogs are answered by the dialog service.
class FixedPrinter : public PrinterService {
public:
    // 600 pixels per inch, Letter, a 50-pixel unprintable border all round.
    static DeviceFigures letter600();
    explicit FixedPrinter(const DeviceFigures &figures = letter600());
    ~FixedPrinter() override;

    // Every page printed so far, in order, and how many documents were begun.
    const QList<QPicture> &pages() const { return m_pages; }
    int documents() const { return m_documents; }
    void setFigures(const DeviceFigures &figures) { m_figures = figures; }

    bool available() const override { return true; }
    DeviceFigures figures() const override;
    bool landscape() const override { return m_landscape; }
    void setLandscape(bool landscape) override { m_landscape = landscape; }
    bool printing() const override { return m_painter != nullptr; }
    QString title() const override { return m_title; }
    void setTitle(const QString &title) override { m_title = title; }
    bool beginDoc() override;
    void newPage() override;
    void endDoc() override;
    QPainter *canvas() override { return m_painter.get(); }
    QPaintDevice *layoutDevice() override;
    bool printDialog(QWidget *parent, PrintRange &range) override;
    bool setupDialog(QWidget *parent) override;

private:
    void startPage();
    void finishPage();

    DeviceFigures m_figures;
    bool m_landscape = false;
    QString m_title;
    QList<QPicture> m_pages;
    QPicture m_current;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QPaintDevice> m_layoutDevice;
    int m_documents = 0;
};

} // namespace tessary
