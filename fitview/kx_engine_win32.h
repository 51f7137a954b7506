// The engine session over the real engine library, linked by ordinal.
#pragma once

#include "fitview/kx_if.h"

namespace kx {

// KX3D.dll's entry points, as the import library links them.
class Kx3dEngine final : public KxEngine {
 public:
  std::int32_t Initialize() override;
  void Terminate() override;
  void SetEnvironment(std::int32_t id, std::int32_t value) override;
  void SetEnvironmentEx(std::int32_t id, std::int32_t value) override;
  void ForceRGBPixelFormat(std::int32_t force) override;
  std::int32_t InitDrawEx(WindowId window, std::int32_t mode, std::int32_t option,
                          std::int32_t library_code) override;
  std::int32_t ConfirmDraw() override;
  void EndDraw() override;
  void SetDrawStep(std::int32_t step) override;
  void UpdateDraw() override;
  void FitView(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
               std::int32_t scale_x, std::int32_t scale_y, std::int32_t width,
               std::int32_t height) override;
  void Redraw(std::int32_t mode) override;
  void RegisterFolder(std::int32_t kind, std::int32_t flags, const char* folder) override;
  void ReadModelHeader(const char* path, std::int32_t* version, std::int32_t* parts,
                       std::int32_t* flags, std::int32_t* handle) override;
  void SetDrawFlag(std::int32_t id, std::int32_t flag) override;
  void PrepareDraw() override;
  std::int32_t ReadModelFile(std::int32_t mode, const char* path, char* message,
                             std::int32_t handle, std::int32_t* count) override;
  void FinishRead(std::int32_t a, std::int32_t b) override;
};

class Win32KxHost final : public KxHost {
 public:
  std::optional<Size> WindowSize(WindowId window) override;
  std::string CanonicalPath(const std::string& path) override;
  std::string TempFolder() override;
};

// The viewer's one engine session, created on first use and alive until the
// process ends; it logs to the process log.
KxIf& ProcessEngineSession();

}  // namespace kx
