// Writes the fingerprints of every factory program, played by the zintara3.dll beside this program, into
// a file:
//   write_program_fingerprints file
// The fingerprint test of the engine compares the plug-in with plugin/engine/tests/ProgramFingerprints.bin.
// After a deliberate change of the sound, renew that file (and rebuild) with
//   cmake --build build --target update_program_fingerprints

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "plugin/engine/ProgramRecord.h"
#include "plugin/engine/tools/ProgramFingerprint.h"
#include "tests/support/TestPaths.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_program_fingerprints file\n");
    return 2;
  }
  // A private copy, so that the plug-in's settings file lands in a folder of its own.
  const std::string plugin = Testing::makeTempFolder("zintara-fingerprints") + "zintara3.dll";
  if (!CopyFileA((Testing::binaryFolder() + "zintara3.dll").c_str(), plugin.c_str(), FALSE)) {
    std::fprintf(stderr, "cannot copy zintara3.dll\n");
    return 1;
  }
  const ProgramRenderer renderer(plugin);
  if (!renderer.loaded()) {
    std::fprintf(stderr, "cannot load %s\n", plugin.c_str());
    return 1;
  }
  const std::string bytes = encodeFingerprints(takeProgramFingerprints(renderer, programCount));
  std::ofstream file(argv[1], std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file.flush()) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%d programs written to %s\n", programCount, argv[1]);
  return 0;
}
