// Drives an engine library the way the viewer does: the entry points by
// ordinal, and the viewer engine session's order of calls and values. Used
// by the sample-picture generator and the Windows tests of the stand-in.
#pragma once

#include <windows.h>

#include <string>

#include "fitview/engine_api/kx3d_api.h"
#include "platform/win32/module_loader.h"
#include "standins/kx3d/kx3d_standin.h"

namespace kx::kx3d {

class EngineLibrary {
 public:
  explicit EngineLibrary(const std::string& path) noexcept;
  // Every entry point of the viewer and of the stand-in was found.
  bool complete() const noexcept;

  decltype(&Kxi_Initialize) Initialize = nullptr;
  decltype(&Kxi_Terminate) Terminate = nullptr;
  decltype(&Kxi_SetEnvironment) SetEnvironment = nullptr;
  decltype(&Kxi_SetEnvironmentEx) SetEnvironmentEx = nullptr;
  decltype(&Kxi_ForceRGBPixelFormat) ForceRGBPixelFormat = nullptr;
  decltype(&Kxi_InitDrawEx) InitDrawEx = nullptr;
  decltype(&Kxi_ConfirmDraw) ConfirmDraw = nullptr;
  decltype(&Kxi_EndDraw) EndDraw = nullptr;
  decltype(&Kxi_SetDrawStep) SetDrawStep = nullptr;
  decltype(&Kxi_UpdateDraw) UpdateDraw = nullptr;
  decltype(&Kxi_FitView) FitView = nullptr;
  decltype(&Kxi_Redraw) Redraw = nullptr;
  decltype(&Kxi_RegisterFolder) RegisterFolder = nullptr;
  decltype(&Kxi_ReadModelHeader) ReadModelHeader = nullptr;
  decltype(&Kxi_SetDrawFlag) SetDrawFlag = nullptr;
  decltype(&Kxi_PrepareDraw) PrepareDraw = nullptr;
  decltype(&Kxi_ReadModelFile) ReadModelFile = nullptr;
  decltype(&Kxi_FinishRead) FinishRead = nullptr;
  Kxi_GetGraphicLibrary_fn GetGraphicLibrary = nullptr;
  KxStandin_DescribeDrawing_fn DescribeDrawing = nullptr;
  KxStandin_ReadFrame_fn ReadFrame = nullptr;

 private:
  kx::win::LoadedModule module_;
};

// One configuration, one view window: the viewer's engine session.
class ViewerSession {
 public:
  ViewerSession(EngineLibrary& engine, HWND view, int32_t option, int32_t library_code) noexcept
      : engine_(engine), view_(view), option_(option), library_code_(library_code) {}

  // Start the engine, set the environment, set up drawing, fit the view.
  bool Initialize() noexcept;
  // Register folders, read the header, set up drawing again, read the body;
  // false when the header cannot be read. `body_result` gets the result of
  // reading the body.
  bool OpenModel(const std::string& path, int32_t* body_result = nullptr) noexcept;
  void Fit() noexcept;
  void Redraw() noexcept;
  // End the engine use, then drawing, as the viewer does when it closes.
  void Terminate() noexcept;

  bool drawing_ready() const noexcept { return drawing_ready_; }

 private:
  void InitializeEnv() noexcept;
  bool InitializeDraw() noexcept;

  EngineLibrary& engine_;
  HWND view_;
  int32_t option_;
  int32_t library_code_;
  bool drawing_ready_ = false;
};

}  // namespace kx::kx3d
