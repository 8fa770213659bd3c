#include "toolkit/devices.h"

#include "toolkit/colors.h"
#include "toolkit/errors.h"
#include "toolkit/pictureslots.h"

#include <algorithm>

namespace abrevel {

namespace {
// A picture of the application folder as the devices draw it. The drawings
// lie on white paper, and the page shows where the paper was: on the
// window, its white, and what the drawing blended with it, let the window's
// colour show through (see keyedImage), so that no picture stands in a
// white box or halo on the cream. On paper the page is the white they were
// drawn on, and they are painted as they are (the image list keys its own
// copy). Photographs (JPEG) draw their own ground and frame, and are drawn
// as they are everywhere.
Picture loadDrawing(const Page &p, const QString &path) {
  Picture picture = LoadPicture(path);
  if (p.scale != 1.0f || path.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
      path.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive))
    return picture;
  return Picture(keyedImage(picture.image()), picture.source());
}

// Loads a file into the measuring image; a file that cannot be loaded
// leaves it empty, with the size of its place, before the error goes on.
void loadInto(const Page &p, ImageControl &image, const QString &path) {
  try {
    image.setPicture(loadDrawing(p, path));
  } catch (const DrawError &) {
    image.unload(PictureSlot(path));
    throw;
  }
}
} // namespace

// ----- Measures -----------------------------------------------------------------

double W(const Page &p) { return p.cv().ScaleWidth(); }
double M(const Page &p) { return W(p) / 20; }
double L(const Page &p) { return p.cv().TextHeight(QStringLiteral("W")); }
double TW(const Page &p, const QString &text) { return p.cv().TextWidth(text); }
double TH(const Page &p, const QString &text) { return p.cv().TextHeight(text); }
std::int16_t I16(double value) { return toInt16(value); }

// ----- Screen start, spacing, screen end -------------------------------------------

void ScreenStart(Page &p, const QString &heading) {
  p.cv().CurrentX = M(p);
  p.cv().CurrentY = p.line;
  PrintHeading(p, heading);
}

void HeadingsSideBySide(Page &p, const QString &left, const QString &right) {
  Canvas &cv = p.cv();
  cv.CurrentX = M(p);
  cv.CurrentY = p.line;
  PrintHeading(p, left);
  cv.CurrentX = W(p) / 2;
  cv.CurrentY = p.line;
  PrintHeading(p, right);
}

void BodyFont(Page &p) {
  p.cv().Font.Size = 10;
  p.cv().Font.Bold = false;
}

void BlankLines(Page &p, int n) {
  for (int i = 0; i < n; ++i)
    p.cv().Print();
}

void PrinterBlankLine(Page &p) {
  if (p.scale != 1.0f)
    p.cv().Print();
}

void HalfLineGap(Page &p) { p.cv().CurrentY += L(p) / 2; }

void StoreLine(Page &p) {
  p.step([&] { p.line = toInt16(p.cv().CurrentY); });
}

// ----- Text ----------------------------------------------------------------------

namespace {

// The text between an opening mark and its closing mark, from position i
// (just after the opening mark); i moves past the closing mark. Without a
// closing mark the rest of the line is taken.
QString takeUntil(const QString &text, qsizetype &i, const QString &close) {
  const qsizetype end = text.indexOf(close, i);
  const qsizetype stop = end < 0 ? text.size() : end;
  QString inner = text.mid(i, stop - i);
  i = end < 0 ? text.size() : end + close.size();
  return inner;
}

} // namespace

void PrintRich(Page &p, const QString &text, End end) {
  Canvas &cv = p.cv();
  QString plain;
  auto flush = [&] {
    if (!plain.isEmpty())
      cv.PrintRun(plain);
    plain.clear();
  };
  qsizetype i = 0;
  while (i < text.size()) {
    const QChar c = text[i];
    const QStringView rest = QStringView(text).mid(i);
    if (c == QLatin1Char('\\') && i + 1 < text.size()) {
      plain += text[i + 1];
      i += 2;
    } else if (rest.startsWith(QLatin1String("**"))) {
      flush();
      i += 2;
      PrintBold(p, takeUntil(text, i, QStringLiteral("**")));
    } else if (c == QLatin1Char('*')) {
      flush();
      i += 1;
      PrintItalic(p, takeUntil(text, i, QStringLiteral("*")));
    } else if (rest.startsWith(QLatin1String("^{"))) {
      flush();
      i += 2;
      PrintSuperscript(p, takeUntil(text, i, QStringLiteral("}")));
    } else if (rest.startsWith(QLatin1String("^5{")) || rest.startsWith(QLatin1String("^L{"))) {
      flush();
      const Raise raise =
          text[i + 1] == QLatin1Char('5') ? Raise::FiveUnits : Raise::ThreeTenthsLine;
      i += 3;
      PrintExponent(p, cv.CurrentY, takeUntil(text, i, QStringLiteral("}")), raise);
    } else if (rest.startsWith(QLatin1String("_{"))) {
      flush();
      i += 2;
      PrintSubscript(p, takeUntil(text, i, QStringLiteral("}")));
    } else if (rest.startsWith(QLatin1String("{S:"))) {
      flush();
      i += 3;
      PrintSymbol(p, takeUntil(text, i, QStringLiteral("}")));
    } else if (rest.startsWith(QLatin1String("{V:"))) {
      flush();
      i += 3;
      PrintVector(p, takeUntil(text, i, QStringLiteral("}")));
    } else {
      plain += c;
      i += 1;
    }
  }
  flush();
  if (end == End::Line)
    cv.Print();
}

