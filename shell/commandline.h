// The program's command line.
//
//   abrevel                                 the viewer, on the chapter the
//                                           parent wrote into TEMPO.SPC
//   abrevel --render-screen CODE FILE.png   screen CODE as the window shows it
//           [--scale K]                     K times its pixels each way (K a
//                                           number from 1 to 4, 1,5 or 1.5
//                                           alike), the same layout
//   abrevel --print-chapter N FILE.pdf      chapter N printed to a PDF file
//   abrevel --print-course FILE.pdf         every chapter, a page each, into
//                                           one PDF file
//   abrevel --help                          a short usage
//   --app-folder DIR, with any of them: the application folder is DIR
//   instead of the executable's folder.
//
// The headless modes never touch TEMPO.SPC and need no display. A bad
// argument gets a one-line message on standard error and exit status 2.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace abrevel {

// Exit status of a bad argument.
inline constexpr int BadArgumentStatus = 2;

struct CommandLine {
  enum class Mode { Viewer, RenderScreen, PrintChapter, PrintCourse, Help };
  Mode mode = Mode::Viewer;
  int code = 0;      // RenderScreen: a code of the screen table
  double scale = 1;  // RenderScreen: image pixels per pixel of the screen
  int chapter = 0;   // PrintChapter: 1 to 19
  QString output;    // the PNG or PDF file
  QString appFolder; // empty: the executable's folder
};

struct ParsedCommandLine {
  CommandLine command;
  QString error; // the one-line message of a bad argument, empty when good
  bool ok() const { return error.isEmpty(); }
};

// Reads the arguments that follow the program name.
ParsedCommandLine parseCommandLine(const QStringList &arguments);

QString usage();

// Before the application object exists: the headless modes draw offscreen
// unless a platform is chosen. The viewer needs a display; without one it
// explains why on *error and gives false.
bool preparePlatform(const CommandLine &command, QString *error);

// Runs the command with the application object it needs: the viewer's,
// from the window's module, or a plain graphical one for the headless
// modes, which draw without widgets. Returns the exit status. A file that
// cannot be written is a bad argument: the message goes to standard error
// and the status is 2.
int runCommandLine(int &argc, char **argv, const CommandLine &command);

// The scales --render-screen accepts.
inline constexpr double MinRenderScale = 1;
inline constexpr double MaxRenderScale = 4;

// Draws screen `code` as the window shows it, at the reference client size,
// into an image; the application folder gives the pictures. At a scale
// above 1 the image has scale times the pixels each way, with the layout of
// scale 1 drawn finer (the image's devicePixelRatio is the scale).
QImage renderScreen(const QString &applicationFolder, int code, double scale = 1);

} // namespace abrevel
