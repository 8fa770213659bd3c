// The click sound's player, built as a module of its own (abrevel_sound)
// that the window loads when it opens the sound: the multimedia libraries,
// their audio server client and codecs are then loaded only by a viewer
// that plays sound, never by the headless renderer or the printer.
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

extern "C" {

// A player for the wave file, or null when there is no file or no device.
Q_DECL_EXPORT void *abrevelClickOpen(const QString &file) {
  if (!QFileInfo(file).isFile() || QMediaDevices::audioOutputs().isEmpty())
    return nullptr;
  auto *effect = new QSoundEffect;
  effect->setSource(QUrl::fromLocalFile(file));
  return effect;
}

// Plays the sound from its start.
Q_DECL_EXPORT void abrevelClickPlay(void *player) {
  auto *effect = static_cast<QSoundEffect *>(player);
  if (!effect || effect->status() == QSoundEffect::Error)
    return;
  effect->stop();
  effect->play();
}

Q_DECL_EXPORT void abrevelClickClose(void *player) {
  auto *effect = static_cast<QSoundEffect *>(player);
  if (!effect)
    return;
  effect->stop();
  delete effect;
}
}
