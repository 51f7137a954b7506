// The stand-in engine's platform on Windows: drawing devices and the
// caller's window, model files and the failure switch beside the library.
#pragma once

#include "standins/kx3d/engine.h"

namespace kx::kx3d {

class Win32GraphicsPlatform final : public GraphicsPlatform {
 public:
  std::unique_ptr<ViewWindow> AttachView(WindowId window) noexcept override;
  std::unique_ptr<DrawingDevice> CreateDevice(const DrawFeatures& features, int width,
                                              int height) noexcept override;
};

class Win32EngineFiles final : public EngineFiles {
 public:
  std::optional<std::string> ReadFile(const std::string& path) noexcept override;
  // From kx3d_standin.ini in the folder of the engine library.
  FailureSwitch ReadFailureSwitch() noexcept override;
};

}  // namespace kx::kx3d
