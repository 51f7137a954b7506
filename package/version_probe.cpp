// Reads the version resource of each file named on the command line the way
// the file properties of Windows do (GetFileVersionInfoA, VerQueryValueA:
// texts in the ANSI code page) and checks it against the release's version:
// the fixed file and product version, the translation that names the
// Japanese block of code page 932, and that block's texts.
//
//   package_version_probe <version a.b.c[.d]> <file>...
//
// Prints what it read; the exit status is the number of findings.
#include <windows.h>
// windows.h first
#include <winver.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kProductName[] = "3D ドミレルデザイナー サポートツール";

int findings = 0;

void Finding(const char* file, const std::string& what) {
  std::printf("%s: %s\n", file, what.c_str());
  ++findings;
}

// "1.2.3" or "1.2.3.4" as the two 32-bit halves of a fixed version.
bool ParseVersion(const char* text, DWORD* ms, DWORD* ls) {
  unsigned part[4] = {0, 0, 0, 0};
  const int read = std::sscanf(text, "%u.%u.%u.%u", &part[0], &part[1], &part[2], &part[3]);
  if (read < 3) return false;
  *ms = MAKELONG(part[1], part[0]);
  *ls = MAKELONG(part[3], part[2]);
  return true;
}

std::string FixedVersion(DWORD ms, DWORD ls) {
  char text[64];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", HIWORD(ms), LOWORD(ms), HIWORD(ls), LOWORD(ls));
  return text;
}

// A text of the block, or "(none)".
std::string Text(std::vector<char>& info, const std::string& block, const char* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::string path = "\\StringFileInfo\\" + block + "\\" + name;
  if (!VerQueryValueA(info.data(), path.c_str(), &value, &length) || value == nullptr) {
    return "(none)";
  }
  return static_cast<const char*>(value);
}

void Check(const char* version, DWORD ms, DWORD ls, const char* file) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  if (size == 0) return Finding(file, "no version resource");
  std::vector<char> info(size);
  if (!GetFileVersionInfoA(file, 0, size, info.data())) {
    return Finding(file, "GetFileVersionInfoA failed");
  }

  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
    return Finding(file, "no fixed file information");
  }
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  const std::string expected = FixedVersion(ms, ls);
  const std::string file_version = FixedVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
  const std::string product_version =
      FixedVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
  if (file_version != expected) {
    Finding(file, "fixed file version " + file_version + ", not " + expected);
  }
  if (product_version != expected) {
    Finding(file, "fixed product version " + product_version + ", not " + expected);
  }
  const char* name = std::strrchr(file, '/');
  name = name ? name + 1 : file;
  const size_t name_length = std::strlen(name);
  const bool dll = name_length > 4 && lstrcmpiA(name + name_length - 4, ".dll") == 0;
  if (fixed->dwFileType != (dll ? VFT_DLL : VFT_APP)) Finding(file, "wrong file type");

  if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &value, &length) || length < 4) {
    return Finding(file, "no translation");
  }
  const WORD* translation = static_cast<const WORD*>(value);
  char block[9];
  std::snprintf(block, sizeof block, "%04X%04X", translation[0], translation[1]);
  if (std::string(block) != "041103A4") {
    Finding(file, std::string("translation ") + block + ", not 041103A4");
  }

  const std::string texts[][2] = {{"FileVersion", version},
                                  {"ProductVersion", version},
                                  {"ProductName", kProductName},
                                  {"OriginalFilename", name}};
  for (const auto& text : texts) {
    const std::string read = Text(info, block, text[0].c_str());
    if (read != text[1]) Finding(file, text[0] + " " + read + ", not " + text[1]);
  }
  const std::string description = Text(info, block, "FileDescription");
  if (description == "(none)" || description.empty()) Finding(file, "no FileDescription");
  std::printf("%s: %s %s, %s\n", name, block, file_version.c_str(), description.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  DWORD ms = 0, ls = 0;
  if (argc < 3 || !ParseVersion(argv[1], &ms, &ls)) {
    std::fprintf(stderr, "usage: package_version_probe <version a.b.c[.d]> <file>...\n");
    return 100;
  }
  for (int i = 2; i < argc; ++i) Check(argv[1], ms, ls, argv[i]);
  return findings;
}
