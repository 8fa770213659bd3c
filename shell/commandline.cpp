#include "shell/commandline.h"

#include "shell/printing.h"
#include "shell/screentable.h"
#include "shell/titleband.h"
#include "shell/viewer.h"
#include "shell/windowpicture.h"
#include "toolkit/page.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace abrevel {

namespace {

QString quoted(const QString &text) { return QStringLiteral("« %1 »").arg(text); }

// One to nine ASCII digits.
bool isNumber(const QString &text) {
  return !text.isEmpty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), [](QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
  });
}

// A scale: digits, with at most one decimal point or comma and digits after
// it, from 1 to 4.
std::optional<double> scaleOf(QString text) {
  text.replace(QLatin1Char(','), QLatin1Char('.'));
  static const QRegularExpression number(QStringLiteral("^[0-9]{1,3}(\\.[0-9]{1,6})?$"));
  if (!number.match(text).hasMatch())
    return std::nullopt;
  const double scale = text.toDouble();
  if (scale < MinRenderScale || scale > MaxRenderScale)
    return std::nullopt;
  return scale;
}

ParsedCommandLine bad(const QString &message) {
  return {CommandLine{}, QStringLiteral("abrevel : ") + message};
}

// The headless modes keep standard error for their own one-line messages:
// the platform's notices (a missing runtime folder and the like) are
// dropped, its errors still go through.
QtMessageHandler platformMessages = nullptr;
void headlessMessages(QtMsgType type, const QMessageLogContext &context, const QString &text) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    platformMessages(type, context, text);
}

void printLine(std::FILE *stream, const QString &line) {
  std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList &arguments) {
  CommandLine command;
  bool modeGiven = false;
  bool folderGiven = false;
  bool scaleGiven = false;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString &option = arguments[i];
    const qsizetype left = arguments.size() - i - 1;
    if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
      command.mode = CommandLine::Mode::Help;
      return {command, {}};
    }
    if (option == QLatin1String("--app-folder")) {
      if (folderGiven)
        return bad(QStringLiteral("l'option --app-folder est donnée deux fois"));
      if (left < 1)
        return bad(QStringLiteral("--app-folder attend un dossier"));
      command.appFolder = arguments[++i];
      if (!QFileInfo(command.appFolder).isDir())
        return bad(QStringLiteral("le dossier d'application %1 n'existe pas")
                       .arg(quoted(command.appFolder)));
      folderGiven = true;
      continue;
    }
    if (option == QLatin1String("--scale")) {
      if (scaleGiven)
        return bad(QStringLiteral("l'option --scale est donnée deux fois"));
      if (left < 1)
        return bad(QStringLiteral("--scale attend un nombre de 1 à 4"));
      const QString value = arguments[++i];
      const std::optional<double> scale = scaleOf(value);
      if (!scale)
        return bad(QStringLiteral("%1 n'est pas une échelle (un nombre de 1 à 4, par exemple 2 "
                                  "ou 1,5)")
                       .arg(quoted(value)));
      command.scale = *scale;
      scaleGiven = true;
      continue;
    }
    const bool render = option == QLatin1String("--render-screen");
    const bool print = option == QLatin1String("--print-chapter");
    const bool course = option == QLatin1String("--print-course");
    if ((render || print || course) && modeGiven)
      return bad(QStringLiteral("une seule option --render-screen, --print-chapter ou "
                                "--print-course peut être donnée"));
    if (course) {
      modeGiven = true;
      if (left < 1)
        return bad(QStringLiteral("--print-course attend un fichier PDF"));
      command.mode = CommandLine::Mode::PrintCourse;
      command.output = arguments[++i];
      if (command.output.isEmpty())
        return bad(QStringLiteral("le nom du fichier à écrire est vide"));
      continue;
    }
    if (render || print) {
      modeGiven = true;
      if (left < 2)
        return bad(render ? QStringLiteral("--render-screen attend un code d'écran et un "
                                           "fichier PNG")
                          : QStringLiteral("--print-chapter attend un numéro de chapitre et "
                                           "un fichier PDF"));
      const QString number = arguments[++i];
      command.output = arguments[++i];
      if (command.output.isEmpty())
        return bad(QStringLiteral("le nom du fichier à écrire est vide"));
      if (render) {
        command.mode = CommandLine::Mode::RenderScreen;
        if (!isNumber(number))
          return bad(QStringLiteral("%1 n'est pas un code d'écran (par exemple 101 ou 1202)")
                         .arg(quoted(number)));
        command.code = number.toInt();
        if (!findScreen(command.code))
          return bad(QStringLiteral("aucun écran ne porte le code %1").arg(command.code));
      } else {
        command.mode = CommandLine::Mode::PrintChapter;
        command.chapter = isNumber(number) ? number.toInt() : 0;
        if (command.chapter < 1 || command.chapter > 19)
          return bad(
              QStringLiteral("%1 n'est pas un numéro de chapitre (de 1 à 19)").arg(quoted(number)));
      }
      continue;
    }
    if (option.startsWith(QLatin1Char('-')))
      return bad(
          QStringLiteral("option inconnue %1 (abrevel --help donne l'usage)").arg(quoted(option)));
    return bad(
        QStringLiteral("argument inattendu %1 (abrevel --help donne l'usage)").arg(quoted(option)));
  }
  if (scaleGiven && command.mode != CommandLine::Mode::RenderScreen)
    return bad(QStringLiteral("l'option --scale ne vaut que pour --render-screen"));
  return {command, {}};
}

