// The 3D engine's entry points that the viewer calls, as the viewer's logic
// sees them. The Win32 layer implements this over KX3D.dll, linked by
// ordinal; tests record the calls.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kx {

// A window as the logic passes it around: the handle's value, 0 for none.
using WindowId = std::intptr_t;

// Result of a drawing set-up that failed.
inline constexpr std::int32_t kEngineSetupFailed = -1200;

// Size of the text buffer that reading a model fills.
inline constexpr std::size_t kEngineMessageSize = 512;

class KxEngine {
 public:
  virtual ~KxEngine() = default;
  virtual std::int32_t Initialize() = 0;                                      // @3
  virtual void Terminate() = 0;                                               // @4
  virtual void SetEnvironment(std::int32_t id, std::int32_t value) = 0;       // @2907
  virtual void SetEnvironmentEx(std::int32_t id, std::int32_t value) = 0;     // @1257
  virtual void ForceRGBPixelFormat(std::int32_t force) = 0;                   // @1218
  // @1241 with a null reserved pointer.
  virtual std::int32_t InitDrawEx(WindowId window, std::int32_t mode, std::int32_t option,
                                  std::int32_t library_code) = 0;
  virtual std::int32_t ConfirmDraw() = 0;                                     // @4011
  virtual void EndDraw() = 0;                                                 // @1203
  virtual void SetDrawStep(std::int32_t step) = 0;                            // @1817
  virtual void UpdateDraw() = 0;                                              // @1713
  virtual void FitView(std::int32_t left, std::int32_t top, std::int32_t right,
                       std::int32_t bottom, std::int32_t scale_x, std::int32_t scale_y,
                       std::int32_t width, std::int32_t height) = 0;          // @1818
  virtual void Redraw(std::int32_t mode) = 0;                                 // @1202
  virtual void RegisterFolder(std::int32_t kind, std::int32_t flags,
                              const char* folder) = 0;                        // @2303
  virtual void ReadModelHeader(const char* path, std::int32_t* version, std::int32_t* parts,
                               std::int32_t* flags, std::int32_t* handle) = 0;  // @4100
  virtual void SetDrawFlag(std::int32_t id, std::int32_t flag) = 0;           // @1525
  virtual void PrepareDraw() = 0;                                             // @1915
  // @2301; `message` holds kEngineMessageSize bytes.
  virtual std::int32_t ReadModelFile(std::int32_t mode, const char* path, char* message,
                                     std::int32_t handle, std::int32_t* count) = 0;
  virtual void FinishRead(std::int32_t a, std::int32_t b) = 0;                // @2306
};

}  // namespace kx
