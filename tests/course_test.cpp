// Every screen of the screen table that has its drawer, and every chapter
// whose sheets are all written: the fit of each screen in the window and of
// each chapter on one printed page with the shipped pictures and the real
// fonts, the screens' texts, and each screen with its pictures missing.
// These tables grow by themselves as chapters are written; the texts a
// screen must show whatever happens are listed below, chapter by chapter.
#include "content/texts.h"
#include "tests/sheettest.h"

#include "shell/printing.h"
#include "shell/titleband.h"
#include "shell/windowpicture.h"
#include "toolkit/devices.h"
#include "toolkit/pictureslots.h"

#include <QApplication>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegion>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>

#include <chrono>
#include <functional>
#include <map>
#include <random>

#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace abrevel;
using namespace abrevel::sheettest;

namespace {

std::vector<const ScreenRow *> writtenScreens() {
  std::vector<const ScreenRow *> rows;
  for (const ScreenRow &row : screenTable())
    if (row.drawer)
      rows.push_back(&row);
  return rows;
}

std::vector<int> writtenChapters() {
  std::vector<int> chapters;
  for (int chapter = 1; chapter <= 19; ++chapter) {
    const auto drawers = printDrawers(chapter);
    if (!drawers.empty() &&
        std::all_of(drawers.begin(), drawers.end(), [](PageDrawer d) { return d != nullptr; }))
      chapters.push_back(chapter);
  }
  return chapters;
}

// The screens' headings and fixed labels, drawn whether or not the pictures
// are there (a drawer that stops at its first error lists only what it draws
// before its first picture).
struct ScreenTexts {
  int code;
  std::vector<const char *> texts;
};
const std::vector<ScreenTexts> kScreenTexts = {
    // Chapter 1
    {101,
     {"Origine d'une espèce chimique", "Origine naturelle", "Origine synthétique",
      "Espèce chimique"}},
    {102,
     {"Classement des espèces chimiques", "Inflammable", "Toxique", "Espèce chimique soluble",
      "Espèce chimique insoluble"}},
    // Chapter 2
    {201, {"Extraction d'espèces chimiques", "Par la vapeur", "Par un solvant"}},
    {202, {"Chromatographie sur couche mince", "Dépôt", "Migration", "Révélation"}},
    {203, {"Caractéristiques physiques d'une espèce chimique", "Indice de réfraction"}},
    // Chapter 3
    {301, {"Nécessité de la chimie de synthèse"}},
    {302, {"Les différentes étapes d'une synthèse", "1.", " Introduction du", "physiques)."}},
    {303, {"Écritures représentant la synthèse", "Exemple"}},
    // Chapter 4
    // Chapter 5
    {501,
     {"Règles du duet et de l'octet", "Modèle de Lewis", "Ions monoatomiques", "Molécules", ", Al",
      "3+", "2−"}},
    {502, {"Différentes représentations d'une molécule"}},
    {503, {"Géométrie"}},
    // Chapter 6
    {601, {"Classification périodique restreinte"}},
    // Chapter 7
    {701,
     {"À une mole correspond      ", "une quantité de matière", "un volume : le volume molaire",
      "  Quantité de matière (en mol)", "  Nombre d'entités chimiques", "(dans tous les cas)",
      "(intéressant surtout pour les gaz)"}},
    {702,
     {"  Masse molaire (en g · mol", "  Volume molaire (en L · mol", "(pour les gaz)",
      "(0 °C ; 1,013 bar)", "(20 °C ; 1,013 bar)", " en mol"}},
    // Chapter 8
    {801, {"Soluté, solvant, solution"}},
    {802, {"Concentration molaire", "C = ", " en mol · L"}},
    {803, {"Prélèvement et dilution", "Prélèvement", "Dilution"}},
    // Chapter 9
    {901,
     {"Transformation chimique", "Le système chimique à l'état initial contient :",
      "Le système chimique à l'état final contient :", "ce qui reste des réactifs", "autres."}},
    {902,
     {"Réaction chimique", "Équation chimique",
      "Les réactifs donnent les produits de la réaction chimique.", "nombre stœchiométrique ",
      "Cu(OH)"}},
    // Chapter 10
    {1001, {"Construire un tableau d'avancement d'une réaction chimique"}},
    {1002,
     {"Réactif limitant", "Proportions stœchiométriques",
      "stœchiométriques lorsque :", "de C à l'état final."}},
    // Chapter 11
    {1101, {"L'organisation de l'Univers", "L'Univers contient des milliards de galaxies."}},
    {1102,
     {"Les outils de description de l'Univers", " Rappel : les opérations sur les ",
      "puissances de 10."}},
    // Chapter 12
    {1201,
     {"Propagation de la lumière",
      "La propagation de la lumière dans le vide ou dans l'air se fait :", "en ligne droite",
      "à la vitesse limite de", "Application : la visée et des mesures d'angles",
      "Application : la technique de l'écho."}},
    {1202, {"L'année-lumière", "1 al ", " km"}},
    // Chapter 13
    {1301,
     {"Lumière monochromatique", "Lumière polychromatique", " Exemple : lumière d'un laser.",
      "longueurs d'onde."}},
    {1302,
     {"Indice de réfraction d'un milieu transparent et homogène", "c", "v",
      " : vitesse de la lumière dans le milieu", "n'a pas d'unité."}},
    {1303, {"Lois de Descartes", " Première loi de Descartes", " Seconde loi de Descartes", "i"}},
    // Chapter 14
    {1401,
     {"Spectres d'émission", "Spectres d'absorption", " Spectres d'origine thermique",
      "(spectre continu)", "De 1 000 °C", "à 9 000 °C", " + MnO", "dans la solution",
      "Composition du gaz", "chimique du gaz", "Hg (mercure)"}},
    {1402,
     {"Signature d'un atome ou d'un ion : application à l'astrophysique",
      " Principe : un atome ou un ion ne peut absorber"}},
    // Chapter 15
    {1501, {"Référentiel", "référentiel.", "référentiel terrestre", "rapport à la Terre."}},
    {1502, {"Nature du mouvement"}},
    {1503,
     {"Principe d'inertie et effet d'une force sur le mouvement",
      " Énoncé du principe d'inertie :", " Conséquences du principe d'inertie :"}},
    // Chapter 16
    {1601, {"Loi de gravitation universelle"}},
    {1602, {"Pesanteur", "Le poids d'un corps sur Terre est :", "du lancement."}},
    {1603,
     {"Mouvement de la Lune dans le référentiel géocentrique",
      "Les axes noirs représentent le référentiel terrestre."}},
    // Chapter 17
    {1701,
     {"Comment se repérer dans le temps ?", "Phénomènes astronomiques",
      "Dispositifs construits par l'homme", "Calendrier", "Étalon", "de durée", "Phases de",
      "la Lune", "Alternance du jour", "et de la nuit", "Les saisons",
      "(ou d'une ombre) devant des repères."}},
    {1702,
     {"Période et fréquence", "La période ", "de ce phénomène.",
      "La fréquence est l'inverse de la période.", "1", " en seconde (s)", " en hertz (Hz)"}},
    // Chapter 18
    {1801, {"Description microscopique d'un gaz"}},
    {1802,
     {"Description macroscopique d'un gaz", "Symbole", "Grandeur", "Exemple d'unités", "Mesure",
      "volume", "température", "pression", "quantité de matière", "degré Celsius",
      "pascal (Pa) (unité légale)", "mole", "mesure des dimensions + calcul", "thermomètre",
      "manomètre", "ne se mesure pas, mais se calcule avec ", "Le verre n'est pas vide,",
      "il contient un gaz : l'air."}},
    {1803,
     {"Pression d'un gaz", " : pression en pascal (Pa)", " : force pressante en newton (N)",
      " : surface en mètre carré (m", "Température"}},
    // Chapter 19
    {1901,
     {"Équation d'état du gaz parfait", " : quantité de matière (mol)",
      " : température absolue (K)", "R = 8,31 J · K", " (K) = ", " (°C) + 273,15", " = constante.",
      "le même pour tous les gaz."}},
    {1902, {"Comportement d'un gaz réel"}},
    {1903,
     {"Interprétation macroscopique et microscopique", " Point de vue macroscopique ",
      " Point de vue microscopique ", "   Température absolue ", "   Pression ",
      "   Elle caractérise l'agitation des molécules du gaz.", "   Pour ", "   À ",
      " = 0 K, il n'y a plus d'agitation.", " = 0 K, il n'y a plus de chocs donc ", " = 0 Pa."}},
};

// Screens whose ruled table is nearly as wide as the window by design: their
// text stays inside the window (and its table) rather than clear of the
// right margin.
const std::vector<int> kWindowWideTables = {1802};

// The picture files of the application folder a screen may load: its
// chapter's pictures and the two shared ones.
QStringList picturesOfChapter(const QString &dir, int chapter) {
  QStringList names =
      QDir(dir).entryList({QStringLiteral("pces%1*").arg(chapter), QStringLiteral("macro.gif"),
                           QStringLiteral("micro.gif")},
                          QDir::Files, QDir::Name);
  // pces1* also matches the chapters 10 to 19 when the chapter is 1.
  names.erase(std::remove_if(names.begin(), names.end(),
                             [chapter](const QString &name) {
                               if (!name.startsWith(QLatin1String("pces")))
                                 return false;
                               const QString digits = name.mid(4);
                               int n = 0;
                               while (n < digits.size() && digits[n].isDigit())
                                 ++n;
                               // The chapter, then a two-digit item number.
                               return digits.left(n - 2).toInt() != chapter;
                             }),
              names.end());
  return names;
}

QByteArray contentOf(const QImage &image) {
  const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
  QCryptographicHash hash(QCryptographicHash::Sha1);
  hash.addData(QByteArrayView(reinterpret_cast<const char *>(rgb.constBits()), rgb.sizeInBytes()));
  return hash.result();
}

// How many times each picture (by its pixels) is painted.
std::map<QByteArray, int> paintedPictures(const std::vector<DrawOp> &ops) {
  std::map<QByteArray, int> painted;
  for (const DrawOp &op : ops)
    if (op.kind == DrawOp::Image || op.kind == DrawOp::Transparent)
      ++painted[contentOf(op.image)];
  return painted;
}

} // namespace

