// The sanitizers' default settings, linked into every program of the
// sanitizer build: the first error ends the program with a stack trace, and
// leaks are checked at exit, except those inside the system libraries named
// in the suppression file (Qt's and fontconfig's caches, which live as long
// as the process).
extern "C" {

const char *__asan_default_options() {
  return "detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:"
         "halt_on_error=1";
}

const char *__ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

const char *__lsan_default_options() {
  return "suppressions=" ABREVEL_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

} // extern "C"
