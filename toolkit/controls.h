// The window's three picture controls, which page drawers borrow as scratch
// objects and reset when they are done.
//
//  - Image1, the measuring image: holds a picture so that its natural size
//    can be read. Like an image control that sizes itself to its picture,
//    it keeps its last size when it is emptied. A load that fails leaves it
//    empty and 0 × 0: a missing picture never lends its place to the
//    picture loaded before it, neither its pixels nor its size.
//  - ImageList1, the image list: holds pictures of one size and draws one
//    with its key colour transparent.
//  - Picturetampon, the buffer: an off-screen picture box with a persistent
//    image in which a picture is composed before being copied to the target.
//
// Key colour: every keyed picture uses pure white, RGB(255, 255, 255), as
// its key; pixels a file already marks transparent (GIF) count as key too.
// The pictures are drawn for that rule: what must show the page background
// is pure white, and nothing else in them is.
#pragma once

#include "toolkit/picture.h"

#include <QColor>
#include <QImage>
#include <QSize>

#include <vector>

namespace abrevel {

class Canvas;

// The key colour shared by every keyed picture.
QColor keyColour();
// A copy of the image in which key-coloured pixels are transparent.
QImage keyedImage(const QImage &image);

class ImageControl {
public:
  ImageControl(int width, int height) : m_size(width, height) {}

  const abrevel::Picture &Picture() const { return m_picture; }
  // An empty picture keeps the control's size.
  void setPicture(abrevel::Picture picture);
  // After a load that failed: no picture and no size.
  void unload() {
    m_picture = abrevel::Picture();
    m_size = QSize(0, 0);
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
  // After a load that failed: no image and no size.
  void unload() {
    m_images.clear();
    m_size = QSize(0, 0);
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
  // The persistent image as a picture, named after the file last composed
  // in it (until it is cleared or resized).
  abrevel::Picture ImagePicture() const { return abrevel::Picture(m_image, m_source); }
  void setSource(const QString &file) { m_source = file; }

  const abrevel::Picture &Picture() const { return m_picture; }
  void setPicture(abrevel::Picture picture) { m_picture = std::move(picture); }

  // Draws an image into the persistent image at (x, y), pixel for pixel, its
  // transparent pixels letting the buffer show (image list draw).
  void drawTransparent(const QImage &image, int x, int y);
  // Paints a picture into the persistent image stretched to w × h; a
  // negative w paints it turned left to right, extending leftwards from x.
  void paintStretched(const abrevel::Picture &picture, int x, int y, int w, int h);

private:
  // Copies a keyed image's opaque pixels; false, part done, at the first
  // pixel that is neither clear nor opaque.
  bool composeKeyed(const QImage &image, int x, int y);

  QImage m_image;
  QColor m_back = QColor(255, 255, 255);
  QString m_source;
  abrevel::Picture m_picture;
};

} // namespace abrevel