TEST(Course, EveryScreenFitsTheWindowWithTheShippedPictures) {
  for (const ScreenRow *row : writtenScreens()) {
    SCOPED_TRACE(row->code);
    for (const QString &name : picturesOfChapter(appDir(), row->code / 100))
      EXPECT_FALSE(QImage(appDir() + QLatin1Char('/') + name).isNull()) << name.toStdString();
    const Extent drawn = extentOf(drawScreen(row->code, appDir()));
    EXPECT_LE(drawn.bottom, kArrowFrameTop);
    EXPECT_LE(drawn.right, kClientWidth);

    RealTextExtent cv(QSize(kClientWidth, kClientHeight));
    Page p = pageFor(cv, appDir(), 1, row->lineStart);
    callDrawer(p, row->drawer);
    EXPECT_LE(cv.text.bottom, kArrowFrameTop);
    const bool wide = std::find(kWindowWideTables.begin(), kWindowWideTables.end(), row->code) !=
                      kWindowWideTables.end();
    EXPECT_LE(cv.text.right, wide ? kClientWidth : kTextRight);
  }
}

// A picture that cannot be loaded keeps its place: the place the program
// knows for each picture is the size of the file it ships.
TEST(Course, EveryShippedPictureKeepsItsPlaceWhenMissing) {
  const QStringList names = QDir(appDir()).entryList(
      {QStringLiteral("pces*.gif"), QStringLiteral("pces*.bmp"), QStringLiteral("pces*.jpg"),
       QStringLiteral("macro.gif"), QStringLiteral("micro.gif")},
      QDir::Files);
  ASSERT_FALSE(names.isEmpty());
  for (const QString &name : names)
    EXPECT_EQ(PictureSlot(name), QImage(appDir() + QLatin1Char('/') + name).size())
        << name.toStdString();
}

