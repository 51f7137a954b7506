#include "fitview/kx_if.h"

#include "common/exchange_contract.h"
#include "common/text.h"

namespace kx {
namespace {

// Engine environment items.
constexpr std::int32_t kEnvItemA5 = 5;
constexpr std::int32_t kEnvItemA4 = 4;
constexpr std::int32_t kEnvPhong = 12;
constexpr std::int32_t kEnvItemB0 = 0x10000;
constexpr std::int32_t kEnvItemB1 = 0x10001;
constexpr std::int32_t kEnvLevel = 0x10002;

constexpr std::int32_t kDrawMode = 3;
constexpr std::int32_t kRedrawAll = 3;
constexpr std::int32_t kFitMargin = 100;

// Option word bits.
constexpr std::int32_t kOptionNoAccel = 0x2;
constexpr std::int32_t kOptionForceRGB = 0x4;
constexpr std::int32_t kOptionDirectX = 0x20;
constexpr std::int32_t kOptionAntiAliasStep = 0x100;
constexpr std::int32_t kOptionAntiAlias = 0x30000;
constexpr std::int32_t kOptionShadowStep = 0x1000;
constexpr std::int32_t kOptionPhong = 0x200000;

constexpr std::int32_t kLibraryOpenGL = 1;
constexpr std::int32_t kLibraryDirectX = 2;
constexpr std::int32_t kLibraryDirectXShader = 3;

// The folder part of `path` with its trailing backslash; empty without one.
std::string FolderPart(const std::string& path) {
  const std::size_t last = LastBackslash(path);
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

}  // namespace

KxIf::KxIf(KxEngine& engine, KxHost& host, FileSystem& files, LogWriter& log)
    : engine_(engine), host_(host), files_(files), log_(log) {}

void KxIf::Configure(const KxConfiguration& c) {
  if (!c.direct_x) {
    lib_type_ = kLibraryOpenGL;
  } else {
    lib_type_ = (c.shadow || c.phong) ? kLibraryDirectXShader : kLibraryDirectX;
  }
  sh_map_lv_ = c.shadow ? 3 : 0;
  no_og_acc_ = c.no_opengl_acc ? 1 : 0;
  force_rgb_ = 0;
  shading_ = c.phong ? 1 : 0;
  aa_level_ = c.anti_alias ? 1 : 0;
}

KxDrawOptions KxIf::DrawOptions() const {
  if (lib_type_ == kLibraryOpenGL) {
    // Shadow, Phong and anti-aliasing are DirectX options.
    std::int32_t option = 0;
    if (no_og_acc_ == 1) option += kOptionNoAccel;
    if (force_rgb_ != 0) option += kOptionForceRGB;
    return {option, kLibraryOpenGL};
  }
  // Shader effects are asked for only by the shader library code.
  const std::int32_t shadow = lib_type_ == kLibraryDirectXShader ? sh_map_lv_ : 0;
  const std::int32_t shading = lib_type_ == kLibraryDirectXShader ? shading_ : 0;
  std::int32_t option = kOptionDirectX;
  bool effects = false;
  if (aa_level_ >= 1 && aa_level_ <= 5) option += aa_level_ * kOptionAntiAliasStep;
  if (aa_level_ > 0) option += kOptionAntiAlias;
  if (shadow >= 1 && shadow <= 3) {
    option += shadow * kOptionShadowStep;
    effects = true;
  }
  if (shading == 1) {
    option += kOptionPhong;
    effects = true;
  }
  return {option, effects ? kLibraryDirectXShader : kLibraryDirectX};
}

bool KxIf::Initialize(WindowId view_window) {
  log_.Log("KxIf::Initialize 開始");
  view_window_ = view_window;
  if (engine_.Initialize() != 0) {
    log_.Log("Kxi_Initializeエラー");
    return false;
  }
  InitializeEnv();
  if (!InitializeDraw()) return false;
  FitViewToWindow();
  log_.Log("KxIf::Initialize 終了");
  return true;
}

void KxIf::InitializeEnv() {
  engine_.SetEnvironment(kEnvItemA5, 1);
  engine_.SetEnvironment(kEnvItemA4, 1);
  engine_.SetEnvironmentEx(kEnvItemB0, 1);
  engine_.SetEnvironmentEx(kEnvItemB1, 1);
  engine_.SetEnvironmentEx(kEnvLevel, environment_level_);
  log_.Log("KxIf::InitializeEnv 終了");
}

bool KxIf::InitializeDraw() {
  log_.Log("KxIf::InitializeDraw 開始");
  log_.Log(Format("LibType=%d NoOGAcc=%d ForceRGB=%d ShMapLv=%d Shading=%d AALevel=%d",
                  static_cast<int>(lib_type_), static_cast<int>(no_og_acc_),
                  static_cast<int>(force_rgb_), static_cast<int>(sh_map_lv_),
                  static_cast<int>(shading_), static_cast<int>(aa_level_)));
  const KxDrawOptions draw = DrawOptions();
  const bool ok = InitializeGraphics(draw.option, draw.library_code);
  engine_.SetDrawStep(0);
  engine_.UpdateDraw();
  drawing_ready_ = ok;
  log_.Log("KxIf::InitializeDraw 終了");
  return ok;
}

bool KxIf::InitializeGraphics(std::int32_t option, std::int32_t library_code) {
  log_.Log("KxIf::InitializeGraphics 開始");
  engine_.ForceRGBPixelFormat((option & kOptionForceRGB) ? 1 : 0);
  engine_.SetEnvironment(kEnvPhong, (option & kOptionPhong) ? 1 : 0);
  // The engine draws into one window at a time: end the earlier set-up first.
  if (drawing_ready_) engine_.EndDraw();
  log_.Log(Format("Kxi_InitDrawEx Option=%d LibType=%d", static_cast<int>(option),
                  static_cast<int>(library_code)));
  bool ok = engine_.InitDrawEx(view_window_, kDrawMode, option, library_code) != kEngineSetupFailed;
  if (ok) ok = engine_.ConfirmDraw() != kEngineSetupFailed;
  log_.Log(ok ? "Kxi_InitDrawEx 初期化終了" : "Kxi_InitDrawEx 初期化エラー");
  log_.Log("KxIf::InitializeGraphics 終了");
  return ok;
}

bool KxIf::OpenQ3dFile(const std::string& model_path) {
  log_.Log("KxIf::OpenQ3dFile 開始");
  (void)engine_.Initialize();  // already started by Initialize; a repeated start is harmless

  const std::string canonical =
      model_path.empty() ? std::string() : TrimBlanks(host_.CanonicalPath(model_path));
  const std::string model_folder = FolderPart(canonical);
  engine_.RegisterFolder(0, 0, model_folder.c_str());
  std::string temp = host_.TempFolder();
  if (!temp.empty()) temp = WithTrailingBackslash(temp);
  const std::string work_folder = temp + exchange::kFolderName;
  if (!files_.Exists(work_folder)) files_.CreateFolder(work_folder);
  engine_.RegisterFolder(0, 0, work_folder.c_str());

  std::int32_t version = 0;
  std::int32_t parts = 0;
  std::int32_t flags = 0;
  std::int32_t handle = -1;  // an engine that leaves it alone has not opened the file
  engine_.ReadModelHeader(model_path.c_str(), &version, &parts, &flags, &handle);
  if (handle < 0) {
    engine_.FinishRead(0, 0);
    engine_.FinishRead(0, 0);
    return false;
  }
  log_.Log("ヘッダ取得 終了");

  InitializeEnv();
  engine_.SetDrawFlag(0, 0);
  engine_.PrepareDraw();
  (void)InitializeDraw();  // its outcome is kept as drawing ready
  engine_.SetDrawFlag(0, 1);
  log_.Log("描画初期化 終了");

  char message[kEngineMessageSize] = {};
  std::int32_t count = 0;
  const std::int32_t read = engine_.ReadModelFile(-1, model_path.c_str(), message, handle, &count);
  log_.Log(Format("ファイル読込 終了 ret=%d", static_cast<int>(read)));

  engine_.FinishRead(0, 0);
  engine_.FinishRead(0, 0);
  FitViewToWindow();
  log_.Log("クリッピング領域の初期化 終了");

  engine_.SetDrawStep(0);
  log_.Log("KxIf::OpenQ3dFile 終了");
  return true;
}

void KxIf::Redraw() {
  if (drawing_ready_) engine_.Redraw(kRedrawAll);
}

void KxIf::FitViewToWindow() {
  if (!drawing_ready_) return;
  const std::optional<KxHost::Size> size = host_.WindowSize(view_window_);
  if (!size) return;
  engine_.FitView(kFitMargin, kFitMargin, kFitMargin, kFitMargin, kFitMargin, kFitMargin,
                  size->width, size->height);
}

void KxIf::Terminate() {
  engine_.Terminate();
  engine_.EndDraw();
  log_.Log("VLSDK : Terminateの終了");
}

}  // namespace kx
