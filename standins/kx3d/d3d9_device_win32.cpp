#include "standins/kx3d/d3d9_device_win32.h"

#include <d3d9.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/unique_resource.h"
#include "standins/kx3d/d3d9_shaders_win32.h"
#include "standins/kx3d/surface_window_win32.h"

namespace kx::kx3d {
namespace {

using kx::win::ComPtr;

constexpr D3DFORMAT kBackBufferFormat = D3DFMT_X8R8G8B8;
constexpr D3DFORMAT kDepthFormat = D3DFMT_D24X8;
constexpr D3DFORMAT kShadowFormat = D3DFMT_R32F;
constexpr float kShadowBias = 0.003f;  // in the sun's depth range (0..1)

struct PartRange {
  UINT first_vertex = 0, vertex_count = 0, first_index = 0, triangle_count = 0;
  Material material;
};

D3DMATRIX ToD3d(const Mat4& m) {
  D3DMATRIX out;
  const auto values = m.ColumnMajor();  // the row-vector layout Direct3D uses
  std::memcpy(&out, values.data(), sizeof(out));
  return out;
}

// Constant registers take the rows of the matrix (dp4 of the vertex with
// each row).
void SetMatrixConstants(IDirect3DDevice9* device, UINT first, const Mat4& m) {
  float rows[16];
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) rows[r * 4 + c] = m.m[r][c];
  }
  device->SetVertexShaderConstantF(first, rows, 4);
}

void SetVector(IDirect3DDevice9* device, bool pixel, UINT index, float x, float y, float z,
               float w) {
  const float v[4] = {x, y, z, w};
  if (pixel) {
    device->SetPixelShaderConstantF(index, v, 1);
  } else {
    device->SetVertexShaderConstantF(index, v, 1);
  }
}

class D3d9Device final : public DrawingDevice {
 public:
  D3d9Device(const DrawFeatures& features, SurfaceWindow surface, ComPtr<IDirect3D9> d3d) noexcept
      : features_(features), surface_(std::move(surface)), d3d_(std::move(d3d)) {}

  // Creates the device and what depends on the size; everything held before
  // is released first.
  [[nodiscard]] bool Build(int width, int height) noexcept;

  bool Resize(int width, int height) noexcept override {
    if (width == info_.width && height == info_.height) return true;
    return surface_.Resize(width, height) && Build(width, height);
  }
  bool Render(const Scene& scene, FrameImage* frame) noexcept override;
  DrawingInfo Describe() const noexcept override { return info_; }

 private:
  bool Upload(const Model& model) noexcept;
  void DrawShadowMap(const Scene& scene, const SunView& sun) noexcept;
  void DrawParts(bool shaders, bool shadow_casters_only, bool set_materials) noexcept;
  bool ReadBack(FrameImage* frame) noexcept;
  int ChooseSamples(int wanted) const noexcept;

  DrawFeatures features_;
  SurfaceWindow surface_;
  ComPtr<IDirect3D9> d3d_;
  ComPtr<IDirect3DDevice9> device_;
  ComPtr<IDirect3DSurface9> resolved_;  // the back buffer without multisampling
  ComPtr<IDirect3DSurface9> readback_;  // in system memory
  ComPtr<IDirect3DTexture9> shadow_map_;
  ComPtr<IDirect3DSurface9> shadow_depth_;
  ComPtr<IDirect3DVertexDeclaration9> declaration_;
  ComPtr<IDirect3DVertexShader9> depth_vs_, scene_vs_;
  ComPtr<IDirect3DPixelShader9> depth_ps_, scene_ps_;
  ComPtr<IDirect3DVertexBuffer9> vertices_;
  ComPtr<IDirect3DIndexBuffer9> indices_;
  std::vector<PartRange> parts_;
  std::uint32_t uploaded_serial_ = 0;
  bool uploaded_ = false;
  DrawingInfo info_;
};

