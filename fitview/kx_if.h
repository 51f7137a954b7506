// The viewer's engine session: turns the configuration under test into the
// engine's drawing options, starts the engine on the 3D view, opens the test
// model, keeps the view fitted and redrawn, and ends the engine. Every step
// is logged; the exact order of the engine calls is part of what the engine
// expects.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/file_system.h"
#include "common/log_writer.h"
#include "fitview/kx_engine.h"

namespace kx {

// What the session needs of the platform besides the engine.
class KxHost {
 public:
  virtual ~KxHost() = default;
  struct Size {
    int width = 0;
    int height = 0;
  };
  // Outer size of `window`; none when it cannot be measured.
  virtual std::optional<Size> WindowSize(WindowId window) = 0;
  // `path` with "." and ".." resolved; empty when that fails.
  virtual std::string CanonicalPath(const std::string& path) = 0;
  // The system's temporary folder, ending in a backslash.
  virtual std::string TempFolder() = 0;
};

// The five flags of the request that choose the configuration.
struct KxConfiguration {
  bool direct_x = false;
  bool anti_alias = false;
  bool shadow = false;
  bool phong = false;
  bool no_opengl_acc = true;
};

// Option word and library code of one drawing set-up.
struct KxDrawOptions {
  std::int32_t option = 0;
  std::int32_t library_code = 0;
};

class KxIf {
 public:
  KxIf(KxEngine& engine, KxHost& host, FileSystem& files, LogWriter& log);

  // Takes the configuration under test.
  void Configure(const KxConfiguration& configuration);

  // Starts the engine and sets up drawing into `view_window`.
  [[nodiscard]] bool Initialize(WindowId view_window);
  // Loads the test model and sets up drawing again. False only when the
  // model's header cannot be read.
  [[nodiscard]] bool OpenQ3dFile(const std::string& model_path);

  // Engine environment items, then a drawing set-up with the current fields.
  void InitializeEnv();
  bool InitializeDraw();
  bool InitializeGraphics(std::int32_t option, std::int32_t library_code);

  // Only while drawing is ready.
  void Redraw();
  void FitViewToWindow();
  // Ends the engine use; runs whether or not the start succeeded.
  void Terminate();

  // The option word and library code that the fields ask for.
  KxDrawOptions DrawOptions() const;

  bool DrawingReady() const { return drawing_ready_; }
  std::int32_t LibType() const { return lib_type_; }

 private:
  KxEngine& engine_;
  KxHost& host_;
  FileSystem& files_;
  LogWriter& log_;

  WindowId view_window_ = 0;
  bool drawing_ready_ = false;
  std::int32_t lib_type_ = 3;
  std::int32_t no_og_acc_ = 1;
  std::int32_t force_rgb_ = 0;
  std::int32_t sh_map_lv_ = 3;
  std::int32_t shading_ = 1;
  std::int32_t aa_level_ = 1;
  std::int32_t environment_level_ = 120;
};

}  // namespace kx
