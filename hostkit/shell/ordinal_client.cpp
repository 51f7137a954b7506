// Links Hostkit.dll by ordinal at load time, as the environment check does,
// and calls both entry points it uses.
//
//   hostkit_ordinal_client <engine file under bin\> <expected library code>
//
// Exit status 0 when both answer as expected.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "hostkit/include/hostkit.h"

namespace {

// The installed programs' folder: bin\ beside this program's testbin\.
std::string BinFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.erase(folder.find_last_of('\\') + 1);
  return folder + "..\\bin\\";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: hostkit_ordinal_client <engine file> <library code>\n");
    return 2;
  }
  const std::string engine = BinFolder() + argv[1];
  const int expected = std::atoi(argv[2]);
  const int32_t type = EnvChk_GetGLType(engine.c_str());
  std::printf("EnvChk_GetGLType(%s) = %d\n", engine.c_str(), static_cast<int>(type));

  EnvChkGLSpec spec;
  char chip[HOSTKIT_GLSPEC_CHIPTYPE_BYTES] = "untouched";
  const int32_t result = EnvChk_GetGLSpec(BinFolder().c_str(), 1, &spec, chip);
  std::printf("EnvChk_GetGLSpec = %d, chip \"%s\", VideoMemory %g, DirectX %d, DirectX9c %d\n",
              static_cast<int>(result), chip, spec.VideoMemory, static_cast<int>(spec.DirectX),
              static_cast<int>(spec.DirectX9c));
  // The capability lookup always names the chip, "unknown" at worst.
  const bool ok =
      type == expected && result == 0 && chip[0] != '\0' && std::string(chip) != "untouched";
  return ok ? 0 : 1;
}