int D3d9Device::ChooseSamples(int wanted) const noexcept {
  // The most samples up to the level's count that the adapter offers for
  // both the back buffer and the depth buffer.
  for (int samples = wanted; samples >= 2; --samples) {
    const auto type = static_cast<D3DMULTISAMPLE_TYPE>(samples);
    if (SUCCEEDED(d3d_.get()->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                                         kBackBufferFormat, TRUE, type, nullptr)) &&
        SUCCEEDED(d3d_.get()->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                                         kDepthFormat, TRUE, type, nullptr))) {
      return samples;
    }
  }
  return 0;
}

bool D3d9Device::Build(int width, int height) noexcept {
  // Everything tied to the old device goes first.
  resolved_.reset();
  readback_.reset();
  shadow_map_.reset();
  shadow_depth_.reset();
  declaration_.reset();
  depth_vs_.reset();
  scene_vs_.reset();
  depth_ps_.reset();
  scene_ps_.reset();
  vertices_.reset();
  indices_.reset();
  uploaded_ = false;
  device_.reset();

  const int wanted_samples = SamplesForAntialiasLevel(features_.antialias_level);
  const int samples = wanted_samples > 0 ? ChooseSamples(wanted_samples) : 0;
  if (wanted_samples > 0 && samples == 0) return false;  // anti-aliasing asked, none to be had

  D3DCAPS9 caps = {};
  if (FAILED(d3d_.get()->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps))) return false;
  const bool effects = features_.shadow_map_level > 0 || features_.phong;
  if (effects && (caps.VertexShaderVersion < D3DVS_VERSION(2, 0) ||
                  caps.PixelShaderVersion < D3DPS_VERSION(2, 0))) {
    return false;
  }
  const int shadow_size = ShadowMapSizeForLevel(features_.shadow_map_level);
  if (shadow_size > 0 && (FAILED(d3d_.get()->CheckDeviceFormat(
                              D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, kBackBufferFormat,
                              D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, kShadowFormat)) ||
                          static_cast<DWORD>(shadow_size) > caps.MaxTextureWidth)) {
    return false;
  }

  D3DPRESENT_PARAMETERS params = {};
  params.BackBufferWidth = static_cast<UINT>(width);
  params.BackBufferHeight = static_cast<UINT>(height);
  params.BackBufferFormat = kBackBufferFormat;
  params.BackBufferCount = 1;
  params.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(samples);
  params.SwapEffect = D3DSWAPEFFECT_DISCARD;
  params.hDeviceWindow = surface_.get();
  params.Windowed = TRUE;
  params.EnableAutoDepthStencil = TRUE;
  params.AutoDepthStencilFormat = kDepthFormat;
  params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  // The caller's floating-point precision stays as it was.
  DWORD behaviour = D3DCREATE_FPU_PRESERVE;
  behaviour |= (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT)
                   ? D3DCREATE_HARDWARE_VERTEXPROCESSING
                   : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  if (FAILED(d3d_.get()->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, surface_.get(), behaviour,
                                      &params, device_.put()))) {
    return false;
  }
  if (samples > 0 && FAILED(device_.get()->CreateRenderTarget(width, height, kBackBufferFormat,
                                                              D3DMULTISAMPLE_NONE, 0, FALSE,
                                                              resolved_.put(), nullptr))) {
    return false;
  }
  if (FAILED(device_.get()->CreateOffscreenPlainSurface(
          width, height, kBackBufferFormat, D3DPOOL_SYSTEMMEM, readback_.put(), nullptr))) {
    return false;
  }
  if (shadow_size > 0) {
    if (FAILED(device_.get()->CreateTexture(shadow_size, shadow_size, 1, D3DUSAGE_RENDERTARGET,
                                            kShadowFormat, D3DPOOL_DEFAULT, shadow_map_.put(),
                                            nullptr)) ||
        FAILED(device_.get()->CreateDepthStencilSurface(shadow_size, shadow_size, kDepthFormat,
                                                        D3DMULTISAMPLE_NONE, 0, TRUE,
                                                        shadow_depth_.put(), nullptr))) {
      return false;
    }
  }
  const D3DVERTEXELEMENT9 elements[] = {
      {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
      {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
      D3DDECL_END()};
  if (FAILED(device_.get()->CreateVertexDeclaration(elements, declaration_.put()))) return false;
  if (effects) {
    const auto scene_vs = d3d9::SceneVertexShader(features_.phong);
    const auto scene_ps = d3d9::ScenePixelShader(features_.phong, shadow_size > 0);
    if (FAILED(device_.get()->CreateVertexShader(scene_vs.data(), scene_vs_.put())) ||
        FAILED(device_.get()->CreatePixelShader(scene_ps.data(), scene_ps_.put()))) {
      return false;
    }
    if (shadow_size > 0) {
      const auto depth_vs = d3d9::ShadowDepthVertexShader();
      const auto depth_ps = d3d9::ShadowDepthPixelShader();
      if (FAILED(device_.get()->CreateVertexShader(depth_vs.data(), depth_vs_.put())) ||
          FAILED(device_.get()->CreatePixelShader(depth_ps.data(), depth_ps_.put()))) {
        return false;
      }
    }
  }
  info_.library = GraphicsLibrary::kDirect3D9;
  info_.width = width;
  info_.height = height;
  info_.samples = samples;
  info_.shadow_map_size = shadow_size;
  info_.per_pixel_lighting = features_.phong;
  return true;
}

bool D3d9Device::Upload(const Model& model) noexcept {
  vertices_.reset();
  indices_.reset();
  parts_.clear();
  const UINT vertex_count = static_cast<UINT>(model.VertexCount());
  const UINT index_count = static_cast<UINT>(model.TriangleCount() * 3);
  if (vertex_count == 0 || index_count == 0) return true;
  if (FAILED(device_.get()->CreateVertexBuffer(vertex_count * sizeof(Vertex), D3DUSAGE_WRITEONLY, 0,
                                               D3DPOOL_MANAGED, vertices_.put(), nullptr)) ||
      FAILED(device_.get()->CreateIndexBuffer(index_count * sizeof(std::uint16_t),
                                              D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                              indices_.put(), nullptr))) {
    return false;
  }
  void* vertex_data = nullptr;
  void* index_data = nullptr;
  if (FAILED(vertices_.get()->Lock(0, 0, &vertex_data, 0))) return false;
  if (FAILED(indices_.get()->Lock(0, 0, &index_data, 0))) {
    vertices_.get()->Unlock();
    return false;
  }
  auto* vertex_out = static_cast<Vertex*>(vertex_data);
  auto* index_out = static_cast<std::uint16_t*>(index_data);
  PartRange range;
  for (const Part& part : model.parts) {
    range.vertex_count = static_cast<UINT>(part.vertices.size());
    range.triangle_count = static_cast<UINT>(part.indices.size() / 3);
    range.material = part.material;
    std::memcpy(vertex_out + range.first_vertex, part.vertices.data(),
                part.vertices.size() * sizeof(Vertex));
    std::memcpy(index_out + range.first_index, part.indices.data(),
                part.indices.size() * sizeof(std::uint16_t));
    if (range.triangle_count > 0) parts_.push_back(range);
    range.first_vertex += range.vertex_count;
    range.first_index += range.triangle_count * 3;
  }
  indices_.get()->Unlock();
  vertices_.get()->Unlock();
  return true;
}

void D3d9Device::DrawParts(bool shaders, bool shadow_casters_only, bool set_materials) noexcept {
  if (!vertices_) return;
  device_.get()->SetStreamSource(0, vertices_.get(), 0, sizeof(Vertex));
  device_.get()->SetIndices(indices_.get());
  for (const PartRange& part : parts_) {
    if (shadow_casters_only && !part.material.casts_shadow) continue;
    const float r = part.material.diffuse[0] / 255.0f, g = part.material.diffuse[1] / 255.0f,
                b = part.material.diffuse[2] / 255.0f;
    if (set_materials && shaders) {
      const Lighting lighting;
      SetVector(device_.get(), false, 9, r, g, b, 1);
      SetVector(device_.get(), true, 2, r, g, b, 1);
      SetVector(device_.get(), true, 3, lighting.ambient, lighting.sun,
                part.material.specular / 255.0f, part.material.shininess);
    } else if (set_materials) {
      D3DMATERIAL9 material = {};
      material.Diffuse = {r, g, b, 1};
      material.Ambient = {r, g, b, 1};
      device_.get()->SetMaterial(&material);
    }
    device_.get()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, static_cast<INT>(part.first_vertex), 0,
                                        part.vertex_count, part.first_index, part.triangle_count);
  }
}

