// The body text of the screens, supplied with the program and compiled into
// it from the files content/*.txt (one per chapter, chapterNN.txt). The text
// is stored already broken into lines: nothing wraps when it is drawn.
//
// The files are UTF-8. A block starts with a line "@CODE NAME" (the screen
// code and a name for the block within that screen); the lines that follow,
// up to the next "@" line, are the block's lines exactly as they are drawn,
// leading spaces included. Lines starting with "#" are comments; a block
// ends at an empty line, and an empty line inside a block is not allowed
// (write a block per paragraph instead).
//
// Inside a line, runs are marked for the inline formula device:
// *italic*, **bold**, ^{exponent}, _{index}, {S:symbol-font characters},
// {V:vector}; a backslash makes the next character plain. Two exponent
// forms of their own return to size 10 and to the line's top afterwards:
// ^5{exponent} raised 5 units, ^L{exponent} raised 0.3 of its 8-point line.
#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <utility>

namespace abrevel {

using TextKey = std::pair<int, QString>; // screen code, block name

// All blocks of all files, read once from the program's resources.
const std::map<TextKey, QStringList> &allTexts();

// The lines of one block. A block that does not exist gives no lines and is
// noted in missingTexts(), so that a test can find drawers asking for text
// that is not there.
QStringList Body(int screen, const QString &name);
QStringList missingTexts();

// The lines of one block joined into one string (for a one-line block).
QString BodyLine(int screen, const QString &name);

// Parses the content of one file; errors (a line outside a block, a block named
// twice, an empty block) are returned in *errors.
std::map<TextKey, QStringList> parseTexts(const QString &source, QStringList *errors);

} // namespace abrevel
