// What the leak checker of a sanitizer build is to ignore in corva and the
// test programs that draw text. Fontconfig keeps its font sets behind encoded
// offsets, which the checker takes for lost memory; the graphics layer keeps
// its fonts for the life of the process. Exported, so the checker finds it.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
