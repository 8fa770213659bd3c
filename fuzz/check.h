// What the fuzz targets share: a check that stops the run on the first
// broken rule, naming it, so that libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      std::fprintf(stderr, "%s:%d: broken rule: %s\n", __FILE__, __LINE__, #condition);            \
      std::abort();                                                                                \
    }                                                                                              \
  } while (false)
