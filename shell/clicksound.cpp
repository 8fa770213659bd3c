#include "shell/clicksound.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

namespace abrevel {

namespace {

using OpenFn = void *(*)(const QString &);
using PlayFn = void (*)(void *);
using CloseFn = void (*)(void *);

// The player module, loaded once from the program's folder or, failing
// that, from the folder of the sound; without it the viewer is silent.
struct PlayerModule {
  OpenFn open = nullptr;
  PlayFn play = nullptr;
  CloseFn close = nullptr;
};

const PlayerModule &playerModule(const QString &soundFolder) {
  static PlayerModule module;
  static bool tried = false;
  if (tried)
    return module;
  tried = true;
  for (const QString &folder : {QCoreApplication::applicationDirPath(), soundFolder}) {
    QLibrary library(folder + QStringLiteral("/abrevel_sound"));
    if (!library.load())
      continue;
    const PlayerModule found{reinterpret_cast<OpenFn>(library.resolve("abrevelClickOpen")),
                             reinterpret_cast<PlayFn>(library.resolve("abrevelClickPlay")),
                             reinterpret_cast<CloseFn>(library.resolve("abrevelClickClose"))};
    if (found.open && found.play && found.close) {
      module = found;
      break;
    }
    library.unload();
  }
  return module;
}

} // namespace

ClickSound::ClickSound() = default;

ClickSound::~ClickSound() { Close(); }

void ClickSound::Open(const QString &file) {
  Close();
  const PlayerModule &module = playerModule(QFileInfo(file).absolutePath());
  if (module.open) {
    m_player = module.open(file);
    m_close = module.close;
    m_play = module.play;
  }
}

void ClickSound::Play() {
  if (m_player)
    m_play(m_player);
}

void ClickSound::Close() {
  if (!m_player)
    return;
  m_close(m_player);
  m_player = nullptr;
}

} // namespace abrevel
