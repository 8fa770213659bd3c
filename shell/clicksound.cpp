#include "shell/clicksound.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace abrevel {

ClickSound::ClickSound() = default;

ClickSound::~ClickSound() { Close(); }

void ClickSound::Open(const QString &file) {
  Close();
  // Without a file or a device there is nothing to play: stay silent.
  if (!QFileInfo(file).isFile() || QMediaDevices::audioOutputs().isEmpty())
    return;
  m_effect = new QSoundEffect;
  m_effect->setSource(QUrl::fromLocalFile(file));
}

void ClickSound::Play() {
  if (!m_effect || m_effect->status() == QSoundEffect::Error)
    return;
  m_effect->stop();
  m_effect->play();
}

void ClickSound::Close() {
  if (!m_effect)
    return;
  m_effect->stop();
  delete m_effect;
  m_effect = nullptr;
}

} // namespace abrevel
