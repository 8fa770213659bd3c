// The hand-off file TEMPO.SPC, shared with the parent application that
// starts the viewer.
//
// The file lives in the application folder and is made of 128-byte records,
// numbered from 1 (record n starts at byte (n - 1) × 128). The viewer uses
// two of them, each holding one string stored as a 2-byte little-endian
// length L followed by L bytes of Windows-1252 text:
//
//   record 18, running flag: "OUI" while the viewer runs, "NON" once closed;
//   record 25, chapter:      the chapter number as text, written by the
//                            parent; " 0" once the viewer is closed.
//
// Every other record belongs to the parent and is never read or written.
// A string is written with one write call of exactly its 2 + L bytes, so no
// byte outside it ever changes. The file is opened only for the moment of
// one access and no lock is taken. A missing file is never created: it holds
// no chapter, the viewer ends at once, and no file the parent did not write
// is left behind (a parent reading record 18 of a missing file reads no
// "OUI"). A file that cannot be read but can be written still gets the
// flags.
//
// Reading a record: the record is read whole in one call, and read again
// until two readings agree, so that a string the parent is rewriting at
// that moment never reads half old, half new; nothing else of the file is
// read. A record whose length field or text lies (partly) beyond the end of
// the file reads empty. A length field larger than the
// record's own space (126 bytes) is read as 126: the text never runs into
// the next record.
//
// Errors are never reported: a file that cannot be opened or read gives an
// empty text (chapter 0), a failed write is skipped.
#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <optional>

namespace abrevel {

inline constexpr int HandoffRecordLength = 128;
// The most text a record holds: the record less its length field.
inline constexpr int HandoffRecordTextMax = HandoffRecordLength - 2;
inline constexpr int RunningFlagRecord = 18;
inline constexpr int ChapterRecord = 25;

// AppFolder followed by the file name.
QString handoffPath(const QString &appFolder);

// The numeric value of a text the way the parent's platform reads numbers:
// spaces, tabs and line feeds are ignored wherever they stand; an optional
// sign, digits, one decimal point (never a comma) and an exponent (E or D,
// "1E2" is 100) are read up to the first character that cannot continue the
// number; a text that does not begin with a number is 0. A value too large
// for a double is an infinity (and so does not fit 16 bits).
double Val(const QString &text);

// The chapter number a text stands for: its Val rounded to 16 bits, halves
// to even; nullopt when the value does not fit 16 bits.
std::optional<std::int16_t> chapterOf(const QString &text);

// Windows-1252 bytes as text.
QString fromWindows1252(const QByteArray &bytes);

// One record's string, read or written in one access (open, transfer,
// close). readRecord gives the empty string for a record beyond the end of
// the file or a file that cannot be read. writeRecord writes at most 126
// bytes of text; it returns false when the write failed.
QByteArray readRecord(const QString &path, int record);
bool writeRecord(const QString &path, int record, const QByteArray &text);

// The viewer's three accesses, each one complete open, transfer and close.
namespace handoff {

// What the start-up access found of the file.
enum class FileState { Read, Missing, Unreadable };

// Start-up: record 18 = "OUI", then the chapter of record 25 (0 when it is
// empty, not a number or does not fit 16 bits, or when the file is missing
// or cannot be read, which *state then tells).
std::int16_t startup(const QString &appFolder, FileState *state = nullptr);

// Repaint: the value of record 25, unrounded, for the caller to compare
// with the chapter on display.
double repaint(const QString &appFolder);

// Shutdown: record 18 = "NON", record 25 = " 0".
void shutdown(const QString &appFolder);

// The end for want of a chapter (0 at start-up or at a repaint): record 18
// = "NON"; record 25 keeps what the parent wrote.
void endWithoutChapter(const QString &appFolder);

} // namespace handoff

// One viewer's session on the hand-off file, from its start-up access to
// the write that tells the parent it has ended. That write is made once,
// by whichever end comes first:
//   shutdown()           the window unloaded: close button, the platform
//                        closing it, a termination signal;
//   endWithoutChapter()  no chapter at start-up or at a repaint;
//   the process exiting  while the session runs (through exit() or
//                        quick_exit(): the platform ends the program that
//                        way when the display connection breaks), which
//                        makes the shutdown access.
// Any later end writes nothing. A session destroyed without ending (a
// window of the tests) writes nothing either. One session at a time is
// watched at exit: the one started last.
class HandoffSession {
public:
  explicit HandoffSession(QString appFolder);
  ~HandoffSession();
  HandoffSession(const HandoffSession &) = delete;
  HandoffSession &operator=(const HandoffSession &) = delete;

  // The start-up access; from here until the session ends, the process
  // exiting ends it.
  std::int16_t startup();
  double repaint() const;
  void shutdown();
  void endWithoutChapter();

  // What the start-up access found of the file.
  handoff::FileState fileState() const { return m_fileState; }
  bool ended() const { return m_ended.load(); }

private:
  // True for the first end only.
  bool takeEnd();

  QString m_folder;
  handoff::FileState m_fileState = handoff::FileState::Read;
  std::atomic<bool> m_ended{false};
};

} // namespace abrevel