void D3d9Device::DrawShadowMap(const Scene& scene, const SunView& sun) noexcept {
  ComPtr<IDirect3DSurface9> back_buffer, back_depth, shadow_surface;
  device_.get()->GetRenderTarget(0, back_buffer.put());
  device_.get()->GetDepthStencilSurface(back_depth.put());
  shadow_map_.get()->GetSurfaceLevel(0, shadow_surface.put());
  device_.get()->SetRenderTarget(0, shadow_surface.get());  // also sets the viewport to the map
  device_.get()->SetDepthStencilSurface(shadow_depth_.get());
  device_.get()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0);
  device_.get()->SetVertexShader(depth_vs_.get());
  device_.get()->SetPixelShader(depth_ps_.get());
  SetMatrixConstants(device_.get(), 0, sun.clip);
  if (scene.model != nullptr) DrawParts(true, true, false);
  device_.get()->SetRenderTarget(0, back_buffer.get());
  device_.get()->SetDepthStencilSurface(back_depth.get());
}

bool D3d9Device::Render(const Scene& scene, FrameImage* frame) noexcept {
  if (!device_ || FAILED(device_.get()->TestCooperativeLevel())) return false;
  if (scene.model != nullptr && (!uploaded_ || uploaded_serial_ != scene.model_serial)) {
    if (!Upload(*scene.model)) return false;
    uploaded_ = true;
    uploaded_serial_ = scene.model_serial;
  }
  const int w = info_.width, h = info_.height;
  const Camera camera = FitCamera(scene.bounds, w, h, DepthRange::kZeroToOne);
  const Mat4 clip = camera.projection * camera.view;
  const Vec3 sun = Normalized(kSunDirection);
  const Lighting lighting;
  const bool shaders = static_cast<bool>(scene_vs_);
  const bool shadows = static_cast<bool>(shadow_map_);

  if (FAILED(device_.get()->BeginScene())) return false;
  device_.get()->SetVertexDeclaration(declaration_.get());
  device_.get()->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device_.get()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device_.get()->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, info_.samples > 0);
  const SunView sun_view = FitSunView(scene.bounds, info_.shadow_map_size);
  if (shadows) DrawShadowMap(scene, sun_view);

  const auto channel = [](float c) { return static_cast<int>(c * 255.0f + 0.5f); };
  device_.get()->Clear(
      0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER,
      D3DCOLOR_XRGB(channel(kSkyColour[0]), channel(kSkyColour[1]), channel(kSkyColour[2])), 1.0f,
      0);
  if (shaders) {
    device_.get()->SetVertexShader(scene_vs_.get());
    device_.get()->SetPixelShader(scene_ps_.get());
    SetMatrixConstants(device_.get(), 0, clip);
    SetMatrixConstants(device_.get(), 4, sun_view.texture);
    SetVector(device_.get(), false, 8, sun.x, sun.y, sun.z, 0);
    SetVector(device_.get(), false, 10, lighting.ambient, lighting.sun, 0, 0);
    SetVector(device_.get(), true, 0, sun.x, sun.y, sun.z, 0);
    SetVector(device_.get(), true, 1, camera.eye.x, camera.eye.y, camera.eye.z, 1);
    const float texel = shadows ? 1.0f / static_cast<float>(info_.shadow_map_size) : 0.0f;
    SetVector(device_.get(), true, 4, texel, -texel, 0, 0);
    SetVector(device_.get(), true, 5, kShadowBias, 0.25f, 0, 1);
    if (shadows) {
      device_.get()->SetTexture(0, shadow_map_.get());
      device_.get()->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
      device_.get()->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
      device_.get()->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
      // Outside the map: the far depth, so nothing there lies in shadow.
      device_.get()->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_BORDER);
      device_.get()->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_BORDER);
      device_.get()->SetSamplerState(0, D3DSAMP_BORDERCOLOR, 0xFFFFFFFF);
    }
  } else {
    device_.get()->SetVertexShader(nullptr);
    device_.get()->SetPixelShader(nullptr);
    device_.get()->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL);
    const D3DMATRIX world = ToD3d(Mat4::Identity()), view = ToD3d(camera.view),
                    projection = ToD3d(camera.projection);
    device_.get()->SetTransform(D3DTS_WORLD, &world);
    device_.get()->SetTransform(D3DTS_VIEW, &view);
    device_.get()->SetTransform(D3DTS_PROJECTION, &projection);
    D3DLIGHT9 light = {};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {lighting.sun, lighting.sun, lighting.sun, 1};
    light.Direction = {-sun.x, -sun.y, -sun.z};  // the way the light travels
    device_.get()->SetLight(0, &light);
    device_.get()->LightEnable(0, TRUE);
    device_.get()->SetRenderState(D3DRS_LIGHTING, TRUE);
    device_.get()->SetRenderState(
        D3DRS_AMBIENT,
        D3DCOLOR_COLORVALUE(lighting.ambient, lighting.ambient, lighting.ambient, 1.0f));
    device_.get()->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    device_.get()->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    device_.get()->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device_.get()->SetRenderState(D3DRS_COLORVERTEX, FALSE);
  }
  if (scene.model != nullptr) DrawParts(shaders, false, true);
  if (shadows) device_.get()->SetTexture(0, nullptr);
  device_.get()->EndScene();
  return ReadBack(frame);
}

