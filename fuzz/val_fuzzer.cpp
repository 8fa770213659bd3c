// The number rule of the chapter record and its 16-bit conversion, against
// a plain second reading of the same rule: any text in (as UTF-8, as the
// parent's code page and as raw UTF-16), the same value out, and a chapter
// that is that value rounded halves to even, or none when it does not fit.
#include "fuzz/check.h"
#include "shell/handoff.h"

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

using namespace abrevel;

namespace {

bool digit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The rule read once more, by hand: drop spaces, tabs and line feeds, take
// the longest prefix of the form [+-] digits [. digits] [(E|D) [+-] digits]
// with at least one digit in the mantissa, and let strtod give its value.
double reference(const QString &text) {
  std::u16string s;
  for (QChar c : text)
    if (c != u' ' && c != u'\t' && c != u'\n')
      s += c.unicode();
  std::string accepted;
  size_t i = 0;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
    accepted += static_cast<char>(s[i++]);
  size_t mantissaDigits = 0;
  for (; i < s.size() && digit(s[i]); ++i, ++mantissaDigits)
    accepted += static_cast<char>(s[i]);
  if (i < s.size() && s[i] == u'.') {
    accepted += '.';
    for (++i; i < s.size() && digit(s[i]); ++i, ++mantissaDigits)
      accepted += static_cast<char>(s[i]);
  }
  if (mantissaDigits == 0)
    return 0;
  if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
    size_t k = i + 1;
    std::string exponent = "e";
    if (k < s.size() && (s[k] == u'+' || s[k] == u'-'))
      exponent += static_cast<char>(s[k++]);
    if (k < s.size() && digit(s[k])) {
      for (; k < s.size() && digit(s[k]); ++k)
        exponent += static_cast<char>(s[k]);
      accepted += exponent;
    }
  }
  errno = 0;
  return std::strtod(accepted.c_str(), nullptr);
}

void checkText(const QString &text) {
  const double value = Val(text);
  const double expected = reference(text);
  FUZZ_CHECK(!std::isnan(value));
  if (std::fabs(expected) < DBL_MIN) {
    // Below the normal range: either reading may give 0.
    FUZZ_CHECK(value == 0 || value == expected);
  } else {
    FUZZ_CHECK(value == expected);
  }

  // The chapter: the value rounded to the nearest integer, halves to even
  // (the default rounding of the floating-point unit), when that fits 16 bits.
  const std::optional<std::int16_t> chapter = chapterOf(text);
  const double rounded = std::isfinite(value) ? std::nearbyint(value) : value;
  const bool fits = std::isfinite(rounded) && rounded >= -32768 && rounded <= 32767;
  FUZZ_CHECK(chapter.has_value() == fits);
  if (chapter) {
    FUZZ_CHECK(*chapter == rounded);
    FUZZ_CHECK(std::fabs(value - *chapter) <= 0.5);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  checkText(QString::fromUtf8(bytes));
  checkText(fromWindows1252(bytes));
  checkText(
      QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2));
  return 0;
}
