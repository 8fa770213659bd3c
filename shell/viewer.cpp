#include "shell/viewer.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>

namespace abrevel {

QString programFolder(const char *argv0) {
  // The kernel's link to the running program; the name the program was
  // started by where there is none.
  const QFileInfo self(QStringLiteral("/proc/self/exe"));
  if (self.exists())
    return QFileInfo(self.canonicalFilePath()).absolutePath();
  return QFileInfo(QString::fromLocal8Bit(argv0 ? argv0 : "")).absolutePath();
}

int runViewer(int &argc, char **argv, const QString &applicationFolder) {
  const QString path =
      QDir(programFolder(argc > 0 ? argv[0] : nullptr)).filePath(QLatin1String(ViewerModuleFile));
  // Every symbol resolved at load: a module that does not fit this program
  // is refused here, not halfway through the session.
  QLibrary module(path);
  module.setLoadHints(QLibrary::ResolveAllSymbolsHint);
  using Entry = int (*)(int *, char **, const char *);
  const auto run =
      module.load() ? reinterpret_cast<Entry>(module.resolve(ViewerModuleEntry)) : nullptr;
  if (!run) {
    const QString message =
        QStringLiteral("abrevel : la fenêtre ne peut pas s'ouvrir, son module %1 manque ou ne "
                       "convient pas (%2)")
            .arg(path, module.errorString());
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return 1;
  }
  return run(&argc, argv, applicationFolder.toUtf8().constData());
}

} // namespace abrevel
