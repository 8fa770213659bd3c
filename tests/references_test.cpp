// Every screen as `--render-screen` draws it and every chapter's page as
// `--print-chapter` prints it, against the pixels they had when the
// references in tests/references.txt were made: a change anywhere in the
// drawers, the devices, the primitives or the window's picture that moves
// a single pixel shows here. After an intended change, make them again with
//
//   ABREVEL_UPDATE_REFERENCES=1 build/abrevel_tests --gtest_filter='References.*'
//
// and look at what changed (tools/compare-renders.sh shows it against the
// build before the change) before committing the new file.
//
// The references hold for the fonts and the picture decoders they were made
// with. A fingerprint of plain Qt text in the course's faces and of one
// decoded photograph is stored with them: on a machine where these come
// out differently, the comparison cannot hold and is skipped, saying why.
#include "shell/commandline.h"
#include "shell/printing.h"
#include "shell/screentable.h"
#include "toolkit/page.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <gtest/gtest.h>

#include <map>

using namespace abrevel;

namespace {

const QString ReferenceFile = QStringLiteral(ABREVEL_SOURCE_DIR "/tests/references.txt");

QString pixelHash(const QImage &image) {
  const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
  QCryptographicHash hash(QCryptographicHash::Md5);
  for (int y = 0; y < pixels.height(); ++y)
    hash.addData(QByteArrayView(reinterpret_cast<const char *>(pixels.constScanLine(y)),
                                pixels.width() * 4));
  return QString::fromLatin1(hash.result().toHex());
}

// What the machine makes of the course's faces and of a JPEG picture,
// drawn with plain Qt: the references can only hold where this is the same.
QString machineFingerprint() {
  QImage text(640, 220, QImage::Format_RGB32);
  text.fill(Qt::white);
  {
    QPainter p(&text);
    int y = 20;
    for (const char *family : {"Liberation Sans", "DejaVu Sans"})
      for (int pixels : {13, 16, 24, 42})
        for (bool bold : {false, true}) {
          QFont font(QString::fromLatin1(family));
          font.setPixelSize(pixels);
          font.setBold(bold);
          font.setItalic(pixels == 16);
          font.setKerning(false);
          font.setStyleStrategy(QFont::PreferNoShaping);
          p.setFont(font);
          p.drawText(4 + (bold ? 320 : 0), y % 210 + 10,
                     QStringLiteral("Éé àç 10⁻¹¹ m·s⁻² αβλπ ΔΩ"));
          y += 13;
        }
  }
  return pixelHash(text) + QLatin1Char(' ') +
         pixelHash(QImage(QStringLiteral(ABREVEL_APP_DIR "/pces1501.jpg")));
}

// Every screen of the table and every chapter's printed page, by name.
std::map<QString, QString> currentHashes() {
  std::map<QString, QString> hashes;
  const QString folder = QStringLiteral(ABREVEL_APP_DIR);
  for (const ScreenRow &row : screenTable())
    hashes[QStringLiteral("screen %1").arg(row.code)] = pixelHash(renderScreen(folder, row.code));
  for (int chapter = 1; chapter <= CourseChapters; ++chapter)
    hashes[QStringLiteral("page %1").arg(chapter)] =
        pixelHash(drawChapterForPdf(withTrailingSeparator(folder), chapter));
  return hashes;
}

} // namespace

TEST(References, EveryScreenAndPrintedPageHasItsReferencePixels) {
  const QString fingerprint = machineFingerprint();
  const std::map<QString, QString> current = currentHashes();

  if (qEnvironmentVariableIsSet("ABREVEL_UPDATE_REFERENCES")) {
    QFile file(ReferenceFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
    QTextStream out(&file);
    out << "# MD5 of the pixels of every screen and printed page; see "
           "tests/references_test.cpp.\n";
    out << "fingerprint " << fingerprint << '\n';
    for (const auto &[name, hash] : current)
      out << name << ' ' << hash << '\n';
    GTEST_SKIP() << "references written to " << ReferenceFile.toStdString();
  }

  QFile file(ReferenceFile);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
  std::map<QString, QString> stored;
  QString storedFingerprint;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
      continue;
    const qsizetype split = line.lastIndexOf(QLatin1Char(' '));
    if (line.startsWith(QLatin1String("fingerprint ")))
      storedFingerprint = line.mid(12);
    else
      stored[line.left(split)] = line.mid(split + 1);
  }
  ASSERT_FALSE(storedFingerprint.isEmpty());
  if (storedFingerprint != fingerprint)
    GTEST_SKIP() << "text or pictures come out differently on this machine than where the "
                    "references were made (fingerprint "
                 << fingerprint.toStdString() << "): the references do not apply here";

  // The same screens and pages, each with the same pixels.
  for (const auto &[name, hash] : current) {
    const auto reference = stored.find(name);
    ASSERT_NE(reference, stored.end()) << name.toStdString() << " has no reference";
    EXPECT_EQ(hash, reference->second) << name.toStdString() << " differs from its reference";
  }
  for (const auto &[name, hash] : stored)
    EXPECT_TRUE(current.count(name)) << name.toStdString() << " is no longer drawn";
}
