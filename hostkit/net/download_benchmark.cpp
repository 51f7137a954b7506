// Timed download of one file through DownloadProgressDoModal (automatic
// start, the dialog shown and repainting), for comparison with other
// clients fetching the same file. Run by tests/http/benchmark_download.sh.
//
//   download_benchmark.exe URL FOLDER [raw]
//
// Prints "export SECONDS BYTES"; with "raw" it first times the same
// transfer as a bare WinInet loop of 1024-byte reads into a file, without
// dialog ("raw SECONDS BYTES"), and as a loop of reads of what has
// arrived ("available SECONDS BYTES READS"; KX_BENCH_MODE=full asks for
// 64 KB blocks instead, =nowait reads with IRF_NO_WAIT), to tell WinInet's
// own cost from the export's.
#include <windows.h>
// windows.h first
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hostkit/include/hostkit.h"
#include "platform/win32/module_loader.h"

namespace {

std::string BinFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.erase(folder.find_last_of('\\') + 1);
  return folder + "..\\bin\\";
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

long long FileBytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// What WinInet alone gives when every read takes what has arrived.
void AvailableTransfer(const std::string& url, const std::string& path) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  HINTERNET session = InternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  HINTERNET request = InternetOpenUrlA(session, url.c_str(), nullptr, 0,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  static char block[65536];
  DWORD available = 0, got = 0, written = 0;
  long long reads = 0;
  const char* mode = std::getenv("KX_BENCH_MODE");
  for (;;) {
    if (!request || !InternetQueryDataAvailable(request, &available, 0, 0)) break;
    if (mode && std::strcmp(mode, "nowait") == 0) {
      INTERNET_BUFFERSA buffers = {};
      buffers.dwStructSize = sizeof buffers;
      buffers.lpvBuffer = block;
      buffers.dwBufferLength = sizeof block;
      if (!InternetReadFileExA(request, &buffers, IRF_NO_WAIT, 0)) break;
      got = buffers.dwBufferLength;
    } else if (mode && std::strcmp(mode, "full") == 0) {
      if (!InternetReadFile(request, block, sizeof block, &got)) break;
    } else {
      if (!InternetReadFile(
              request, block,
              available ? (available < sizeof block ? available : sizeof block) : 1024, &got))
        break;
    }
    if (got == 0) break;
    ++reads;
    WriteFile(file, block, got, &written, nullptr);
  }
  CloseHandle(file);
  if (request) InternetCloseHandle(request);
  InternetCloseHandle(session);
  QueryPerformanceCounter(&end);
  std::printf("available %.3f %lld %lld\n", Seconds(start, end), FileBytes(path), reads);
}

void RawTransfer(const std::string& url, const std::string& path) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  HINTERNET session = InternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  HINTERNET request = InternetOpenUrlA(session, url.c_str(), nullptr, 0,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  char piece[1024];
  DWORD got = 0, written = 0;
  while (request && InternetReadFile(request, piece, sizeof piece, &got) && got > 0) {
    WriteFile(file, piece, got, &written, nullptr);
  }
  CloseHandle(file);
  if (request) InternetCloseHandle(request);
  InternetCloseHandle(session);
  QueryPerformanceCounter(&end);
  std::printf("raw %.3f %lld\n", Seconds(start, end), FileBytes(path));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: download_benchmark URL FOLDER [raw]\n");
    return 2;
  }
  const std::string url = argv[1];
  const std::string folder = argv[2];
  const std::string name = url.substr(url.find_last_of('/') + 1);
  if (argc > 3 && std::strcmp(argv[3], "raw") == 0) {
    RawTransfer(url, folder + "\\raw-" + name);
    AvailableTransfer(url, folder + "\\available-" + name);
  }

  kx::win::LoadedModule dll((BinFolder() + "Hostkit.dll").c_str());
  auto* do_modal = dll.Entry<decltype(DownloadProgressDoModal)>("DownloadProgressDoModal");
  if (do_modal == nullptr) return 1;
  BSTR slot = nullptr;
  int32_t automatic = 1;
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  const int32_t result =
      do_modal(nullptr, 400, 300, "ダウンロード", url.c_str(), folder.c_str(), &slot, &automatic);
  QueryPerformanceCounter(&end);
  std::printf("export %.3f %lld\n", Seconds(start, end), FileBytes(folder + "\\" + name));
  SysFreeString(slot);
  return result == 1 ? 0 : 1;
}
