// The click sound player (MMControl1): opened once at load on the
// application folder's "clac.wav", replayed from its start at each arrow
// click, closed at unload.
//
// Sound is a courtesy: a missing or unreadable file, no audio device at all,
// or no player module (abrevel_sound, beside the program) leaves the viewer
// silent. Nothing here ever blocks or reports.
#pragma once

#include <QString>

namespace abrevel {

class ClickSound {
public:
  ClickSound();
  ~ClickSound();
  ClickSound(const ClickSound &) = delete;
  ClickSound &operator=(const ClickSound &) = delete;

  // Opens the wave file; the player stays open until Close.
  void Open(const QString &file);
  // Plays the sound from its start.
  void Play();
  void Close();

  bool isOpen() const { return m_player != nullptr; }

private:
  void *m_player = nullptr;
  void (*m_play)(void *) = nullptr;
  void (*m_close)(void *) = nullptr;
};

} // namespace abrevel