TEST(Course, EveryChapterFitsOnePrintedPage) {
  // The printable area of an A4 page, in screen pixels, less the notice line
  // at its foot; the first screen starts under the title band.
  const double k = kPaperScale, width = 760, height = 1080, notice = 13, first = 61;
  for (const int chapter : writtenChapters()) {
    SCOPED_TRACE(chapter);
    RecordingCanvas paper(width * k, height * k, kPaperDpi);
    RealTextExtent real(QSize(std::lround(width * k), std::lround(height * k)), kPaperDpi);
    for (Canvas *cv : {static_cast<Canvas *>(&paper), static_cast<Canvas *>(&real)}) {
      Page p = pageFor(*cv, appDir(), k, first * k);
      for (PageDrawer drawer : printDrawers(chapter))
        callDrawer(p, drawer);
    }
    const Extent drawn = extentOf(paper.ops());
    EXPECT_LE(drawn.bottom, (height - notice) * k);
    EXPECT_LE(drawn.right, width * k);
    EXPECT_LE(real.text.bottom, (height - notice) * k);
    // Text ends where it ends on screen, clear of the page's right edge as
    // of the window's.
    const bool wide = std::any_of(kWindowWideTables.begin(), kWindowWideTables.end(),
                                  [&](int code) { return code / 100 == chapter; });
    EXPECT_LE(real.text.right, (wide ? width : kTextRight) * k);
  }
}

// Block headers: "@CODE NAME", the code in ASCII digits up to 32767, the
// name free of white space in the Unicode sense.
namespace {

// The window's surface, noting where pictures drawn on white paper land
// (every picture but the photographs, which bring their own ground).
class KeyedPlaces : public RasterCanvas {
public:
  using RasterCanvas::RasterCanvas;
  std::vector<QRect> places;

protected:
  void paintImage(const QImage &image, const QRectF &target, bool mirrored,
                  const QString &source) override {
    if (!source.endsWith(QLatin1String(".jpg")))
      places.push_back(target.toAlignedRect());
    RasterCanvas::paintImage(image, target, mirrored, source);
  }
  void paintTransparent(const QImage &image, QPointF at) override {
    places.push_back(QRect(at.toPoint(), image.size()));
    RasterCanvas::paintTransparent(image, at);
  }
};

// The near-white pixels (every channel at least 240) of the given places
// that touch the window's colour: a white box, seam, corner or halo round
// a keyed picture, which should have shown the window instead.
int nearWhiteTouchingWindow(const QImage &surface, const std::vector<QRect> &places,
                            const QColor &window) {
  const QImage image = surface.convertToFormat(QImage::Format_RGB32);
  const QRgb cream = window.rgb() | 0xFF000000u;
  const auto pixel = [&](int x, int y) { return image.pixel(x, y) | 0xFF000000u; };
  QRegion region;
  for (const QRect &place : places)
    region += place.intersected(image.rect());
  int count = 0;
  for (const QRect &rect : region)
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = rect.left(); x <= rect.right(); ++x) {
        const QRgb here = pixel(x, y);
        if (here == cream || qRed(here) < 240 || qGreen(here) < 240 || qBlue(here) < 240)
          continue;
        bool touches = false;
        for (int dy = -1; dy <= 1 && !touches; ++dy)
          for (int dx = -1; dx <= 1 && !touches; ++dx)
            touches = image.rect().contains(x + dx, y + dy) && pixel(x + dx, y + dy) == cream;
        count += touches;
      }
  return count;
}

} // namespace

// Keyed pictures lie clean on the window's cream: no white or near-white
// pixel round them, whatever they hold (edges of shapes, letters, pale
// margins, GIF and BMP alike).
TEST(Course, KeyedPicturesShowNoWhiteAroundThemOnTheWindow) {
  for (const ScreenRow *row : writtenScreens()) {
    Page page;
    KeyedPlaces surface(QSize(kClientWidth, kClientHeight));
    attachWindowSurface(page, surface, appDir());
    page.AppFolder = appDir() + QLatin1Char('/');
    page.chapter = static_cast<std::int16_t>(row->code / 100);
    page.screen = static_cast<std::int16_t>(row->code);
    drawScreenOnSurface(page, surface);
    EXPECT_EQ(nearWhiteTouchingWindow(surface.image(), surface.places, page.windowColour), 0)
        << "screen " << row->code;
  }
}

TEST(Texts, BlockHeadersAreReadOrRefused) {
  struct Case {
    const char *header;
    int code; // 0: the header is refused
    const char *name;
  };
  const Case cases[] = {
      {"@101 titre", 101, "titre"},
      {"@101 titre \t ", 101, "titre"},
      {"@101\u00a0titre", 101, "titre"}, // a no-break space separates
      {"@32767 titre-2", 32767, "titre-2"},
      {"@0101 titre", 101, "titre"},
      {"@101 ti\u00a0tre", 0, ""}, // ... and never hides in a name
      {"@101 ti tre", 0, ""},
      {"@101titre", 0, ""},
      {"@ 101 titre", 0, ""},
      {"@101", 0, ""},
      {"@101 ", 0, ""},
      {"@titre", 0, ""},
      {"@32768 titre", 0, ""},
      {"@99999999999 titre", 0, ""},
      {"@\u0661\u0660\u0661 titre", 0, ""}, // digits, but not ASCII ones
      {"@10\u0661 titre", 0, ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.header);
    QStringList errors;
    const auto texts =
        parseTexts(QString::fromUtf8(c.header) + QStringLiteral("\r\nune ligne\r\n"), &errors);
    if (c.code) {
      EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_EQ(texts.begin()->first, TextKey(c.code, QString::fromUtf8(c.name)));
      EXPECT_EQ(texts.begin()->second, QStringList{QStringLiteral("une ligne")});
    } else {
      EXPECT_TRUE(texts.empty());
      EXPECT_EQ(errors, (QStringList{QStringLiteral("line 1: bad block header"),
                                     QStringLiteral("line 2: text outside a block")}));
    }
  }
}

