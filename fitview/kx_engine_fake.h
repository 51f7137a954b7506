// A 3D engine that records every call as one line of text and answers as a
// test scripts it, and a platform with a settable view size and folders.
#pragma once

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "common/text.h"
#include "fitview/kx_if.h"

namespace kx::test {

class RecordingEngine final : public KxEngine {
 public:
  std::vector<std::string> calls;
  // Scripted answers.
  std::int32_t initialize_result = 0;
  std::int32_t init_draw_result = 0;
  std::int32_t confirm_result = 0;
  std::int32_t header_handle = 7;
  std::int32_t read_result = 1;

  std::int32_t Initialize() override { return Note("3()"), initialize_result; }
  void Terminate() override { Note("4()"); }
  void SetEnvironment(std::int32_t id, std::int32_t value) override {
    Note(Format("2907(%d,%d)", id, value));
  }
  void SetEnvironmentEx(std::int32_t id, std::int32_t value) override {
    Note(Format("1257(0x%x,%d)", id, value));
  }
  void ForceRGBPixelFormat(std::int32_t force) override { Note(Format("1218(%d)", force)); }
  std::int32_t InitDrawEx(WindowId window, std::int32_t mode, std::int32_t option,
                          std::int32_t code) override {
    Note(Format("1241(%ld,%d,0x%x,null,%d)", static_cast<long>(window), mode, option, code));
    return init_draw_result;
  }
  std::int32_t ConfirmDraw() override { return Note("4011()"), confirm_result; }
  void EndDraw() override { Note("1203()"); }
  void SetDrawStep(std::int32_t step) override { Note(Format("1817(%d)", step)); }
  void UpdateDraw() override { Note("1713()"); }
  void FitView(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b, std::int32_t sx,
               std::int32_t sy, std::int32_t w, std::int32_t h) override {
    Note(Format("1818(%d,%d,%d,%d,%d,%d,%d,%d)", l, t, r, b, sx, sy, w, h));
  }
  void Redraw(std::int32_t mode) override { Note(Format("1202(%d)", mode)); }
  void RegisterFolder(std::int32_t kind, std::int32_t flags, const char* folder) override {
    Note(Format("2303(%d,%d,%s)", kind, flags, folder));
  }
  void ReadModelHeader(const char* path, std::int32_t*, std::int32_t*, std::int32_t*,
                       std::int32_t* handle) override {
    Note(Format("4100(%s)", path));
    *handle = header_handle;
  }
  void SetDrawFlag(std::int32_t id, std::int32_t flag) override {
    Note(Format("1525(%d,%d)", id, flag));
  }
  void PrepareDraw() override { Note("1915()"); }
  std::int32_t ReadModelFile(std::int32_t mode, const char* path, char* message,
                             std::int32_t handle, std::int32_t* count) override {
    Note(Format("2301(%d,%s,%d)", mode, path, handle));
    // The engine may fill the whole buffer it was given.
    std::memset(message, 'm', kEngineMessageSize - 1);
    message[kEngineMessageSize - 1] = '\0';
    *count = 3;
    return read_result;
  }
  void FinishRead(std::int32_t a, std::int32_t b) override {
    Note(Format("2306(%d,%d)", a, b));
  }

 private:
  void Note(const std::string& call) { calls.push_back(call); }
};

class FakeKxHost final : public KxHost {
 public:
  std::map<WindowId, Size> windows;
  std::string temp_folder = "C:\\Users\\a b\\AppData\\Local\\Temp\\";
  // Canonical forms of paths; a path not listed is its own.
  std::map<std::string, std::string> canonical;

  std::optional<Size> WindowSize(WindowId window) override {
    auto it = windows.find(window);
    if (it == windows.end()) return std::nullopt;
    return it->second;
  }
  std::string CanonicalPath(const std::string& path) override {
    auto it = canonical.find(path);
    return it == canonical.end() ? path : it->second;
  }
  std::string TempFolder() override { return temp_folder; }
};

}  // namespace kx::test
