#include "standins/kx3d/gl_device_win32.h"

#include <GL/gl.h>
#include <windows.h>

#include <vector>

#include "standins/kx3d/pixel_format_choice.h"
#include "standins/kx3d/surface_window_win32.h"

namespace kx::kx3d {
namespace {

struct ContextTraits {
  using value_type = HGLRC;
  static HGLRC invalid() noexcept { return nullptr; }
  static void close(HGLRC context) noexcept {
    if (wglGetCurrentContext() == context) wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
  }
};
using UniqueContext = kx::win::UniqueResource<ContextTraits>;

std::vector<PixelFormatSummary> DescribeFormats(HDC dc) {
  std::vector<PixelFormatSummary> formats;
  PIXELFORMATDESCRIPTOR pfd = {};
  const int count = DescribePixelFormat(dc, 1, sizeof(pfd), &pfd);
  for (int i = 1; i <= count; ++i) {
    if (DescribePixelFormat(dc, i, sizeof(pfd), &pfd) == 0) continue;
    PixelFormatSummary f;
    f.index = i;
    f.flags = pfd.dwFlags;
    f.pixel_type = pfd.iPixelType;
    f.color_bits = pfd.cColorBits;
    f.alpha_bits = pfd.cAlphaBits;
    f.depth_bits = pfd.cDepthBits;
    f.stencil_bits = pfd.cStencilBits;
    formats.push_back(f);
  }
  return formats;
}

// Makes a context current for the life of the object.
class CurrentContext {
 public:
  CurrentContext(HDC dc, HGLRC context) noexcept : ok_(wglMakeCurrent(dc, context) != FALSE) {}
  ~CurrentContext() {
    if (ok_) wglMakeCurrent(nullptr, nullptr);
  }
  bool ok() const noexcept { return ok_; }

 private:
  bool ok_;
};

class GlDevice final : public DrawingDevice {
 public:
  GlDevice(SurfaceWindow surface, HDC dc, UniqueContext context, const DrawingInfo& info,
           bool double_buffered) noexcept
      : surface_(std::move(surface)),
        dc_(dc),
        context_(std::move(context)),
        info_(info),
        double_buffered_(double_buffered) {}
  ~GlDevice() override {
    context_.reset();  // before the window whose device context it draws on
    ReleaseDC(surface_.get(), dc_);
  }

  bool Resize(int width, int height) noexcept override {
    if (!surface_.Resize(width, height)) return false;
    info_.width = width;
    info_.height = height;
    return true;
  }

  bool Render(const Scene& scene, FrameImage* frame) noexcept override;
  DrawingInfo Describe() const noexcept override { return info_; }

 private:
  void DrawModel(const Model& model) noexcept;

  SurfaceWindow surface_;
  HDC dc_;
  UniqueContext context_;
  DrawingInfo info_;
  bool double_buffered_;
};

bool GlDevice::Render(const Scene& scene, FrameImage* frame) noexcept {
  CurrentContext current(dc_, context_.get());
  if (!current.ok()) return false;
  const int w = info_.width, h = info_.height;
  glViewport(0, 0, w, h);
  glDrawBuffer(double_buffered_ ? GL_BACK : GL_FRONT);
  glClearColor(kSkyColour[0], kSkyColour[1], kSkyColour[2], 1.0f);
  glClearDepth(1.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDisable(GL_CULL_FACE);
  glShadeModel(GL_SMOOTH);

  const Camera camera = FitCamera(scene.bounds, w, h, DepthRange::kMinusOneToOne);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(camera.projection.ColumnMajor().data());
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(camera.view.ColumnMajor().data());

  // The sun, given in world space (the model-view matrix holds the view).
  const Lighting lighting;
  const Vec3 sun = Normalized(kSunDirection);
  const GLfloat position[4] = {sun.x, sun.y, sun.z, 0.0f};
  const GLfloat sunlight[4] = {lighting.sun, lighting.sun, lighting.sun, 1.0f};
  const GLfloat none[4] = {0, 0, 0, 1};
  const GLfloat ambient[4] = {lighting.ambient, lighting.ambient, lighting.ambient, 1.0f};
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glLightfv(GL_LIGHT0, GL_POSITION, position);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, sunlight);
  glLightfv(GL_LIGHT0, GL_AMBIENT, none);
  glLightfv(GL_LIGHT0, GL_SPECULAR, none);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glEnable(GL_NORMALIZE);

  if (scene.model != nullptr) DrawModel(*scene.model);
  glFinish();

  FrameImage picture(w, h);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
  glReadBuffer(double_buffered_ ? GL_BACK : GL_FRONT);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  if (glGetError() != GL_NO_ERROR) return false;
  // OpenGL rows run from the bottom.
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = &rgb[static_cast<std::size_t>(h - 1 - y) * w * 3];
    std::uint8_t* dst = picture.Pixel(0, y);
    for (int x = 0; x < w; ++x) {
      dst[x * 3 + 0] = src[x * 3 + 2];
      dst[x * 3 + 1] = src[x * 3 + 1];
      dst[x * 3 + 2] = src[x * 3 + 0];
    }
  }
  if (double_buffered_) SwapBuffers(dc_);
  *frame = std::move(picture);
  return true;
}

void GlDevice::DrawModel(const Model& model) noexcept {
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  for (const Part& part : model.parts) {
    if (part.indices.empty()) continue;
    glColor3ub(part.material.diffuse[0], part.material.diffuse[1], part.material.diffuse[2]);
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), part.vertices[0].position);
    glNormalPointer(GL_FLOAT, sizeof(Vertex), part.vertices[0].normal);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(part.indices.size()), GL_UNSIGNED_SHORT,
                   part.indices.data());
  }
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace

std::unique_ptr<DrawingDevice> CreateGlDevice(const DrawFeatures& features, int width,
                                              int height) noexcept {
  SurfaceWindow surface = SurfaceWindow::Create(width, height);
  if (!surface) return nullptr;
  HDC dc = GetDC(surface.get());
  if (dc == nullptr) return nullptr;
  const std::vector<PixelFormatSummary> formats = DescribeFormats(dc);
  const int index = ChoosePixelFormat(formats, features);
  PIXELFORMATDESCRIPTOR pfd = {};
  UniqueContext context;
  if (index != 0 && DescribePixelFormat(dc, index, sizeof(pfd), &pfd) != 0 &&
      SetPixelFormat(dc, index, &pfd)) {
    context.reset(wglCreateContext(dc));
  }
  if (!context) {
    ReleaseDC(surface.get(), dc);
    return nullptr;
  }
  DrawingInfo info;
  info.library = GraphicsLibrary::kOpenGL;
  info.width = width;
  info.height = height;
  info.pixel_format = index;
  info.pixel_format_flags = pfd.dwFlags;
  info.color_bits = pfd.cColorBits;
  info.alpha_bits = pfd.cAlphaBits;
  info.depth_bits = pfd.cDepthBits;
  const bool double_buffered = (pfd.dwFlags & PFD_DOUBLEBUFFER) != 0;
  auto device = std::unique_ptr<GlDevice>(new (std::nothrow) GlDevice(
      std::move(surface), dc, std::move(context), info, double_buffered));
  return device;
}

}  // namespace kx::kx3d