void PrintExponent(Page &p, double lineTop, const QString &exponent, Raise raise) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  cv.Font.Size = 8;
  switch (raise) {
  case Raise::ThreeUnits:
    cv.CurrentY = lineTop - 3 * s;
    break;
  case Raise::FiveUnits:
    cv.CurrentY = lineTop - 5 * s;
    break;
  case Raise::ThreeTenthsLine:
    cv.CurrentY = lineTop - 0.3 * L(p);
    break;
  }
  {
    const MarkText marked(cv, ExponentText);
    PrintRich(p, exponent, End::Run);
  }
  cv.Font.Size = 10;
  cv.CurrentY = lineTop;
}

void PrintLines(Page &p, double x, const QStringList &lines) {
  for (const QString &line : lines) {
    p.cv().CurrentX = x;
    PrintRich(p, line);
  }
}

void PrintBullet(Page &p, double x, const QString &text, End end) {
  p.cv().CurrentX = x;
  PrintSymbol(p, text.startsWith(QLatin1Char(' ')) ? QStringLiteral("·") : QStringLiteral("· "));
  PrintRich(p, text, end);
}

void PrintBulletParagraph(Page &p, double x, const QStringList &lines) {
  if (lines.isEmpty())
    return;
  PrintBullet(p, x, lines.first());
  PrintLines(p, x, lines.mid(1));
}

namespace {
// The plain text a measuring template stands for: marks removed.
QString measureOf(const QString &text, const QString &measure) {
  if (!measure.isEmpty())
    return measure;
  QString plain = text;
  for (const char *mark : {"**", "*", "^{", "^5{", "^L{", "_{", "{S:", "{V:", "}", "\\"})
    plain.remove(QLatin1String(mark));
  return plain;
}
} // namespace

void PrintCentredOnPage(Page &p, const QString &text, End end, const QString &measure) {
  p.cv().CurrentX = (W(p) - TW(p, measureOf(text, measure))) / 2;
  PrintRich(p, text, end);
}

void PrintCentredOn(Page &p, double centre, const QString &text, End end, const QString &measure) {
  p.cv().CurrentX = centre - TW(p, measureOf(text, measure)) / 2;
  PrintRich(p, text, end);
}

void PrintCentredInBox(Page &p, double x1, double x2, const QString &text, End end,
                       const QString &measure) {
  p.cv().CurrentX = (x1 + x2 - TW(p, measureOf(text, measure))) / 2;
  PrintRich(p, text, end);
}

void PrintFraction(Page &p, double x, double yRule, double width, const QString &numerator,
                   const QString &denominator, const QColor &rule) {
  Canvas &cv = p.cv();
  cv.CurrentY = yRule - TH(p, measureOf(numerator, QString()));
  {
    const MarkText marked(cv, NumeratorText);
    PrintCentredInBox(p, x, x + width, numerator, End::Run);
  }
  cv.CurrentY = yRule;
  {
    const MarkText marked(cv, DenominatorText);
    PrintCentredInBox(p, x, x + width, denominator, End::Run);
  }
  cv.Line(x, yRule, x + width, yRule, rule);
}

// ----- Tables ----------------------------------------------------------------------

