// The window's three picture controls, which page drawers borrow as scratch
// objects and reset when they are done.
//
//  - Image1, the measuring image: holds a picture so that its natural size
//    can be read. Like an image control that sizes itself to its picture,
//    it keeps its last size when it is emptied. A load that fails leaves it
//    empty, with the size of the place the picture takes (PictureSlot), or
//    0 × 0 for a file the folder does not ship: a missing picture never
//    lends its place to the picture loaded before it, neither its pixels
//    nor its size, and what lies around it stays where it would be.
//  - ImageList1, the image list: holds pictures of one size and draws one
//    with its key colour transparent.
//  - Picturetampon, the buffer: an off-screen picture box with a persistent
//    image in which a picture is composed before being copied to the target.
//
// Key colour: every keyed picture uses pure white, RGB(255, 255, 255), as
// its key; pixels a file already marks transparent (GIF) count as key too.
// The pictures are drawn on white paper, and white is where the page
// background shows. What the drawing blended with that paper shows it too,
// in part: its anti-aliased edges, and pale margins of near-white joined to
// the key. These are un-blended from white into partial transparency, so
// that they blend with whatever background the picture lands on (the
// window's cream on screen) and come back exactly as drawn on white paper.
// Near-white areas enclosed by the drawing keep their colour.
#pragma once

#include "toolkit/picture.h"
#include "toolkit/picturepaint.h"

#include <QColor>
#include <QImage>
#include <QSize>

#include <vector>

namespace abrevel {

class Canvas;

// The key colour shared by every keyed picture.
QColor keyColour();
// A premultiplied copy of the image in which key-coloured pixels are
// transparent and the pixels that blended with the page partly so.
QImage keyedImage(const QImage &image);

class ImageControl {
public:
  ImageControl(int width, int height) : m_size(width, height) {}

  const abrevel::Picture &Picture() const { return m_picture; }
  // An empty picture keeps the control's size.
  void setPicture(abrevel::Picture picture);
  // After a load that failed: no picture, and the size of the place the
  // picture would have taken (none when that is not known).
  void unload(QSize place = QSize()) {
    m_picture = abrevel::Picture();
    m_size = place.isValid() ? place : QSize(0, 0);
  }
  int Width() const { return m_size.width(); }   // screen pixels
  int Height() const { return m_size.height(); } // screen pixels

private:
  abrevel::Picture m_picture;
  QSize m_size;
};

class ImageList {
public:
  // The size of the list's images: fixed by the first picture added to an
  // empty list, and still reported after the list is cleared.
  int ImageWidth() const { return m_size.width(); }
  int ImageHeight() const { return m_size.height(); }
  int Count() const { return static_cast<int>(m_images.size()); }

  void Clear() { m_images.clear(); }
  // After a load that failed: no image, and the size of the place the
  // picture would have taken (none when that is not known).
  void unload(QSize place = QSize()) {
    m_images.clear();
    m_size = place.isValid() ? place : QSize(0, 0);
  }
  // Adding an empty picture is an error.
  void Add(const abrevel::Picture &picture);
  // The image at index (counted from 1) with its key colour transparent;
  // an index with no image is an error.
  QImage Transparent(int index) const;

private:
  std::vector<QImage> m_images;
  QSize m_size;
};

class PictureBuffer {
public:
  PictureBuffer(int width, int height);

  int Width() const { return m_image.width(); }
  int Height() const { return m_image.height(); }
  // New size in screen pixels; the persistent image is erased.
  void resize(int width, int height);
  // Setting the background colour erases the persistent image to it.
  void setBackColor(const QColor &color);
  QColor BackColor() const { return m_back; }
  void Cls();

  // The persistent image, where drawing into the buffer lands.
  QImage &Image() { return m_image; }
  const QImage &Image() const { return m_image; }
  // The persistent image as a picture. When the buffer holds one picture
  // file and nothing else, the image says which (picturepaint.h), so that
  // the file's drawing can be painted in its place.
  abrevel::Picture ImagePicture() const { return abrevel::Picture(m_image); }

  const abrevel::Picture &Picture() const { return m_picture; }
  void setPicture(abrevel::Picture picture) { m_picture = std::move(picture); }

  // Draws an image into the persistent image at (x, y), pixel for pixel, its
  // transparent pixels letting the buffer show (image list draw).
  void drawTransparent(const QImage &image, int x, int y);
  // Paints a picture into the persistent image stretched to w × h; a
  // negative w paints it turned left to right, extending leftwards from x.
  void paintStretched(const abrevel::Picture &picture, int x, int y, int w, int h);

private:
  // Lays a premultiplied image over the persistent image.
  void composeKeyed(const QImage &image, int x, int y);
  // Records what the buffer holds after a picture is drawn into it.
  void holdOrigin(PictureOrigin origin, bool wholeBuffer);

  QImage m_image;
  bool m_blank = true; // nothing drawn since the last erase
  QColor m_back = QColor(255, 255, 255);
  abrevel::Picture m_picture;
};

} // namespace abrevel
