#pragma once

#include <QImage>
#include <QPixmap>

namespace tessary {

// The preview toolbar's buttons, in toolbar order.
enum TButtonKind {
    btnPrint,
    btnPrintDialog,
    btnPrinterSetupDialog,
    btnFirstPage,
    btnPrevPage,
    btnNextPage,
    btnLastPage,
    btnWholePage,
    btnPageWidth,
    btnZoomOut,
    btnZoomIn,
    btnRefresh,
    btnClose,
    btnUser
};
inline constexpr int ButtonKindCount = btnUser + 1;
inline constexpr int GlyphSize = 16;

// The "SMALL" strip: one 16 x 16 glyph per button kind from btnPrint to btnClose, side by
// side (208 x 16). Every glyph pairs a dark outline with light or coloured fills, so it reads
// on dark and light button faces alike.
const QImage &SmallGlyphStrip();
// Columns 16k..16k+15 of the strip; a null pixmap for btnUser, which brings its own.
QPixmap ButtonGlyph(TButtonKind kind);

} // namespace tessary
