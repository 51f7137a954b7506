#include "standins/kx3d/engine.h"

#include "common/text.h"

namespace kx::kx3d {
namespace {

bool IsRelative(const std::string& path) {
  if (path.empty()) return false;
  if (path[0] == '\\' || path[0] == '/') return false;
  return !(path.size() >= 2 && path[1] == ':');
}

}  // namespace

std::int32_t Engine::Initialize() noexcept {
  if (!started_) failure_ = files_.ReadFailureSwitch();
  if (failure_.Fails(EngineStep::kInitialize)) return -1;
  started_ = true;
  return 0;
}

std::int32_t Engine::Terminate() noexcept {
  drawing_.reset();
  pending_.reset();
  model_.reset();
  parts_ = PartsModel();
  bounds_ = Bounds{};
  folders_.clear();
  force_rgb_ = false;
  started_ = false;
  return 0;
}

// The environment items the viewer sets (4, 5, 12 of the first kind,
// 0x10000..0x10002 of the second) tune the real engine's quality and memory
// use; the stand-in's pictures do not depend on them.
std::int32_t Engine::SetEnvironment(std::int32_t, std::int32_t) noexcept {
  return started_ ? 0 : kNotReady;
}
std::int32_t Engine::SetEnvironmentEx(std::int32_t, std::int32_t) noexcept {
  return started_ ? 0 : kNotReady;
}

std::int32_t Engine::ForceRgbPixelFormat(std::int32_t force) noexcept {
  force_rgb_ = force != 0;
  return 0;
}

std::int32_t Engine::InitDraw(WindowId window, std::int32_t option,
                              std::int32_t library_code) noexcept {
  if (!started_) return kSetupFailed;
  if (failure_.Fails(EngineStep::kInitDraw)) return kSetupFailed;
  std::optional<DrawFeatures> features = DecodeDrawOptions(option, library_code, force_rgb_);
  if (!features) return kSetupFailed;
  failure_.DrawWrong(*features);
  drawing_.reset();
  DrawingSetup setup;
  setup.view = platform_.AttachView(window);
  if (!setup.view) return kSetupFailed;
  int width = 0, height = 0;
  if (!setup.view->ClientSize(&width, &height)) return kSetupFailed;
  // A window not laid out yet still gets a surface; the fit gives its size.
  setup.device = platform_.CreateDevice(*features, std::max(width, 1), std::max(height, 1));
  if (!setup.device) return kSetupFailed;
  drawing_ = std::move(setup);
  return 0;
}

std::int32_t Engine::ConfirmDraw() noexcept {
  if (!drawing_) return kSetupFailed;
  if (failure_.Fails(EngineStep::kConfirmDraw)) return kSetupFailed;
  return 0;
}

std::int32_t Engine::EndDraw() noexcept {
  drawing_.reset();
  return 0;
}

std::int32_t Engine::FitView(std::int32_t width, std::int32_t height) noexcept {
  if (!drawing_ || width <= 0 || height <= 0) return kNotReady;
  return drawing_->device->Resize(width, height) ? 0 : kNotReady;
}

std::int32_t Engine::Draw(FrameImage* frame) noexcept {
  if (!drawing_) return kNotReady;
  Scene scene;
  scene.model = model_ ? &*model_ : nullptr;
  scene.model_serial = model_serial_;
  scene.bounds = bounds_;
  if (!drawing_->device->Render(scene, frame)) return kNotReady;
  drawing_->view->Show(*frame);
  return 0;
}

std::int32_t Engine::Redraw() noexcept {
  FrameImage frame;
  return Draw(&frame);
}

std::int32_t Engine::ReadFrame(FrameImage* frame) noexcept {
  FrameImage drawn;
  const std::int32_t result = Draw(&drawn);
  if (result == 0) *frame = std::move(drawn);
  return result;
}

std::optional<DrawingInfo> Engine::Drawing() const noexcept {
  if (!drawing_) return std::nullopt;
  return drawing_->device->Describe();
}

std::int32_t Engine::RegisterFolder(const std::string& folder) noexcept {
  if (!started_) return kNotReady;
  if (!folder.empty()) folders_.push_back(folder);
  return 0;
}

// A relative model path is looked for in the registered folders, first
// registered first; failing that it is used as it is.
std::string Engine::Resolve(const std::string& path) const {
  if (!IsRelative(path)) return path;
  for (const std::string& folder : folders_) {
    const std::string candidate = WithTrailingBackslash(folder) + path;
    if (files_.ReadFile(candidate)) return candidate;
  }
  return path;
}

std::int32_t Engine::ReadModelHeader(const std::string& path, HeaderValues* values) noexcept {
  if (!started_) return kNotReady;
  if (failure_.Fails(EngineStep::kReadModelHeader)) return kNotReady;
  const std::string resolved = Resolve(path);
  const std::optional<std::string> bytes = files_.ReadFile(resolved);
  if (!bytes) return kNotReady;
  ModelHeader header;
  if (const ModelError e = DecodeModelHeader(*bytes, &header); e != ModelError::kNone) {
    return static_cast<std::int32_t>(e);
  }
  pending_ = PendingRead{next_handle_, resolved};
  next_handle_ = next_handle_ == INT32_MAX ? 1 : next_handle_ + 1;
  values->version = static_cast<std::int32_t>(header.version);
  values->parts = static_cast<std::int32_t>(header.part_count);
  values->triangles = static_cast<std::int32_t>(header.triangle_count);
  return pending_->handle;
}

std::int32_t Engine::ReadModelFile(const std::string& path, std::int32_t handle,
                                   std::string* message, std::int32_t* triangles) noexcept {
  if (!started_ || !pending_ || pending_->handle != handle) {
    *message = "no model header read for this handle";
    return kNotReady;
  }
  if (failure_.Fails(EngineStep::kReadModelFile)) {
    *message = "model not read (failure switch)";
    return kNotReady;
  }
  // The path given again names the same file; the one the header was read
  // from counts, so that a relative path resolves the same way.
  const std::string file = path.empty() ? pending_->path : Resolve(path);
  const std::optional<std::string> bytes = files_.ReadFile(file);
  if (!bytes) {
    *message = "model file not readable: " + file;
    return kNotReady;
  }
  Model model;
  if (const ModelError e = DecodeModel(*bytes, &model); e != ModelError::kNone) {
    *message = DescribeModelError(e) + ": " + file;
    return static_cast<std::int32_t>(e);
  }
  // The parts section follows the geometry body.
  ModelHeader header;
  PartsModel parts;
  DecodeModelHeader(*bytes, &header);
  if (const ModelError e =
          PartsModel::Decode(*bytes, kHeaderSize + header.body_size, model, &parts);
      e != ModelError::kNone) {
    *message = DescribeModelError(e) + ": " + file;
    return static_cast<std::int32_t>(e);
  }
  parts_ = std::move(parts);
  *triangles = static_cast<std::int32_t>(model.TriangleCount());
  *message = Format("KQ3D model: %d parts, %d triangles", static_cast<int>(model.parts.size()),
                    static_cast<int>(model.TriangleCount()));
  bounds_ = ModelBounds(model);
  model_ = std::move(model);
  ++model_serial_;
  return 0;
}

std::int32_t Engine::FinishRead() noexcept {
  pending_.reset();
  return 0;
}

}  // namespace kx::kx3d