TEST(Course, TextsAreCompleteAndWellFormed) {
  const QDir content(QStringLiteral(ABREVEL_SOURCE_DIR "/content"));
  const QStringList files = content.entryList({QStringLiteral("chapter*.txt")}, QDir::Files);
  ASSERT_FALSE(files.isEmpty());
  for (const QString &file : files) {
    SCOPED_TRACE(file.toStdString());
    QFile f(content.filePath(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QStringList errors;
    const auto texts = parseTexts(QString::fromUtf8(f.readAll()), &errors);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    for (const auto &[key, lines] : texts)
      for (const QString &line : lines)
        EXPECT_FALSE(line.trimmed().isEmpty()) << key.first << " " << key.second.toStdString();
  }
  // Every block a drawer asks for exists, on screen and on paper.
  for (const ScreenRow *row : writtenScreens()) {
    drawScreen(row->code, appDir());
    drawScreen(row->code, appDir(), kPaperDpi);
  }
  for (int chapter = 1; chapter <= 19; ++chapter)
    for (PageDrawer drawer : printDrawers(chapter))
      if (drawer) {
        RecordingCanvas paper(760 * kPaperScale, 1080 * kPaperScale, kPaperDpi);
        Page p = pageFor(paper, appDir(), kPaperScale, 61 * kPaperScale);
        callDrawer(p, drawer);
      }
  EXPECT_TRUE(missingTexts().isEmpty()) << missingTexts().join(QLatin1Char('\n')).toStdString();
}

TEST(Course, ScreensDrawTheirTextsWithOrWithoutTheirPictures) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  for (const ScreenTexts &screen : kScreenTexts) {
    ASSERT_TRUE(findScreen(screen.code) && findScreen(screen.code)->drawer) << screen.code;
    for (const QString &folder : {appDir(), empty.path()}) {
      SCOPED_TRACE(screen.code);
      SCOPED_TRACE(folder.toStdString());
      const auto ops = drawScreen(screen.code, folder);
      for (const char *text : screen.texts)
        EXPECT_TRUE(textOp(ops, QString::fromUtf8(text))) << text;
    }
  }
  // With no picture at all, no screen paints one, and every screen stays in
  // its window.
  for (const ScreenRow *row : writtenScreens()) {
    SCOPED_TRACE(row->code);
    const auto ops = drawScreen(row->code, empty.path());
    EXPECT_TRUE(paintedPictures(ops).empty());
    const Extent drawn = extentOf(ops);
    EXPECT_LE(drawn.bottom, kArrowFrameTop);
    EXPECT_LE(drawn.right, kClientWidth);
  }
}

// Every picture file a screen or a printed chapter loads, damaged in turn
// in each way a badly copied folder damages it. Whatever the damage: no
// crash, each repaint and print well under 2 s, the process's peak memory
// under kPeakMemoryBound, no dialog; and the page drawn as with the picture
// missing (or, where the damaged file still decodes, as with the picture
// itself): never another picture in its place, never a layout pushed out of
// its window or off its page by a stale size. One test per chapter, so that
// the table grows as chapters are written.
namespace {

enum class Fault { Missing, Empty, CutAtHalf, RandomBytes, OtherFormat, HugeHeader, Directory };
struct FaultKind {
  Fault fault;
  const char *name;
};
const FaultKind kFaults[] = {
    {Fault::Missing, "missing"},
    {Fault::Empty, "zero bytes"},
    {Fault::CutAtHalf, "cut at half its length"},
    {Fault::RandomBytes, "random bytes"},
    {Fault::OtherFormat, "a picture of another format"},
    {Fault::HugeHeader, "a header claiming 30000 x 30000"},
    {Fault::Directory, "a directory"},
};

// Peak resident memory of the test process (the drawing of one chapter's
// screens and page with every fault), in MiB. The sanitizer build keeps
// freed memory in quarantine and its own shadow of every allocation.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kPeakMemoryBound = 1024;
#else
constexpr long kPeakMemoryBound = 256;
#endif

long peakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

// The files of a folder opened while it is watched (the pictures a drawer
// loads, whichever device loads them).
class OpenedFiles {
public:
  explicit OpenedFiles(const QString &dir)
      : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
        m_watch(inotify_add_watch(m_fd, QFile::encodeName(dir).constData(), IN_OPEN)) {}
  ~OpenedFiles() { ::close(m_fd); }
  bool ok() const { return m_fd >= 0 && m_watch >= 0; }
  QStringList take() {
    QStringList names;
    alignas(inotify_event) char buffer[16384];
    ssize_t n;
    while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0)
      for (char *at = buffer; at < buffer + n;) {
        const auto *event = reinterpret_cast<const inotify_event *>(at);
        if (event->len > 0 && !(event->mask & IN_ISDIR)) {
          const QString name = QFile::decodeName(event->name);
          if (!names.contains(name))
            names.append(name);
        }
        at += sizeof(inotify_event) + event->len;
      }
    return names;
  }

private:
  int m_fd;
  int m_watch;
};

// A copy of the file's header claiming 30000 × 30000 pixels, its data left
// as it was: the size fields of a BMP, a GIF (screen and first image), a
// JPEG (frame header) or a PNG.
QByteArray withHugeHeader(QByteArray bytes) {
  const auto put16le = [&](qsizetype at) {
    bytes[at] = char(30000 & 0xFF);
    bytes[at + 1] = char(30000 >> 8);
  };
  const auto put16be = [&](qsizetype at) {
    bytes[at] = char(30000 >> 8);
    bytes[at + 1] = char(30000 & 0xFF);
  };
  if (bytes.startsWith("BM") && bytes.size() >= 26) {
    for (qsizetype at : {18, 22}) {
      put16le(at);
      bytes[at + 2] = bytes[at + 3] = 0;
    }
  } else if (bytes.startsWith("GIF8") && bytes.size() >= 13) {
    put16le(6);
    put16le(8);
    const auto flags = std::uint8_t(bytes[10]);
    qsizetype at = 13 + ((flags & 0x80) ? 3 * (2 << (flags & 7)) : 0);
    while (at < bytes.size() && bytes[at] == '!') { // extensions: label, sub-blocks
      at += 2;
      while (at < bytes.size() && bytes[at] != 0)
        at += 1 + std::uint8_t(bytes[at]);
      ++at;
    }
    if (at + 9 <= bytes.size() && bytes[at] == ',') {
      put16le(at + 5);
      put16le(at + 7);
    }
  } else if (bytes.startsWith("\xFF\xD8")) {
    for (qsizetype at = 2; at + 9 <= bytes.size();) {
      const auto marker = std::uint8_t(bytes[at + 1]);
      if (marker >= 0xC0 && marker <= 0xC2) {
        put16be(at + 5);
        put16be(at + 7);
        break;
      }
      at += 2 + (std::uint8_t(bytes[at + 2]) << 8 | std::uint8_t(bytes[at + 3]));
    }
  } else if (bytes.startsWith("\x89PNG") && bytes.size() >= 24) {
    for (qsizetype at : {16, 20}) {
      bytes[at] = bytes[at + 1] = 0;
      put16be(at + 2);
    }
  }
  return bytes;
}

// Puts the fault in the place of the file `name` (the whole file kept aside).
void damage(const QString &dir, const QString &name, Fault fault, const QByteArray &whole) {
  const QString path = dir + QLatin1Char('/') + name;
  const auto write = [&](const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  };
  switch (fault) {
  case Fault::Missing:
    break;
  case Fault::Empty:
    write({});
    break;
  case Fault::CutAtHalf:
    write(whole.left(whole.size() / 2));
    break;
  case Fault::RandomBytes: {
    std::mt19937 random(static_cast<unsigned>(qHash(name)));
    QByteArray bytes(whole.size(), '\0');
    for (char &b : bytes)
      b = static_cast<char>(random() & 0xFF);
    write(bytes);
    break;
  }
  case Fault::OtherFormat: {
    // The same pixels, in PNG (in BMP when the file was a PNG).
    QImage image;
    ASSERT_TRUE(image.loadFromData(whole));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, whole.startsWith("\x89PNG") ? "BMP" : "PNG"));
    write(buffer.data());
    break;
  }
  case Fault::HugeHeader:
    write(withHugeHeader(whole));
    break;
  case Fault::Directory:
    ASSERT_TRUE(QDir(dir).mkdir(name));
    break;
  }
}

