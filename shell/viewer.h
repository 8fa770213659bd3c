// Opening the viewer window. The window and everything that knows widgets
// live in a module beside the program, loaded only when the window opens:
// the headless modes start without the widget and printer libraries, which
// would otherwise take a good part of their time and memory.
#pragma once

#include <QString>

namespace abrevel {

// The module's file name, beside the program, and its one entry:
//   int abrevel_run_viewer(int *argc, char **argv, const char *applicationFolder)
// which builds the application object, runs the viewer on the application
// folder (UTF-8; empty: the program's folder) and gives the exit status.
inline constexpr char ViewerModuleFile[] = "libabrevel_viewer.so";
inline constexpr char ViewerModuleEntry[] = "abrevel_run_viewer";

// The folder the running program's file is in, known before any application
// object exists.
QString programFolder(const char *argv0);

// Loads the module and runs the viewer. Without a readable module, or with
// one that does not fit this program, a one-line message goes to standard
// error and the status is 1; TEMPO.SPC is not touched.
int runViewer(int &argc, char **argv, const QString &applicationFolder);

} // namespace abrevel
