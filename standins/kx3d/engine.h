// The stand-in engine's states and answers, behind the exported entry
// points: started or not, one drawing set-up into the caller's window, one
// model read in two steps (header, then body), and the failure switch.
// Drawing itself and the files are reached through the interfaces below.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "standins/kx3d/draw_options.h"
#include "standins/kx3d/failure_switch.h"
#include "standins/kx3d/frame_image.h"
#include "standins/kx3d/parts_model.h"
#include "standins/kx3d/q3d_model.h"
#include "standins/kx3d/view_math.h"

namespace kx::kx3d {

// A window of the caller, as a number (a window handle on Windows).
using WindowId = std::uintptr_t;

// What one picture shows.
struct Scene {
  const Model* model = nullptr;    // null: nothing read yet
  std::uint32_t model_serial = 0;  // changes whenever another model is read
  Bounds bounds;                   // of the model
};

// What a drawing set-up turned out to be: for the tests and the generator.
struct DrawingInfo {
  GraphicsLibrary library = GraphicsLibrary::kOpenGL;
  int width = 0, height = 0;
  // OpenGL: the pixel format chosen and its descriptor's flags and sizes.
  int pixel_format = 0;
  std::uint32_t pixel_format_flags = 0;
  int color_bits = 0, alpha_bits = 0, depth_bits = 0;
  // Direct3D 9: samples per pixel of the back buffer (0 = not multisampled),
  // edge of the shadow map (0 = no shadows), per-pixel lighting.
  int samples = 0;
  int shadow_map_size = 0;
  bool per_pixel_lighting = false;
};

// One drawing set-up: a graphics library with its drawing surface.
class DrawingDevice {
 public:
  virtual ~DrawingDevice() = default;
  [[nodiscard]] virtual bool Resize(int width, int height) noexcept = 0;
  // Draws `scene` and reads the finished picture back.
  [[nodiscard]] virtual bool Render(const Scene& scene, FrameImage* frame) noexcept = 0;
  virtual DrawingInfo Describe() const noexcept = 0;
};

// The caller's window while the engine shows its pictures in it.
class ViewWindow {
 public:
  virtual ~ViewWindow() = default;  // stops showing pictures in the window
  [[nodiscard]] virtual bool ClientSize(int* width, int* height) noexcept = 0;
  virtual void Show(const FrameImage& frame) noexcept = 0;
};

class GraphicsPlatform {
 public:
  virtual ~GraphicsPlatform() = default;
  // Null when `window` is not a window.
  virtual std::unique_ptr<ViewWindow> AttachView(WindowId window) noexcept = 0;
  // Null when the library cannot be set up as asked.
  virtual std::unique_ptr<DrawingDevice> CreateDevice(const DrawFeatures& features, int width,
                                                      int height) noexcept = 0;
};

class EngineFiles {
 public:
  virtual ~EngineFiles() = default;
  // The whole file; nullopt when it is missing, unreadable or larger than a
  // model can be.
  virtual std::optional<std::string> ReadFile(const std::string& path) noexcept = 0;
  virtual FailureSwitch ReadFailureSwitch() noexcept = 0;
};

inline constexpr std::int32_t kSetupFailed = -1200;
inline constexpr std::int32_t kNotReady = -1;  // a call that needs a state the engine is not in

struct HeaderValues {
  std::int32_t version = 0;
  std::int32_t parts = 0;
  std::int32_t triangles = 0;
};

class Engine {
 public:
  Engine(GraphicsPlatform& platform, EngineFiles& files) : platform_(platform), files_(files) {}

  // 0 when started (also when it already was), -1 when the failure switch
  // says so.
  std::int32_t Initialize() noexcept;
  // Ends drawing, forgets the model, folders and settings.
  std::int32_t Terminate() noexcept;
  bool started() const { return started_; }

  std::int32_t SetEnvironment(std::int32_t id, std::int32_t value) noexcept;
  std::int32_t SetEnvironmentEx(std::int32_t id, std::int32_t value) noexcept;
  std::int32_t ForceRgbPixelFormat(std::int32_t force) noexcept;

  // 0 or kSetupFailed. A set-up in place is ended first.
  std::int32_t InitDraw(WindowId window, std::int32_t option, std::int32_t library_code) noexcept;
  std::int32_t ConfirmDraw() noexcept;
  std::int32_t EndDraw() noexcept;
  std::int32_t FitView(std::int32_t width, std::int32_t height) noexcept;
  std::int32_t Redraw() noexcept;
  // Draws like Redraw and hands the picture to the caller as well.
  std::int32_t ReadFrame(FrameImage* frame) noexcept;
  std::optional<DrawingInfo> Drawing() const noexcept;

  std::int32_t RegisterFolder(const std::string& folder) noexcept;
  // The handle (>= 0) of the model whose header was read, or a negative
  // result; `*values` is written only on success.
  std::int32_t ReadModelHeader(const std::string& path, HeaderValues* values) noexcept;
  // 0 when the model is read and shown from now on, else a ModelError value
  // or kNotReady; `*message` tells what happened either way.
  std::int32_t ReadModelFile(const std::string& path, std::int32_t handle, std::string* message,
                             std::int32_t* triangles) noexcept;
  std::int32_t FinishRead() noexcept;

  // The parts of the model read last (just the root before any).
  PartsModel& parts() { return parts_; }

 private:
  struct DrawingSetup {
    std::unique_ptr<ViewWindow> view;
    std::unique_ptr<DrawingDevice> device;
  };
  struct PendingRead {
    std::int32_t handle = -1;
    std::string path;
  };

  std::string Resolve(const std::string& path) const;
  std::int32_t Draw(FrameImage* frame) noexcept;

  GraphicsPlatform& platform_;
  EngineFiles& files_;
  bool started_ = false;
  FailureSwitch failure_;
  bool force_rgb_ = false;
  std::vector<std::string> folders_;
  std::optional<DrawingSetup> drawing_;
  std::optional<PendingRead> pending_;
  std::int32_t next_handle_ = 1;
  std::optional<Model> model_;
  Bounds bounds_;
  std::uint32_t model_serial_ = 0;
  PartsModel parts_;
};

}  // namespace kx::kx3d
