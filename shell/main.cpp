// abrevel: the chapter summary sheet viewer. See shell/commandline.h for
// what the command line does.
#include "shell/commandline.h"
#include "shell/terminationsignals.h"

#include <cstdio>

int main(int argc, char *argv[]) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  const abrevel::ParsedCommandLine parsed = abrevel::parseCommandLine(arguments);
  QString error = parsed.error;
  if (!parsed.ok()) {
    std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    return abrevel::BadArgumentStatus;
  }
  // The viewer writes into TEMPO.SPC when it ends, however it ends: a
  // termination signal from here on closes it as its close button does.
  const bool viewer = parsed.command.mode == abrevel::CommandLine::Mode::Viewer;
  if (viewer)
    abrevel::catchTerminationSignals();
  if (parsed.command.mode == abrevel::CommandLine::Mode::Help) {
    std::fputs(abrevel::usage().toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (!abrevel::preparePlatform(parsed.command, &error)) {
    std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    return abrevel::endAfterTerminationSignal(1);
  }
  const int status = abrevel::runCommandLine(argc, argv, parsed.command);
  return viewer ? abrevel::endAfterTerminationSignal(status) : status;
}
