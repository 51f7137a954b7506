// A copy of the installed viewer in a fresh folder whose name holds a blank
// and a character whose second byte is a backslash:
// Fitview.exe, the engine library and the test data, with the exchange
// folder beside them.
#pragma once

#include <string>
#include <vector>

#include "tests/win/temp_folder.h"

namespace kx::test {

class ViewerInstall {
 public:
  // `engine` is the engine library to install as KX3D.dll, relative to the
  // build's bin folder (for example "KX3D.dll" or "kx3dlib\kx3d.ogl").
  explicit ViewerInstall(const std::string& engine = "KX3D.dll");

  const std::string& folder() const { return folder_.path(); }
  std::string viewer() const { return folder_ / "Fitview.exe"; }
  std::string data(const std::string& name) const { return folder_ / ("data\\" + name); }
  std::string request() const { return folder_ / "~Fitcheck\\KxEnvCheck.ini"; }
  std::string result() const { return folder_ / "~Fitcheck\\KxEnvResult.ini"; }
  std::string log() const { return folder_ / "env3dk test.log"; }
  // The engine library as installed, and the folder of the build's outputs.
  std::string engine() const { return folder_ / "KX3D.dll"; }
  static std::string BuildBinFolder();

  // "ResultCode" of the result file; "absent" without one.
  std::string ResultCode() const { return ResultValue("ResultCode"); }
  // A key of the result file; "absent" without it.
  std::string ResultValue(const std::string& key) const;
  // The messages of the viewer's log, without their time stamps.
  std::vector<std::string> LogMessages() const;

  // A settings file beside the viewer naming its window title.
  void SetViewerTitle(const std::string& title) const;
  // Makes the stand-in engine fail at `step` (an entry point's name), at its
  // `call`-th call from the engine's start (0: every call).
  void SetEngineFailure(const std::string& step, int call) const;

  bool copied_all = false;

 private:
  TempFolder folder_{"kx 表示 viewer"};
};

}  // namespace kx::test