void repair(const QString &dir, const QString &name, const QString &aside) {
  const QString path = dir + QLatin1Char('/') + name;
  if (QFileInfo(path).isDir()) {
    ASSERT_TRUE(QDir(path).removeRecursively());
  } else if (QFileInfo::exists(path)) {
    ASSERT_TRUE(QFile::remove(path));
  }
  ASSERT_TRUE(QFile::rename(aside, path));
}

// Two drawings alike: the same operations at the same places, the pictures
// of the same sizes and, unless only their places count, the same pixels.
bool sameDrawing(const std::vector<DrawOp> &a, const std::vector<DrawOp> &b, bool pixels) {
  return std::equal(
      a.begin(), a.end(), b.begin(), b.end(), [pixels](const DrawOp &x, const DrawOp &y) {
        return x.kind == y.kind && x.x1 == y.x1 && x.y1 == y.y1 && x.x2 == y.x2 && x.y2 == y.y2 &&
               x.text == y.text && x.font == y.font && x.color == y.color && x.width == y.width &&
               x.dashed == y.dashed && x.mask == y.mask && x.fill == y.fill &&
               x.mirrored == y.mirrored && x.image.size() == y.image.size() &&
               (!pixels || contentOf(x.image) == contentOf(y.image));
      });
}

// The screens whose drawers stop at their first error.
const std::vector<int> kStopAtFirstError = {602, 1402, 1501, 1502, 1503, 1601, 1602, 1603};
// Whether the screen (code), or the printed page of the chapter (code 0),
// holds a drawer that stops at its first error.
bool stopsAtFirstError(int code, int chapter) {
  return std::any_of(kStopAtFirstError.begin(), kStopAtFirstError.end(), [&](int stopping) {
    return code ? stopping == code : stopping / 100 == chapter;
  });
}

std::vector<DrawOp> withoutPictures(const std::vector<DrawOp> &ops) {
  std::vector<DrawOp> rest;
  std::copy_if(ops.begin(), ops.end(), std::back_inserter(rest), [](const DrawOp &op) {
    return op.kind != DrawOp::Image && op.kind != DrawOp::Transparent;
  });
  return rest;
}

// The first operation where two drawings part, to say what moved.
std::string firstDifference(const std::vector<DrawOp> &a, const std::vector<DrawOp> &b) {
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    if (!sameDrawing({a[i]}, {b[i]}, true))
      return QStringLiteral("\"%1\" at (%2, %3) instead of \"%4\" at (%5, %6)")
          .arg(a[i].text)
          .arg(a[i].x1)
          .arg(a[i].y1)
          .arg(b[i].text)
          .arg(b[i].x1)
          .arg(b[i].y1)
          .toStdString();
  return a.size() == b.size() ? std::string("nothing") : std::string("a different length");
}

