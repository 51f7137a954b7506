// A second process for the exchange-file tests: reads or writes one value of
// a private-profile file, as the other program would.
//
//   profile_probe read  <file> <section> <key>          prints the value
//   profile_probe write <file> <section> <key> <value>
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "read") == 0) {
    char value[1024] = {};
    GetPrivateProfileStringA(argv[3], argv[4], "<absent>", value, sizeof value, argv[2]);
    std::fputs(value, stdout);
    return 0;
  }
  if (argc == 6 && std::strcmp(argv[1], "write") == 0) {
    return WritePrivateProfileStringA(argv[3], argv[4], argv[5], argv[2]) ? 0 : 1;
  }
  std::fputs("usage: profile_probe read|write file section key [value]\n", stderr);
  return 2;
}