QString usage() {
  return QStringLiteral(
      "Usage : abrevel [--app-folder DOSSIER]\n"
      "        abrevel [--app-folder DOSSIER] --render-screen CODE FICHIER.png [--scale K]\n"
      "        abrevel [--app-folder DOSSIER] --print-chapter N FICHIER.pdf\n"
      "        abrevel [--app-folder DOSSIER] --print-course FICHIER.pdf\n"
      "\n"
      "Sans option, la visionneuse s'ouvre sur le chapitre que l'application parente\n"
      "a inscrit dans TEMPO.SPC.\n"
      "  --render-screen CODE FICHIER.png  dessine l'écran CODE (101 à 1903) tel que la\n"
      "                                    fenêtre le montre, en 784 × 561 pixels\n"
      "  --scale K                         avec --render-screen : K fois plus de pixels\n"
      "                                    dans chaque sens (K de 1 à 4, par exemple 2\n"
      "                                    ou 1,5), la même mise en page\n"
      "  --print-chapter N FICHIER.pdf     imprime le chapitre N (1 à 19) dans un PDF\n"
      "  --print-course FICHIER.pdf        imprime tout le cours dans un PDF, une page\n"
      "                                    par chapitre\n"
      "  --app-folder DOSSIER              le dossier d'application (images, son,\n"
      "                                    TEMPO.SPC) est DOSSIER et non celui du programme\n"
      "  --help                            affiche cette aide\n"
      "Ces trois modes n'ont besoin d'aucun affichage et ne touchent pas à TEMPO.SPC.\n");
}

bool preparePlatform(const CommandLine &command, QString *error) {
  if (command.mode == CommandLine::Mode::RenderScreen ||
      command.mode == CommandLine::Mode::PrintChapter ||
      command.mode == CommandLine::Mode::PrintCourse) {
    platformMessages = qInstallMessageHandler(headlessMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
  }
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    return true;
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    if (error)
      *error = QStringLiteral("abrevel : aucun affichage (DISPLAY et WAYLAND_DISPLAY sont vides) ; "
                              "sans affichage, --render-screen, --print-chapter et "
                              "--print-course dessinent dans des fichiers");
    return false;
  }
  return true;
}

QImage renderScreen(const QString &applicationFolder, int code, double scale) {
  // The window's surface with the screen drawn as the window's first
  // repaint of it draws it, then the controls over it.
  Page page;
  RasterCanvas surface(ReferenceClientSize, 96.0, scale);
  attachWindowSurface(page, surface, applicationFolder);
  page.AppFolder = withTrailingSeparator(applicationFolder);
  page.chapter = static_cast<std::int16_t>(code / 100);
  page.screen = static_cast<std::int16_t>(code);
  const ScreenRow *row = drawScreenOnSurface(page, surface);
  QImage &client = surface.image();
  paintWindowControls(client, page.chapter, applicationFolder, row && row->previousShown,
                      row && row->nextShown);
  return client;
}

int runCommandLine(int &argc, char **argv, const CommandLine &command) {
  if (command.mode == CommandLine::Mode::Viewer)
    return runViewer(argc, argv, command.appFolder);
  QGuiApplication app(argc, argv);
  const QString folder =
      command.appFolder.isEmpty() ? QCoreApplication::applicationDirPath() : command.appFolder;
  switch (command.mode) {
  case CommandLine::Mode::Help:
    printLine(stdout, usage().trimmed());
    return 0;
  case CommandLine::Mode::RenderScreen: {
    const QImage image = renderScreen(folder, command.code, command.scale);
    if (!image.save(command.output, "PNG")) {
      printLine(stderr,
                QStringLiteral("abrevel : impossible d'écrire %1").arg(quoted(command.output)));
      return BadArgumentStatus;
    }
    return 0;
  }
  case CommandLine::Mode::PrintChapter: {
    if (!printChapterToPdf(withTrailingSeparator(folder), command.chapter, command.output,
                           nullptr)) {
      printLine(stderr,
                QStringLiteral("abrevel : impossible d'écrire %1").arg(quoted(command.output)));
      return BadArgumentStatus;
    }
    return 0;
  }
  case CommandLine::Mode::PrintCourse: {
    const auto progress = [](int chapter) {
      printLine(stderr, QStringLiteral("abrevel : page %1 sur %2 imprimée : %3")
                            .arg(chapter)
                            .arg(CourseChapters)
                            .arg(chapterTitle(chapter)));
    };
    if (!printCourseToPdf(withTrailingSeparator(folder), command.output, progress, nullptr)) {
      printLine(stderr,
                QStringLiteral("abrevel : impossible d'écrire %1").arg(quoted(command.output)));
      return BadArgumentStatus;
    }
    return 0;
  }
  case CommandLine::Mode::Viewer:
    break; // the window's module runs it, above
  }
  return 0;
}

} // namespace abrevel