// The printed page of a chapter, from the print handler's own routine, on
// the printable area of an A4 page (in screen pixels × the paper scale).
constexpr double kPaperWidth = 760 * kPaperScale, kPaperHeight = 1080 * kPaperScale;
std::vector<DrawOp> printChapter(int chapter, const QString &dir) {
  RecordingCanvas paper(kPaperWidth, kPaperHeight, kPaperDpi);
  paper.BackColor = QColor(255, 255, 255);
  Page p = pageFor(paper, dir, kPaperScale, 0);
  DrawChapterPage(p, paper, static_cast<std::int16_t>(chapter));
  return paper.ops();
}

// What a drawing must keep whatever befell one picture: inside its window,
// or on its page between the title band and the publisher notice.
void expectInPlace(const std::vector<DrawOp> &ops, bool paper) {
  if (!paper) {
    const Extent drawn = extentOf(ops);
    EXPECT_LE(drawn.bottom, kArrowFrameTop);
    EXPECT_LE(drawn.right, kClientWidth);
    return;
  }
  const auto notice = std::find_if(ops.begin(), ops.end(), [](const DrawOp &op) {
    return op.kind == DrawOp::Text && op.text == QString::fromUtf8(PublisherNotice);
  });
  ASSERT_NE(notice, ops.end()) << "the page was not finished";
  ASSERT_TRUE(!ops.empty() && ops.front().kind == DrawOp::FilledBox && ops.front().y1 == 0)
      << "the page does not start with its band";
  // The sheets' own drawing: the band, its title and the notice left out.
  const double bandBottom = ops.front().y2;
  std::vector<DrawOp> above;
  for (auto op = ops.begin() + 1; op != ops.end(); ++op)
    if (op != notice && !(op->kind == DrawOp::Text && op->y2 <= bandBottom))
      above.push_back(*op);
  const Extent drawn = extentOf(above);
  EXPECT_LE(drawn.bottom, notice->y1);
  EXPECT_LE(drawn.right, kPaperWidth);
}

