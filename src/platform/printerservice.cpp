#include "platform/printerservice.h"

#include "platform/services.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <utility>

namespace tessary {

namespace {

// A device that only answers metrics: text laid out for it is measured at its resolution.
class MetricsDevice : public QPaintDevice {
public:
    DeviceFigures figures;
    QPaintEngine *paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return figures.horzRes;
        case PdmHeight:
            return figures.vertRes;
        case PdmWidthMM:
            return qRound(figures.horzRes * 25.4 / figures.logPixelsX);
        case PdmHeightMM:
            return qRound(figures.vertRes * 25.4 / figures.logPixelsY);
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return figures.logPixelsX;
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return figures.logPixelsY;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(m);
        }
    }
};

std::unique_ptr<PrinterService> &printerSlot() {
    static std::unique_ptr<PrinterService> service;
    return service;
}

} // namespace

// ---- the system printer ----------------------------------------------------------------

SystemPrinter::SystemPrinter(Kind kind) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    m_pdf = kind == Kind::Pdf || info.isNull();
    if (!m_pdf) {
        m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        return;
    }
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setResolution(600);
    const bool inches = QLocale::system().measurementSystem() != QLocale::MetricSystem;
    m_printer->setPageSize(QPageSize(inches ? QPageSize::Letter : QPageSize::A4));
    m_printer->setFullPage(true);
    m_printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

SystemPrinter::~SystemPrinter() {
    endDoc();
}

bool SystemPrinter::available() const {
    if (m_pdf)
        return true;
    return m_printer->isValid() && !QPrinterInfo::availablePrinterNames().isEmpty();
}

DeviceFigures SystemPrinter::figures() const {
    const int resolution = m_printer->resolution();
    const QPageLayout layout = m_printer->pageLayout();
    const QRect sheet = layout.fullRectPixels(resolution);
    const QRect printable = layout.paintRectPixels(resolution);
    DeviceFigures f;
    f.logPixelsX = m_printer->logicalDpiX();
    f.logPixelsY = m_printer->logicalDpiY();
    f.physicalWidth = sheet.width();
    f.physicalHeight = sheet.height();
    f.physicalOffsetX = printable.left() - sheet.left();
    f.physicalOffsetY = printable.top() - sheet.top();
    f.horzRes = printable.width();
    f.vertRes = printable.height();
    return f;
}

bool SystemPrinter::landscape() const {
    return m_printer->pageLayout().orientation() == QPageLayout::Landscape;
}

void SystemPrinter::setLandscape(bool landscape) {
    m_printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool SystemPrinter::printing() const {
    return m_painter != nullptr;
}

QString SystemPrinter::title() const {
    return m_title;
}

// A title given as a path shows as the document's name alone; its folder is where the PDF
// printer proposes the file.
void SystemPrinter::setTitle(const QString &title) {
    m_title = title;
    const QFileInfo info(title);
    m_printer->setDocName(info.isAbsolute() ? info.completeBaseName() : title);
}

QString SystemPrinter::proposedPdfName() const {
    const QString &title = m_title;
    const QFileInfo info(title.isEmpty() ? QStringLiteral("untitled") : title);
    const QString name = info.completeBaseName() + QStringLiteral(".pdf");
    return info.isAbsolute() ? info.dir().filePath(name) : QDir::home().filePath(name);
}

bool SystemPrinter::beginDoc() {
    if (m_painter)
        return false;
    if (m_pdf) {
        QString name = std::exchange(m_chosenFile, QString());
        if (name.isEmpty())
            name = Services::dialogs().saveFileName(
                nullptr, QStringLiteral("Print to PDF"), proposedPdfName(),
                QStringLiteral("PDF files (*.pdf)"), QStringLiteral("pdf"));
        if (name.isEmpty())
            return false;
        m_printer->setOutputFileName(name);
    }
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_printer.get()))
        return false;
    m_painter = std::move(painter);
    return true;
}

void SystemPrinter::newPage() {
    if (m_painter)
        m_printer->newPage();
}

void SystemPrinter::endDoc() {
    if (!m_painter)
        return;
    m_painter->end();
    m_painter.reset();
}

QPainter *SystemPrinter::canvas() {
    return m_painter.get();
}

QPaintDevice *SystemPrinter::layoutDevice() {
    return m_printer.get();
}

bool SystemPrinter::printDialog(QWidget *parent, PrintRange &range) {
    // The print dialog of a PDF printer asks for the file itself (proposing ours); the
    // document it begins goes there without asking again.
    if (m_pdf)
        m_printer->setOutputFileName(proposedPdfName());
    const bool accepted = Services::dialogs().printDialog(parent, m_printer.get(), range);
    const bool toFile = m_pdf && m_printer->outputFormat() == QPrinter::PdfFormat;
    m_chosenFile = accepted && toFile ? m_printer->outputFileName() : QString();
    return accepted;
}

bool SystemPrinter::setupDialog(QWidget *parent) {
    return Services::dialogs().pageSetupDialog(parent, m_printer.get());
}

// ---- a printer with fixed figures ------------------------------------------------------

DeviceFigures FixedPrinter::letter600() {
    return {600, 600, 5100, 6600, 50, 50, 5000, 6500};
}

FixedPrinter::FixedPrinter(const DeviceFigures &figures)
    : m_figures(figures) {}

FixedPrinter::~FixedPrinter() {
    endDoc();
}

DeviceFigures FixedPrinter::figures() const {
    if (!m_landscape)
        return m_figures;
    const DeviceFigures &f = m_figures;
    return {f.logPixelsY,      f.logPixelsX,      f.physicalHeight, f.physicalWidth,
            f.physicalOffsetY, f.physicalOffsetX, f.vertRes,        f.horzRes};
}

void FixedPrinter::startPage() {
    m_current = QPicture();
    m_painter = std::make_unique<QPainter>(&m_current);
}

void FixedPrinter::finishPage() {
    m_painter->end();
    m_pages.append(m_current);
}

bool FixedPrinter::beginDoc() {
    if (m_painter)
        return false;
    ++m_documents;
    startPage();
    return true;
}

void FixedPrinter::newPage() {
    if (!m_painter)
        return;
    finishPage();
    startPage();
}

void FixedPrinter::endDoc() {
    if (!m_painter)
        return;
    finishPage();
    m_painter.reset();
}

QPaintDevice *FixedPrinter::layoutDevice() {
    if (!m_layoutDevice)
        m_layoutDevice = std::make_unique<MetricsDevice>();
    static_cast<MetricsDevice *>(m_layoutDevice.get())->figures = figures();
    return m_layoutDevice.get();
}

bool FixedPrinter::printDialog(QWidget *parent, PrintRange &range) {
    return Services::dialogs().printDialog(parent, nullptr, range);
}

bool FixedPrinter::setupDialog(QWidget *parent) {
    return Services::dialogs().pageSetupDialog(parent, nullptr);
}

// ---- the service slot -------------------------------------------------------------------

PrinterService &Services::printer() {
    auto &slot = printerSlot();
    if (!slot)
        slot = std::make_unique<SystemPrinter>();
    return *slot;
}

void Services::setPrinter(std::unique_ptr<PrinterService> service) {
    printerSlot() = std::move(service);
}

std::unique_ptr<PrinterService> Services::takePrinter() {
    return std::move(printerSlot());
}

} // namespace tessary
