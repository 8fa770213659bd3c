// A page recorded by RecordingCanvas painted on any painter: a printer, a
// PDF writer, an image. Text stays text, shapes stay shapes, so that a
// printer or a PDF file gets the page as vectors.
//
// Mask pen (new colour AND what is beneath) has no equivalent on a vector
// device: a PDF writer ignores composition modes. Since the whole page is
// known before it is painted, each mask-pen tint is painted beneath what it
// tints instead, right after the opaque fill it lands on (the white box of
// a panel), in the colour the AND gives on that fill; whatever was drawn in
// between over the tint takes the AND of its own colour and the tint's, so
// that black text stays black and coloured ink darkens as it does on the
// raster page.
#pragma once

#include "toolkit/recordingcanvas.h"

#include <QPainterPath>
#include <QRectF>
#include <QSizeF>

#include <vector>

class QPainter;

namespace abrevel {

// One thing to paint: an opaque rectangle or a recorded operation, either
// of them possibly limited to a clip path.
struct PaintItem {
  enum Kind { Fill, Op };
  Kind kind = Op;
  QRectF rect;   // Fill: the exact area filled
  QColor colour; // Fill: its colour
  DrawOp op;     // Op: painted in copy mode whatever its pen said
  bool clipped = false;
  QPainterPath clip;
};

// The recorded operations in painting order with every mask-pen filled box
// and one-pixel horizontal line turned into an opaque fill beneath what it
// tints. Other mask-pen shapes keep their place and are painted opaque.
std::vector<PaintItem> withTintsBeneath(const std::vector<DrawOp> &ops);

// Paints the recorded page at the resolution it was recorded at (the fonts
// are those of that resolution) on painter, whose coordinates are pixels of
// that page; a Clear fills the whole page of the given size.
void paintRecordedPage(QPainter &painter, const std::vector<DrawOp> &ops, const QSizeF &page,
                       double dpi);

} // namespace abrevel