class PictureFaults : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(PictureFaults, EachPictureDamagedInTurnOnScreenAndOnPaper) {
  const int chapter = GetParam();
  // The drawings of the chapter: its written screens, and its page when
  // every sheet of it is written.
  struct Drawing {
    int code; // 0 for the printed page
    std::function<std::vector<DrawOp>(const QString &)> draw;
  };
  std::vector<Drawing> drawings;
  for (const ScreenRow *row : writtenScreens())
    if (row->code / 100 == chapter)
      drawings.push_back(
          {row->code, [code = row->code](const QString &dir) { return drawScreen(code, dir); }});
  const auto chapters = writtenChapters();
  if (std::find(chapters.begin(), chapters.end(), chapter) != chapters.end())
    drawings.push_back({0, [chapter](const QString &dir) { return printChapter(chapter, dir); }});
  if (drawings.empty())
    GTEST_SKIP() << "chapter " << chapter << " has no sheet written yet";

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const QString &name : QDir(appDir()).entryList(QDir::Files))
    ASSERT_TRUE(QFile::copy(appDir() + QLatin1Char('/') + name, dir.filePath(name)));
  const QString aside = dir.filePath(QStringLiteral("aside.tmp"));

  for (const Drawing &drawing : drawings) {
    SCOPED_TRACE(drawing.code ? QStringLiteral("screen %1").arg(drawing.code).toStdString()
                              : QStringLiteral("printed chapter %1").arg(chapter).toStdString());
    OpenedFiles opened(dir.path());
    ASSERT_TRUE(opened.ok());
    const auto whole = drawing.draw(dir.path());
    const auto wholePictures = paintedPictures(whole);
    for (const QString &name : opened.take()) {
      SCOPED_TRACE(name.toStdString());
      QFile file(dir.filePath(name));
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      const QByteArray bytes = file.readAll();
      file.close();
      std::vector<DrawOp> missing;
      for (const FaultKind &kind : kFaults) {
        SCOPED_TRACE(kind.name);
        ASSERT_TRUE(QFile::rename(dir.filePath(name), aside));
        damage(dir.path(), name, kind.fault, bytes);
        const auto started = std::chrono::steady_clock::now();
        const auto ops = drawing.draw(dir.path());
        const auto took = std::chrono::steady_clock::now() - started;
        repair(dir.path(), name, aside);
        if (HasFatalFailure())
          return;

        EXPECT_LT(took, std::chrono::seconds(2));
        EXPECT_LE(peakMemoryMiB(), kPeakMemoryBound);
        for (QWidget *widget : QApplication::topLevelWidgets())
          EXPECT_FALSE(widget->isVisible())
              << "a window opened: " << widget->metaObject()->className();
        for (const auto &[content, count] : paintedPictures(ops)) {
          const auto found = wholePictures.find(content);
          if (found != wholePictures.end()) {
            EXPECT_LE(count, found->second) << "a picture painted in another's place";
          }
        }
        expectInPlace(ops, drawing.code == 0);

        // As with the picture missing; where the damaged file still decodes,
        // as with the picture itself (a cut file: its own size, whatever
        // pixels were left).
        if (kind.fault == Fault::Missing) {
          for (const auto &[content, count] : paintedPictures(ops))
            EXPECT_TRUE(wholePictures.count(content)) << "a picture the drawing does not show";
          // Its slot stays empty: every caption, line and other picture
          // where it is with the picture there. A drawer that stops at its
          // first error draws what comes before the picture, in place; on
          // paper the screens after it then start higher.
          const auto rest = withoutPictures(ops), wholeRest = withoutPictures(whole);
          if (!stopsAtFirstError(drawing.code, chapter)) {
            EXPECT_TRUE(sameDrawing(rest, wholeRest, true))
                << "the drawing moved: " << firstDifference(rest, wholeRest);
          } else if (drawing.code != 0) {
            EXPECT_TRUE(
                rest.size() <= wholeRest.size() &&
                sameDrawing(rest, {wholeRest.begin(), wholeRest.begin() + rest.size()}, true))
                << "the drawing moved: " << firstDifference(rest, wholeRest);
          }
          for (const DrawOp &op : ops) {
            if ((op.kind != DrawOp::Image && op.kind != DrawOp::Transparent) ||
                (drawing.code == 0 && stopsAtFirstError(0, chapter)))
              continue;
            EXPECT_TRUE(
                std::any_of(whole.begin(), whole.end(),
                            [&](const DrawOp &shown) { return sameDrawing({op}, {shown}, true); }))
                << "a picture moved to (" << op.x1 << ", " << op.y1 << ")";
          }
          missing = ops;
          continue;
        }
        const bool asMissing = sameDrawing(ops, missing, true);
        if (kind.fault == Fault::OtherFormat) {
          EXPECT_TRUE(asMissing || sameDrawing(ops, whole, true));
        } else if (kind.fault == Fault::CutAtHalf) {
          EXPECT_TRUE(asMissing || sameDrawing(ops, whole, false));
        } else {
          EXPECT_TRUE(asMissing);
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Course, PictureFaults, ::testing::Range(1, 20),
                         [](const ::testing::TestParamInfo<int> &info) {
                           return "Chapter" + std::to_string(info.param);
                         });

// The whole course is drawn: every code of the screen table has its drawer
// and every chapter prints. Until the last chapter is written this names
// the screens still missing.
TEST(Course, EveryScreenOfTheTableHasItsDrawer) {
  ASSERT_EQ(screenTable().size(), 47u);
  std::vector<int> codes;
  for (const ScreenRow &row : screenTable()) {
    EXPECT_TRUE(row.drawer) << "screen " << row.code << " has no drawer";
    EXPECT_TRUE(std::find(codes.begin(), codes.end(), row.code) == codes.end()) << row.code;
    codes.push_back(row.code);
  }
  for (int chapter = 1; chapter <= 19; ++chapter) {
    const auto drawers = printDrawers(chapter);
    EXPECT_FALSE(drawers.empty()) << "chapter " << chapter;
    for (PageDrawer drawer : drawers)
      EXPECT_TRUE(drawer) << "chapter " << chapter << " prints a screen with no drawer";
  }
}

// The house typography of the course (content/TYPOGRAPHY.md), checked over
// every string it prints: every line of the content files, every string the
// screens and the printed pages draw, and the chapter titles.
namespace {

// One run of text as drawn. A letter in italics is a quantity's symbol,
// never a word or an operator.
struct PrintedRun {
  QString text;
  bool italic = false;
  std::string where;
};

// The faults a run shows by itself: a typographic apostrophe or one set
// apart from its word, a hyphen for a minus sign, the letter x for a
// multiplication, and "A" for the preposition "À" at the start of a
// sentence. Capitals stripped of their accent need the dictionary: see
// unaccentedCapitals.
QStringList typographyFaults(const QString &text, bool italic) {
  QStringList faults;
  static const QRegularExpression curly(QStringLiteral("[\u2018\u2019\u02BC\u00B4`]"));
  static const QRegularExpression apart(QStringLiteral("\\p{L}\\s+'\\p{L}"));
  if (text.contains(curly) || text.contains(apart))
    faults << QStringLiteral("apostrophe");
  // A hyphen joins two words or ends a line's half of a split word, or
  // joins the two years of a range; anywhere else it stands for a minus.
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != QLatin1Char('-'))
      continue;
    const QChar before = i > 0 ? text[i - 1] : QChar();
    const QChar after = i + 1 < text.size() ? text[i + 1] : QChar();
    if (!before.isLetter() && !(before.isDigit() && after.isDigit())) {
      faults << QStringLiteral("hyphen for a minus");
      break;
    }
  }
  static const QRegularExpression letterX(
      QStringLiteral("(?<![\\p{L}\\p{N}'])x(?![\\p{L}\\p{N}])"));
  if (!italic && text.contains(letterX))
    faults << QStringLiteral("x for a multiplication");
  // "A" then a word or a quantity, where a sentence starts: "A + B" names a
  // species.
  static const QRegularExpression capitalA(
      QStringLiteral("(^|[.!?]\\s)\\s*A(\\s+[^\\s+\u2212=\u00D7\u00B7<>\u2264\u2265]|\\s+$)"));
  if (!italic && text.contains(capitalA))
    faults << QStringLiteral("A for À");
  return faults;
}

// The words of the runs whose capital lost the accent that French gives it:
// the dictionary refuses the word in lower case but takes it with the
// accented letter ("Equation": "equation" refused, "équation" taken). Proper
// names ("Avogadro") are refused either way and pass. Runs hunspell with its
// French dictionary; *error says why when it could not.
QStringList unaccentedCapitals(const QStringList &texts, QString *error) {
  static const std::map<QChar, QString> accented = {
      {QLatin1Char('A'), QStringLiteral("àâ")},   {QLatin1Char('C'), QStringLiteral("ç")},
      {QLatin1Char('E'), QStringLiteral("éèêë")}, {QLatin1Char('I'), QStringLiteral("îï")},
      {QLatin1Char('O'), QStringLiteral("ô")},    {QLatin1Char('U'), QStringLiteral("ùûü")},
  };
  static const QRegularExpression capitalised(QStringLiteral("(?<!\\p{L})[ACEIOU]\\p{Ll}+"));
  QStringList words;
  for (const QString &text : texts)
    for (const auto &match : capitalised.globalMatch(text))
      if (!words.contains(match.captured()))
        words << match.captured();
  QStringList forms;
  for (const QString &word : words) {
    forms << word.at(0).toLower() + word.mid(1);
    for (const QChar letter : accented.at(word.at(0)))
      forms << letter + word.mid(1);
  }
  QProcess hunspell;
  hunspell.start(QStringLiteral("hunspell"),
                 {QStringLiteral("-d"), QStringLiteral("fr_FR"), QStringLiteral("-i"),
                  QStringLiteral("utf-8"), QStringLiteral("-l")});
  hunspell.write(forms.join(QLatin1Char('\n')).toUtf8() + '\n');
  hunspell.closeWriteChannel();
  if (!hunspell.waitForFinished(30000) || hunspell.exitStatus() != QProcess::NormalExit ||
      hunspell.exitCode() != 0) {
    *error = QStringLiteral("hunspell -d fr_FR did not run (tools/setup.sh installs hunspell and "
                            "hunspell-fr): ") +
             QString::fromUtf8(hunspell.readAllStandardError()) + hunspell.errorString();
    return {};
  }
  const QStringList refused =
      QString::fromUtf8(hunspell.readAllStandardOutput()).split(QLatin1Char('\n'));
  QStringList faults;
  for (const QString &word : words) {
    if (!refused.contains(word.at(0).toLower() + word.mid(1)))
      continue;
    for (const QChar letter : accented.at(word.at(0)))
      if (!refused.contains(letter + word.mid(1))) {
        faults << word;
        break;
      }
  }
  return faults;
}

// Runs that follow one another on one line in one font are read as one
// text: the band's title on paper, drawn a character at a time, is read as
// its words.
std::vector<PrintedRun> runsOf(const std::vector<DrawOp> &ops, const std::string &where) {
  std::vector<PrintedRun> runs;
  const DrawOp *previous = nullptr;
  for (const DrawOp &op : ops) {
    if (op.kind != DrawOp::Text)
      continue;
    if (previous && previous->y1 == op.y1 && previous->font == op.font)
      runs.back().text += op.text;
    else
      runs.push_back({op.text, op.font.Italic, where});
    previous = &op;
  }
  return runs;
}

// Every run of text the course prints.
std::vector<PrintedRun> everyPrintedRun() {
  std::vector<PrintedRun> runs;
  const auto add = [&runs](std::vector<PrintedRun> more) {
    runs.insert(runs.end(), more.begin(), more.end());
  };
  for (const auto &[key, lines] : allTexts()) {
    const std::string where =
        QStringLiteral("content @%1 %2").arg(key.first).arg(key.second).toStdString();
    RecordingCanvas cv(kClientWidth, kClientHeight);
    Page p = pageFor(cv, appDir(), 1, 0);
    for (const QString &line : lines)
      PrintRich(p, line);
    add(runsOf(cv.ops(), where));
  }
  for (const ScreenRow *row : writtenScreens())
    add(runsOf(drawScreen(row->code, appDir()), "screen " + std::to_string(row->code)));
  for (const int chapter : writtenChapters()) {
    add(runsOf(printChapter(chapter, appDir()), "printed chapter " + std::to_string(chapter)));
    runs.push_back({chapterTitle(chapter), false, "title of chapter " + std::to_string(chapter)});
  }
  return runs;
}

} // namespace

// Each fault the typography checks look for, shown by a small run, and the
// forms they must let through.
TEST(Texts, TypographyChecksFindEachFault) {
  struct Case {
    const char *text;
    bool italic;
    const char *fault; // nullptr: none
  };
  const Case cases[] = {
      {"Le poids d’un corps", false, "apostrophe"},
      {"Loi d ’Avogadro-Ampère", false, "apostrophe"},
      {"Loi d 'Avogadro", false, "apostrophe"},
      {"Loi d'Avogadro-Ampère", false, nullptr},
      {"F'", true, nullptr},
      {"-1", false, "hyphen for a minus"},
      {"2-", false, "hyphen for a minus"},
      {"-", false, "hyphen for a minus"},
      {"(charge -).", false, "hyphen for a minus"},
      {"m - n", false, "hyphen for a minus"},
      {"\u22121", false, nullptr},
      {"Mendeleïev (1834-1907)", false, nullptr},
      {"se dépla-", false, nullptr},
      {" x 10", false, "x for a multiplication"},
      {"Z x e", false, "x for a multiplication"},
      {" x ", false, "x for a multiplication"},
      {"x", true, nullptr},
      {"deux exemples", false, nullptr},
      {" \u00D7 10", false, nullptr},
      {"   A ", false, "A for À"},
      {"A une mole correspond", false, "A for À"},
      {"À une mole correspond", false, nullptr},
      {"A + ", false, nullptr},
      {"A", false, nullptr}, // an index, as in N_A
      {"A", true, nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    const QStringList faults = typographyFaults(QString::fromUtf8(c.text), c.italic);
    EXPECT_EQ(faults.join(QLatin1String(", ")).toStdString(), c.fault ? c.fault : "");
  }

  QString error;
  const QStringList capitals = unaccentedCapitals(
      {QStringLiteral("Equation d'état"), QStringLiteral("Etat initial, Ecran"),
       QStringLiteral("Équation, État, Avogadro, Univers, Exemple, Ions, Ampère")},
      &error);
  ASSERT_TRUE(error.isEmpty()) << error.toStdString();
  EXPECT_EQ(capitals.join(QLatin1String(", ")).toStdString(), "Equation, Etat, Ecran");
}

TEST(Course, EveryPrintedStringFollowsTheHouseTypography) {
  const std::vector<PrintedRun> runs = everyPrintedRun();
  ASSERT_FALSE(runs.empty());
  QStringList texts;
  for (const PrintedRun &run : runs) {
    for (const QString &fault : typographyFaults(run.text, run.italic))
      ADD_FAILURE() << run.where << ": " << fault.toStdString() << " in \""
                    << run.text.toStdString() << "\"";
    texts << run.text;
  }
  QString error;
  const QStringList capitals = unaccentedCapitals(texts, &error);
  ASSERT_TRUE(error.isEmpty()) << error.toStdString();
  EXPECT_TRUE(capitals.isEmpty()) << "capitals without their accent: "
                                  << capitals.join(QLatin1String(", ")).toStdString();
}
