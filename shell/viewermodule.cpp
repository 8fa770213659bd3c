// The viewer window's module: the program loads it only to open the window,
// so that the headless modes never load the widget and printer libraries.
// It is built from the window's code alone; everything else it calls is the
// program's own, found in the program when the module is loaded.
#include "shell/viewerwindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
  ViewerWindow window(folder, handoffChapters(folder));
  if (!window.Form_Load())
    return 0; // no chapter: the program ends at once
  window.show();
  return QApplication::exec();
}
