#include "standins/kx3d/tools/engine_driver_win32.h"

namespace kx::kx3d {

EngineLibrary::EngineLibrary(const std::string& path) noexcept : module_(path.c_str()) {
  Initialize = module_.Entry<decltype(Kxi_Initialize)>(3);
  Terminate = module_.Entry<decltype(Kxi_Terminate)>(4);
  SetEnvironment = module_.Entry<decltype(Kxi_SetEnvironment)>(2907);
  SetEnvironmentEx = module_.Entry<decltype(Kxi_SetEnvironmentEx)>(1257);
  ForceRGBPixelFormat = module_.Entry<decltype(Kxi_ForceRGBPixelFormat)>(1218);
  InitDrawEx = module_.Entry<decltype(Kxi_InitDrawEx)>(1241);
  ConfirmDraw = module_.Entry<decltype(Kxi_ConfirmDraw)>(4011);
  EndDraw = module_.Entry<decltype(Kxi_EndDraw)>(1203);
  SetDrawStep = module_.Entry<decltype(Kxi_SetDrawStep)>(1817);
  UpdateDraw = module_.Entry<decltype(Kxi_UpdateDraw)>(1713);
  FitView = module_.Entry<decltype(Kxi_FitView)>(1818);
  Redraw = module_.Entry<decltype(Kxi_Redraw)>(1202);
  RegisterFolder = module_.Entry<decltype(Kxi_RegisterFolder)>(2303);
  ReadModelHeader = module_.Entry<decltype(Kxi_ReadModelHeader)>(4100);
  SetDrawFlag = module_.Entry<decltype(Kxi_SetDrawFlag)>(1525);
  PrepareDraw = module_.Entry<decltype(Kxi_PrepareDraw)>(1915);
  ReadModelFile = module_.Entry<decltype(Kxi_ReadModelFile)>(2301);
  FinishRead = module_.Entry<decltype(Kxi_FinishRead)>(2306);
  GetGraphicLibrary = module_.Entry<decltype(Kxi_GetGraphicLibrary)>("Kxi_GetGraphicLibrary");
  DescribeDrawing = module_.Entry<decltype(KxStandin_DescribeDrawing)>("KxStandin_DescribeDrawing");
  ReadFrame = module_.Entry<decltype(KxStandin_ReadFrame)>("KxStandin_ReadFrame");
}

bool EngineLibrary::complete() const noexcept {
  return Initialize && Terminate && SetEnvironment && SetEnvironmentEx && ForceRGBPixelFormat &&
         InitDrawEx && ConfirmDraw && EndDraw && SetDrawStep && UpdateDraw && FitView && Redraw &&
         RegisterFolder && ReadModelHeader && SetDrawFlag && PrepareDraw && ReadModelFile &&
         FinishRead && GetGraphicLibrary && DescribeDrawing && ReadFrame;
}

bool ViewerSession::Initialize() noexcept {
  if (engine_.Initialize() != 0) return false;
  InitializeEnv();
  if (!InitializeDraw()) return false;
  Fit();
  return true;
}

void ViewerSession::InitializeEnv() noexcept {
  engine_.SetEnvironment(5, 1);
  engine_.SetEnvironment(4, 1);
  engine_.SetEnvironmentEx(0x10000, 1);
  engine_.SetEnvironmentEx(0x10001, 1);
  engine_.SetEnvironmentEx(0x10002, 120);
}

bool ViewerSession::InitializeDraw() noexcept {
  engine_.ForceRGBPixelFormat((option_ & 0x4) ? 1 : 0);
  engine_.SetEnvironment(12, (option_ & 0x200000) ? 1 : 0);
  if (drawing_ready_) engine_.EndDraw();
  bool ok = engine_.InitDrawEx(view_, 3, option_, nullptr, library_code_) != KX3D_SETUP_FAILED;
  if (ok) ok = engine_.ConfirmDraw() != KX3D_SETUP_FAILED;
  engine_.SetDrawStep(0);
  engine_.UpdateDraw();
  drawing_ready_ = ok;
  return ok;
}

bool ViewerSession::OpenModel(const std::string& path, int32_t* body_result) noexcept {
  engine_.Initialize();
  const std::size_t slash = path.find_last_of('\\');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  engine_.RegisterFolder(0, 0, folder.c_str());
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  engine_.RegisterFolder(0, 0, (std::string(temp) + "~Fitcheck").c_str());
  int32_t version = 0, parts = 0, triangles = 0, handle = -1;
  engine_.ReadModelHeader(path.c_str(), &version, &parts, &triangles, &handle);
  if (handle < 0) {
    engine_.FinishRead(0, 0);
    engine_.FinishRead(0, 0);
    return false;
  }
  InitializeEnv();
  engine_.SetDrawFlag(0, 0);
  engine_.PrepareDraw();
  InitializeDraw();
  engine_.SetDrawFlag(0, 1);
  char message[512] = {};
  int32_t count = 0;
  const int32_t result = engine_.ReadModelFile(-1, path.c_str(), message, handle, &count);
  if (body_result) *body_result = result;
  engine_.FinishRead(0, 0);
  engine_.FinishRead(0, 0);
  Fit();
  engine_.SetDrawStep(0);
  return true;
}

void ViewerSession::Fit() noexcept {
  if (!drawing_ready_) return;
  RECT outer;
  GetWindowRect(view_, &outer);
  engine_.FitView(100, 100, 100, 100, 100, 100, outer.right - outer.left, outer.bottom - outer.top);
}

void ViewerSession::Redraw() noexcept {
  if (drawing_ready_) engine_.Redraw(3);
}

void ViewerSession::Terminate() noexcept {
  engine_.Terminate();
  engine_.EndDraw();
}

}  // namespace kx::kx3d
