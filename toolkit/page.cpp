#include "toolkit/page.h"

#include <QDir>

namespace abrevel {

Page::Page() = default;

QString withTrailingSeparator(const QString &folder) {
  const QChar sep = QDir::separator();
  if (folder.endsWith(sep) || folder.endsWith(QLatin1Char('/')))
    return folder;
  return folder + sep;
}

bool callDrawer(Page &page, PageDrawer drawer) {
  if (!drawer || !page.target)
    return true;
  const ErrorRule rule(page, OnError::ResumeNext);
  try {
    drawer(page);
  } catch (const DrawError &) {
    // The drawer stopped at an error: the rest of its page stays undrawn.
    return false;
  }
  return true;
}

} // namespace abrevel