bool D3d9Device::ReadBack(FrameImage* frame) noexcept {
  ComPtr<IDirect3DSurface9> back_buffer;
  if (FAILED(device_.get()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, back_buffer.put())))
    return false;
  IDirect3DSurface9* source = back_buffer.get();
  if (resolved_) {
    // The samples of each pixel are averaged into one.
    if (FAILED(device_.get()->StretchRect(back_buffer.get(), nullptr, resolved_.get(), nullptr,
                                          D3DTEXF_NONE))) {
      return false;
    }
    source = resolved_.get();
  }
  if (FAILED(device_.get()->GetRenderTargetData(source, readback_.get()))) return false;
  D3DLOCKED_RECT locked;
  if (FAILED(readback_.get()->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return false;
  FrameImage picture(info_.width, info_.height);
  for (int y = 0; y < info_.height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(locked.pBits) +
                      static_cast<std::ptrdiff_t>(y) * locked.Pitch;
    std::uint8_t* out = picture.Pixel(0, y);
    for (int x = 0; x < info_.width; ++x) {
      out[x * 3 + 0] = row[x * 4 + 0];
      out[x * 3 + 1] = row[x * 4 + 1];
      out[x * 3 + 2] = row[x * 4 + 2];
    }
  }
  readback_.get()->UnlockRect();
  *frame = std::move(picture);
  return true;
}

}  // namespace

std::unique_ptr<DrawingDevice> CreateD3d9Device(const DrawFeatures& features, int width,
                                                int height) noexcept {
  SurfaceWindow surface = SurfaceWindow::Create(width, height);
  if (!surface) return nullptr;
  ComPtr<IDirect3D9> d3d(Direct3DCreate9(D3D_SDK_VERSION));
  if (!d3d) return nullptr;
  auto device = std::unique_ptr<D3d9Device>(
      new (std::nothrow) D3d9Device(features, std::move(surface), std::move(d3d)));
  if (!device || !device->Build(width, height)) return nullptr;
  return device;
}

}  // namespace kx::kx3d
