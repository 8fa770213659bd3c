// Every screen of the screen table that has its drawer, and every chapter
// whose sheets are all written: the fit of each screen in the window and of
// each chapter on one printed page with the shipped pictures and the real
// fonts, the screens' texts, and each screen with its pictures missing.
// These tables grow by themselves as chapters are written; the texts a
// screen must show whatever happens are listed below, chapter by chapter.
#include "content/texts.h"
#include "tests/sheettest.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>

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
      "3+", "2-"}},
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
    {1202, {"L'année de lumière", "1 a.l. ", " km"}},
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
      "(spectre continu)", "De 1 000 °C", "à 9 000 °C", " + MnO", "dans la solution",
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
    {1602, {"Pesanteur", "Le poids d’un corps sur Terre est :", "du lancement."}},
    {1603,
     {"Mouvement de la Lune dans le référentiel géocentrique",
      "Les axes noirs représentent le référentiel terrestre."}},
    // Chapter 17
    {1701,
     {"Comment se repérer dans le temps ?", "Phénomènes astronomiques",
      "Dispositifs construits par l'homme", "Calendrier", "Étalon", "de durée", "Phases de",
      "la Lune", "Alternance du jour", "et de la nuit", "Les saisons",
      "(ou d’une ombre) devant des repères."}},
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
     {"Equation d'état du gaz parfait", " : quantité de matière (mol)",
      " : température absolue (K)", "R = 8,31 J · K", " (K) = ", " (°C) + 273,15", " = constante.",
      "le même pour tous les gaz."}},
    {1902, {"Comportement d'un gaz réel"}},
    {1903,
     {"Interprétation macroscopique et microscopique", " Point de vue macroscopique ",
      " Point de vue microscopique ", "   Température absolue ", "   Pression ",
      "   Elle caractérise l'agitation des molécules du gaz.", "   Pour ", "   A ",
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
    EXPECT_LE(real.text.right, width * k);
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

// Each picture a chapter ships, missing in turn: the screen paints nothing
// in its place (never a picture loaded before it, never one picture twice),
// and stays in its window; on paper the chapter stays on its page.
TEST(Course, EachPictureMissingInTurnPaintsNothingInItsPlace) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const QString &name : QDir(appDir()).entryList(QDir::Files))
    ASSERT_TRUE(QFile::copy(appDir() + QLatin1Char('/') + name, dir.filePath(name)));
  for (const ScreenRow *row : writtenScreens()) {
    const auto whole = paintedPictures(drawScreen(row->code, dir.path()));
    for (const QString &name : picturesOfChapter(dir.path(), row->code / 100)) {
      SCOPED_TRACE(row->code);
      SCOPED_TRACE(name.toStdString());
      const QString aside = dir.filePath(QStringLiteral("aside.tmp"));
      ASSERT_TRUE(QFile::rename(dir.filePath(name), aside));
      const auto ops = drawScreen(row->code, dir.path());
      ASSERT_TRUE(QFile::rename(aside, dir.filePath(name)));
      for (const auto &[content, count] : paintedPictures(ops)) {
        const auto found = whole.find(content);
        ASSERT_NE(found, whole.end()) << "a picture the screen does not show";
        EXPECT_LE(count, found->second) << "a picture painted in another's place";
      }
      const Extent drawn = extentOf(ops);
      EXPECT_LE(drawn.bottom, kArrowFrameTop);
      EXPECT_LE(drawn.right, kClientWidth);
    }
  }
}

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
