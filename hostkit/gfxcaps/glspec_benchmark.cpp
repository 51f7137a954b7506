// Where the time of EnvChk_GetGLSpec goes. Not a test: started by hand,
//
//   scripts/wine-run build/win64/testbin/glspec_benchmark.exe [runs] [Hostkit.dll]
//
// It times the export as the host calls it (Hostkit.dll from the build's
// bin folder, or the one named) and then each step the call is made of,
// alone, over the same Win32 implementations; it prints the median of every
// step and its share of the sum of the step medians, and checks that every
// call returned the same record. Beside the time on the clock it prints the
// processor time of this process, which other programs running at the same
// time do not inflate as much.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/file_system_win32.h"
#include "common/profile_store_win32.h"
#include "hostkit/gfxcaps/chip_lists.h"
#include "hostkit/gfxcaps/device_acceptability.h"
#include "hostkit/gfxcaps/direct3d_probe_win32.h"
#include "hostkit/gfxcaps/directdraw_probe_win32.h"
#include "hostkit/gfxcaps/dxdiag_devices_win32.h"
#include "hostkit/gfxcaps/gl_spec.h"
#include "hostkit/gfxcaps/video_board.h"
#include "hostkit/include/hostkit.h"
#include "platform/win32/module_loader.h"

namespace {

using namespace kx::hostkit;
using GetGLSpecFn = int32_t WINAPI(const char*, int32_t, EnvChkGLSpec*, char*);

double Now() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Processor time of this process (all its threads), in milliseconds.
double ProcessorTime() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0.0;
  const auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           10000.0;
  };
  return ms(kernel) + ms(user);
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

std::vector<double> Time(int runs, const std::function<void()>& step) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const double start = Now();
    step();
    times.push_back(Now() - start);
  }
  return times;
}

std::string BinFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + "..\\bin\\";
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const std::string bin = BinFolder();
  const std::string library = argc > 2 ? argv[2] : bin + "Hostkit.dll";

  // The export, as the host application calls it.
  kx::win::LoadedModule hostkit(library.c_str());
  auto* get_gl_spec = hostkit.Entry<GetGLSpecFn>("EnvChk_GetGLSpec");
  if (get_gl_spec == nullptr) {
    std::fprintf(stderr, "no EnvChk_GetGLSpec in %s\n", library.c_str());
    return 1;
  }
  EnvChkGLSpec first = {};
  char first_chip[HOSTKIT_GLSPEC_CHIPTYPE_BYTES] = {};
  bool same = true;
  std::vector<double> calls, processor;
  for (int run = 0; run < runs; ++run) {
    EnvChkGLSpec spec = {};
    char chip[HOSTKIT_GLSPEC_CHIPTYPE_BYTES] = {};
    const double start = Now();
    const double start_processor = ProcessorTime();
    const int32_t result = get_gl_spec(bin.c_str(), 1, &spec, chip);
    calls.push_back(Now() - start);
    processor.push_back(ProcessorTime() - start_processor);
    if (result != 0) {
      std::fprintf(stderr, "call %d returned %d\n", run + 1, result);
      return 1;
    }
    if (run == 0) {
      first = spec;
      std::memcpy(first_chip, chip, sizeof chip);
    } else {
      same = same && std::memcmp(&first, &spec, sizeof spec) == 0 &&
             std::strcmp(first_chip, chip) == 0;
    }
    std::printf("call %d: %.1f ms, processor %.1f ms\n", run + 1, calls.back(), processor.back());
  }
  std::printf(
      "EnvChk_GetGLSpec, %d calls: median %.1f ms, fastest %.1f ms, slowest %.1f ms; processor "
      "median %.1f ms\n",
      runs, Median(calls), *std::min_element(calls.begin(), calls.end()),
      *std::max_element(calls.begin(), calls.end()), Median(processor));
  std::printf(
      "record: AA %d SM %d PS %d DXC %d DX9cC %d PC %d VM %g DX %d DX9c %d chip \"%s\"; %s\n",
      first.AntiAliasAcceptable, first.ShadowMapAcceptable, first.PhongShadingAcceptable,
      first.DirectXCapable, first.DirectX9cCapable, first.PhongCheck, first.VideoMemory,
      first.DirectX, first.DirectX9c, first_chip,
      same ? "the same on every call" : "NOT THE SAME ON EVERY CALL");

  // The steps one call is made of, each alone.
  Win32Direct3DProbe direct3d;
  Win32DiagService diag;
  Win32ThreadCodePage code_page;
  kx::Win32ProfileStore profiles;
  kx::Win32FileSystem files;
  std::unique_ptr<Direct3DAdapter> held;  // for the questions alone
  struct Step {
    const char* name;
    bool in_call;  // a step of the call as it is made now
    std::function<void()> run;
  };
  const std::vector<Step> steps = {
      {"Direct3D 9: load, create, release", true, [&] { (void)direct3d.Open(); }},
      {"Direct3D 9: identifier and the three tests", true,
       [&] {
         // Asked of one object, as the call asks them; its opening is the
         // step above and is not counted here.
         if (!held) held = direct3d.Open();
         if (held) (void)held->DeviceIdentifier();
         (void)ConformDeviceEx(held.get(), kLibraryDirectXShader, kMaskAntiAlias);
         (void)ConformDeviceEx(held.get(), kLibraryDirectXShader, kMaskShadowMap);
         (void)ConformDeviceEx(held.get(), kLibraryDirectXShader, kMaskPhong);
       }},
      {"DxDiag: service and display devices", true, [&] { (void)ReadDisplayDevices(diag); }},
      {"glspec.ini: four lists", true,
       [&] {
         ChipLists lists(profiles, files, bin);
         for (const char* section :
              {kDisableAntiAlias, kDisablePhong, kDirectXSpec, kUncheckPhong}) {
           (void)lists.Lists(first_chip, section);
         }
       }},
      {"the three tests, an object each (as before)", false,
       [&] {
         (void)ConformDeviceEx(direct3d, kLibraryDirectXShader, kMaskAntiAlias);
         (void)ConformDeviceEx(direct3d, kLibraryDirectXShader, kMaskShadowMap);
         (void)ConformDeviceEx(direct3d, kLibraryDirectXShader, kMaskPhong);
       }},
      {"DirectDraw: total memory (not in the call)", false,
       [&] {
         Win32DirectDrawProbe directdraw;
         (void)ReadDirectDrawMemory(directdraw);
       }},
  };
  std::vector<double> medians;
  double in_call = 0.0;
  for (const Step& step : steps) {
    medians.push_back(Median(Time(runs, step.run)));
    if (step.in_call) in_call += medians.back();
    held.reset();
  }
  std::printf("\n%-46s %10s %8s\n", "step (median of each)", "ms", "share");
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (steps[i].in_call) {
      std::printf("%-46s %10.1f %7.1f%%\n", steps[i].name, medians[i],
                  100.0 * medians[i] / in_call);
    } else {
      std::printf("%-46s %10.1f %8s\n", steps[i].name, medians[i], "-");
    }
  }
  std::printf("%-46s %10.1f\n", "sum of the call's steps", in_call);
  // The service runs on a thread of its own beside the Direct3D steps.
  std::printf("%-46s %10.1f\n", "the call with the service beside Direct3D",
              std::max(medians[0] + medians[1], medians[2]) + medians[3]);
  return same ? 0 : 1;
}