void ShadowedTable(Page &p, const TableGrid &grid, const std::vector<int> &lightRows) {
  if (grid.columns.size() < 2 || grid.rows.size() < 2)
    return;
  Canvas &cv = p.cv();
  if (cv.textLog)
    cv.textLog->addTable(grid.columns, grid.rows);
  const double s = p.scale;
  const double left = grid.columns.front(), right = grid.columns.back();
  const double top = grid.rows.front(), bottom = grid.rows.back();
  cv.Line(left + 3 * s, top + 3 * s, right + 3 * s, bottom + 3 * s, QBColor(7),
          LineForm::FilledBox);
  cv.Line(left, top, right, bottom, QBColor(15), LineForm::FilledBox);
  const auto isLight = [&](size_t k) {
    return std::find(lightRows.begin(), lightRows.end(), static_cast<int>(k)) != lightRows.end();
  };
  for (size_t k = 1; k + 1 < grid.rows.size(); ++k)
    if (isLight(k))
      cv.Line(left, grid.rows[k], right, grid.rows[k], QBColor(14));
  cv.Line(left, top, right, bottom, QBColor(9), LineForm::Box);
  for (size_t k = 1; k + 1 < grid.rows.size(); ++k)
    if (!isLight(k))
      cv.Line(left, grid.rows[k], right, grid.rows[k], QBColor(9));
  for (size_t k = 1; k + 1 < grid.columns.size(); ++k)
    cv.Line(grid.columns[k], top, grid.columns[k], bottom, QBColor(9));
}

void StartInCell(Page &p, const TableGrid &grid, int column, int row, const QString &measure) {
  const auto c = static_cast<size_t>(column), r = static_cast<size_t>(row);
  const double rowTop = grid.rows.at(r), rowHeight = grid.rows.at(r + 1) - rowTop;
  p.cv().CurrentY = rowTop + rowHeight / 2.0 - TH(p, measure) / 2;
  p.cv().CurrentX = (grid.columns.at(c) + grid.columns.at(c + 1) - TW(p, measure)) / 2;
}

// ----- Pictures -------------------------------------------------------------------

PictureSize PrepareKeyed(Page &p, const QString &file, bool measureInImage1) {
  const QString path = p.AppFolder + file;
  // The measuring image and the image list each take the file; a file the
  // measuring image has just read is not decoded a second time.
  bool measured = false;
  if (measureInImage1)
    p.step([&] {
      loadInto(p, p.Image1, path);
      measured = true;
    });
  p.ImageList1.Clear();
  p.step([&] {
    try {
      p.ImageList1.Add(measured ? p.Image1.Picture() : loadDrawing(p, path));
    } catch (const DrawError &) {
      // Nothing to compose: the paint that follows draws nothing. The list
      // and the buffer take the size of the picture's place (0 × 0 when it
      // is not known), never a stale size, for the layout that reads them.
      const QSize place = PictureSlot(path);
      p.ImageList1.unload(place);
      p.Picturetampon.resize(p.ImageList1.ImageWidth(), p.ImageList1.ImageHeight());
      throw;
    }
  });
  if (p.ImageList1.Count() == 0)
    return PictureSize(p.ImageList1.ImageWidth(), p.ImageList1.ImageHeight());
  p.Picturetampon.resize(p.ImageList1.ImageWidth(), p.ImageList1.ImageHeight());
  p.Picturetampon.Cls();
  // The key colour shows the page: the window's colour on screen, white on
  // paper (a printer as fine as the screen counts as the screen).
  p.Picturetampon.setBackColor(p.scale == 1.0f ? p.windowColour : QBColor(15));
  p.step([&] { p.Picturetampon.drawTransparent(p.ImageList1.Transparent(1), 0, 0); });
  return PictureSize(p.ImageList1.ImageWidth(), p.ImageList1.ImageHeight());
}

void PaintKeyed(Page &p, double x, double y) {
  p.step([&] {
    if (p.ImageList1.Count() == 0 || p.Picturetampon.Width() == 0 || p.Picturetampon.Height() == 0)
      throw DrawError("no keyed picture to paint");
    p.cv().PaintPicture(p.Picturetampon.ImagePicture(), x, y);
  });
}

std::int16_t KeyedPictureCentred(Page &p, const QString &file) {
  Canvas &cv = p.cv();
  const double s = p.scale;
  PrepareKeyed(p, file);
  std::int16_t X = 0;
  p.step([&] { X = toInt16(W(p) / 2 - p.Image1.Width() * s / 2); });
  PaintKeyed(p, X, cv.CurrentY);
  p.step([&] { cv.CurrentY = cv.CurrentY + p.ImageList1.ImageHeight() * s; });
  return X;
}

PictureSize MeasurePicture(Page &p, const QString &file) {
  p.step([&] { loadInto(p, p.Image1, p.AppFolder + file); });
  return PictureSize(p.Image1.Width(), p.Image1.Height());
}

void PaintFile(Page &p, const QString &file, double x, double y) {
  p.step([&] { p.cv().PaintPicture(loadDrawing(p, p.AppFolder + file), x, y); });
}

