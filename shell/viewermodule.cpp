// The viewer window's module: the program loads it only to open the window,
// so that the headless modes never load the widget and printer libraries.
// It is built from the window's code alone; everything else it calls is the
// program's own, found in the program when the module is loaded.
#include "shell/terminationsignals.h"
#include "shell/viewerwindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <memory>

extern "C" Q_DECL_EXPORT int abrevel_run_viewer(int *argc, char **argv,
                                                const char *applicationFolder) {
  using namespace abrevel;
  QApplication app(*argc, argv);
  QString folder = QString::fromUtf8(applicationFolder);
  if (folder.isEmpty())
    folder = QCoreApplication::applicationDirPath();
  // The platform's own dialogs (the printer's) speak French too, when its
  // translations are installed.
  QTranslator platformFrench;
  if (platformFrench.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&platformFrench);
  std::unique_ptr<ChapterSource> handoff = handoffChapters(folder);
  const ChapterSource &chapters = *handoff;
  ViewerWindow window(folder, std::move(handoff));
  // A termination signal closes the window as its close button does,
  // whichever event loop runs then (the printer dialog has its own).
  onTerminationSignal(&window, [&window] { window.close(); });
  if (caughtSignal() != 0) {
    // Ended while starting, before the window was loaded: the same end.
    window.Form_Unload();
    return 0;
  }
  if (!window.Form_Load()) {
    // No chapter: the program ends at once, as the parent expects; a user
    // who started it by hand learns why.
    std::fprintf(stderr, "%s\n", chapters.noChapterNotice().toLocal8Bit().constData());
    return 0;
  }
  window.show();
  return QApplication::exec();
}
