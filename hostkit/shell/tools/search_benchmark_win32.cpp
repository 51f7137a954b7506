// Timed run of the parts search over a generated parts library of 50,000
// files (half of them models of the stand-in engine with attribute texts,
// half thumbnails), against a bare walk of the same tree in the same run:
//
//   search_benchmark <tree folder> [runs]
//
// The tree is made on the first run and kept (making it under Wine takes a
// few minutes). The engine and Hostkit.dll come from bin\ beside testbin\.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "hostkit/include/hostkit.h"
#include "hostkit/shell/search_engine_win32.h"
#include "hostkit/shell/search_walk.h"
#include "hostkit/shell/shell_platform_win32.h"
#include "platform/win32/module_loader.h"
#include "standins/kx3d/file_attribute.h"
#include "standins/kx3d/q3d_model.h"

namespace {

using namespace kx::hostkit;

constexpr int kFolders = 100;
constexpr int kPartsPerFolder = 250;  // a model and a thumbnail each

std::string BinFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.erase(folder.find_last_of('\\') + 1);
  return folder + "..\\bin\\";
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  return WriteWholeFile(path, bytes);
}

std::string Model(const std::string& name, const std::string& description) {
  kx::kx3d::Model model;
  kx::kx3d::Part part;
  part.name = "box";
  part.vertices = {{{0, 0, 0}, {0, 0, 1}}, {{1, 0, 0}, {0, 0, 1}}, {{0, 1, 0}, {0, 0, 1}}};
  part.indices = {0, 1, 2};
  model.parts.push_back(part);
  return *kx::kx3d::EncodeModel(model) + *kx::kx3d::EncodeAttributeSection({name, description});
}

bool MakeTree(const std::string& root) {
  const std::string marker = root + "tree_complete";
  if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  std::printf("making the tree in %s ...\n", root.c_str());
  CreateDirectoryA(root.c_str(), nullptr);
  const std::string thumbnail(2048, 'b');
  for (int f = 0; f < kFolders; ++f) {
    char folder[32];
    std::snprintf(folder, sizeof folder, "cat%03d\\", f);
    const std::string dir = root + folder;
    CreateDirectoryA(dir.c_str(), nullptr);
    for (int p = 0; p < kPartsPerFolder; ++p) {
      const int number = f * kPartsPerFolder + p;
      char name[32];
      std::snprintf(name, sizeof name, "part%05d", number);
      // One part in a hundred is a sofa by its attributes.
      const std::string title = number % 100 == 0 ? "ソファ " + std::to_string(number) : "棚";
      if (!WriteBytes(dir + name + ".q3d", Model(title, "catalogue item")) ||
          !WriteBytes(dir + name + ".bmp", thumbnail)) {
        return false;
      }
    }
  }
  return WriteBytes(marker, "");
}

long long BareWalk(const std::string& folder) {
  long long files = 0;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string name = data.cFileName;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (name != "." && name != "..") files += BareWalk(folder + name + "\\");
    } else {
      ++files;
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return files;
}

// The bare walk, opening and closing every model on the way: what any
// reader of the models' attributes costs at least.
long long WalkAndOpen(const std::string& folder) {
  long long opened = 0;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string name = data.cFileName;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (name != "." && name != "..") opened += WalkAndOpen(folder + name + "\\");
    } else if (EndsWithNoCase(name, ".q3d")) {
      HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        ++opened;
      }
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return opened;
}

class QuietListener final : public SearchListener {
 public:
  SearchRun* run = nullptr;
  void Progress() override { run->ProgressShown(); }
  void Done() override {}
};

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: search_benchmark <tree folder> [runs]\n");
    return 2;
  }
  std::string root = argv[1];
  if (root.back() != '\\') root += '\\';
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  if (!MakeTree(root)) {
    std::fprintf(stderr, "cannot make the tree\n");
    return 1;
  }
  SetDllDirectoryA(BinFolder().c_str());
  kx::win::LoadedModule hostkit((BinFolder() + "Hostkit.dll").c_str());
  auto* search_export = hostkit.Entry<decltype(SearchProgressDoModal)>("SearchProgressDoModal");
  if (search_export == nullptr) {
    std::fprintf(stderr, "no Hostkit.dll\n");
    return 1;
  }

  std::printf("warm-up walk: %lld files\n", BareWalk(root));
  std::vector<double> bare, opening, walk_only, search, dialog;
  std::int32_t hits = 0, examined = 0;
  for (int r = 0; r < runs; ++r) {
    double start = Now();
    const long long files = BareWalk(root);
    bare.push_back(Now() - start);
    start = Now();
    WalkAndOpen(root);
    opening.push_back(Now() - start);

    // The walk and its name matching alone: models by name, no attributes.
    {
      Win32SearchFiles tree;
      Win32SearchTextMapper mapper;
      SearchEngineLibrary engine;
      QuietListener listener;
      SearchRun run({root, SearchKeywords(mapper, "ｿﾌｧ"), {".bmp"}}, tree, engine, mapper,
                    listener);
      listener.run = &run;
      start = Now();
      run.Run();
      walk_only.push_back(Now() - start);
    }
    // The whole search of the models, attributes read by the engine.
    {
      Win32SearchFiles tree;
      Win32SearchTextMapper mapper;
      SearchEngineLibrary engine;
      QuietListener listener;
      SearchRun run({root, SearchKeywords(mapper, "ｿﾌｧ"), {".q3d"}}, tree, engine, mapper,
                    listener);
      listener.run = &run;
      start = Now();
      run.Run();
      search.push_back(Now() - start);
      hits = run.hit_count();
      examined = run.files_examined();
    }
    // The same through the export, with its dialog and result file.
    {
      std::int32_t count = static_cast<std::int32_t>(files / 2), found = 0;
      const std::string result = root + "..\\search_benchmark_result.txt";
      start = Now();
      const std::int32_t ended = search_export(nullptr, 400, 400, "bench", root.c_str(), "ｿﾌｧ",
                                               ".q3d", &count, result.c_str(), &found);
      dialog.push_back(Now() - start);
      if (ended != 1 || found != hits) std::printf("export run: %d, %d hits\n", ended, found);
    }
    std::printf(
        "run %d: %lld files; bare %.3f s, opening %.3f s, names only %.3f s, search %.3f s, "
        "through the dialog %.3f s\n",
        r + 1, files, bare.back(), opening.back(), walk_only.back(), search.back(), dialog.back());
  }
  const double base = Median(bare);
  std::printf("medians of %d runs (%d models examined, %d hits):\n", runs, examined, hits);
  std::printf("  bare walk                 %.3f s\n", base);
  std::printf("  walk, opening each model  %.3f s  %.2fx\n", Median(opening),
              Median(opening) / base);
  std::printf("  search, names only (.bmp) %.3f s  %.2fx\n", Median(walk_only),
              Median(walk_only) / base);
  std::printf("  search of the models      %.3f s  %.2fx (%.2fx the walk opening them)\n",
              Median(search), Median(search) / base, Median(search) / Median(opening));
  std::printf("  through the dialog        %.3f s  %.2fx\n", Median(dialog), Median(dialog) / base);
  return 0;
}