void PaintImage1(Page &p, double x, double y) {
  p.step([&] { p.cv().PaintPicture(p.Image1.Picture(), x, y); });
}

void PaintImage1(Page &p, double x, double y, double w, double h) {
  p.step([&] { p.cv().PaintPicture(p.Image1.Picture(), x, y, w, h); });
}

PictureSize PrepareScaledTransparent(Page &p, const QString &file) {
  bool loaded = false;
  p.step([&] {
    loadInto(p, p.Image1, p.AppFolder + file);
    loaded = true;
  });
  // A file that cannot be loaded leaves nothing to draw, and the size of
  // its place.
  if (!loaded) {
    const QSize place = PictureSlot(file);
    const QSize scaled =
        place.isValid() ? QSize(toInt16(place.width() * p.scale), toInt16(place.height() * p.scale))
                        : QSize(0, 0);
    p.Image1.unload(scaled);
    p.ImageList1.unload(scaled);
    return scaled;
  }
  p.step([&] {
    const double s = p.scale;
    const int w = toInt16(p.Image1.Width() * s);
    const int h = toInt16(p.Image1.Height() * s);
    p.Picturetampon.resize(w, h);
    // The buffer starts as key colour, so that what the file leaves
    // transparent stays transparent when the image list draws it.
    p.Picturetampon.setBackColor(keyColour());
    p.Picturetampon.paintStretched(p.Image1.Picture(), 0, 0, w, h);
  });
  p.Image1.setPicture(p.Picturetampon.ImagePicture());
  p.Picturetampon.Cls();
  p.Picturetampon.setPicture(LoadPicture());
  p.Picturetampon.resize(1, 1);
  p.ImageList1.Clear();
  p.step([&] { p.ImageList1.Add(p.Image1.Picture()); });
  return PictureSize(p.Image1.Width(), p.Image1.Height());
}

void DrawScaledTransparent(Page &p, double x, double y) {
  p.step([&] {
    p.cv().DrawTransparent(p.ImageList1.Transparent(1), x, y, p.Image1.Picture().source());
  });
}

void PictureCleanUp(Page &p, bool bufferUsed) {
  p.ImageList1.Clear();
  p.Image1.setPicture(LoadPicture());
  p.Picturetampon.setPicture(LoadPicture());
  if (bufferUsed)
    p.Picturetampon.resize(1, 1);
}

// ----- Shapes --------------------------------------------------------------------------

void ArrowHead(Page &p, double tipX, double tipY, Pointing dir, const QColor &color) {
  const double s = p.scale;
  double back = 6 * s, side = 3 * s;
  switch (dir) {
  case Pointing::Down:
    p.cv().Line(tipX - side, tipY - back, tipX, tipY, color);
    p.cv().Line(tipX + side, tipY - back, tipX, tipY, color);
    break;
  case Pointing::Up:
    p.cv().Line(tipX - side, tipY + back, tipX, tipY, color);
    p.cv().Line(tipX + side, tipY + back, tipX, tipY, color);
    break;
  case Pointing::Right:
    p.cv().Line(tipX - back, tipY - side, tipX, tipY, color);
    p.cv().Line(tipX - back, tipY + side, tipX, tipY, color);
    break;
  case Pointing::Left:
    p.cv().Line(tipX + back, tipY - side, tipX, tipY, color);
    p.cv().Line(tipX + back, tipY + side, tipX, tipY, color);
    break;
  }
}

void WhiteBox(Page &p, double x1, double y1, double x2, double y2) {
  p.cv().Line(x1, y1, x2, y2, QBColor(15), LineForm::FilledBox);
}

void TintPanel(Page &p, double x1, double y1, double x2, double y2, const QColor &top,
               const QColor &bottom) {
  p.cv().DrawMode = MaskPen;
  DrawGradient(p, x1, y1, x2, y2, top.red(), top.green(), top.blue(), bottom.red(), bottom.green(),
               bottom.blue());
  p.cv().DrawMode = CopyPen;
}

void Highlight(Page &p, double x1, double y1, double x2, double y2, const QColor &colour) {
  p.cv().DrawMode = MaskPen;
  p.cv().Line(x1, y1, x2, y2, colour, LineForm::FilledBox);
  p.cv().DrawMode = CopyPen;
}

void FilledCircle(Page &p, double cx, double cy, double r, const QColor &outline,
                  const QColor &fill, double aspect) {
  Canvas &cv = p.cv();
  cv.FillStyle = 0;
  cv.FillColor = fill;
  cv.Circle(cx, cy, r, outline, aspect);
  cv.FillStyle = 1;
}

} // namespace abrevel
