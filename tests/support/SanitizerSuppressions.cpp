// Linked into every test program. Cairo and fontconfig keep font caches and X drawing state
// for the life of the process; the leak checker of sanitizer builds does not count them.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libcairo.so\nleak:libfontconfig.so\n";
}
