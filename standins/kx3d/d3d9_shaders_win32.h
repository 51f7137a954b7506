// The shader programs of Direct3D drawing with effects (library code 3), as
// shader model 2.0 token streams written directly: there is no shader
// compiler to rely on beside Direct3D 9 itself.
//
// Vertex shader constants (all programs):
//   c0..c3   world to clip space of the camera, or of the sun for the shadow map
//   c4..c7   world to shadow-map texture space (u, v, depth)
//   c8       direction towards the sun (x, y, z, 0)
//   c9       material colour (r, g, b, 1)
//   c10      (ambient share, sunlight share, 0, 0)
// Pixel shader constants (scene):
//   c0       direction towards the sun
//   c1       eye position
//   c2       material colour (r, g, b, 1)
//   c3       (ambient share, sunlight share, highlight strength, highlight exponent)
//   c4       (d, -d, 0, 0): offsets of the shadow-map taps, d = one texel
//   c5       (depth bias, 0.25, 0, 1)
// Sampler s0: the shadow map (depth from the sun, R32F).
#pragma once

#include <windows.h>

#include <vector>

namespace kx::kx3d::d3d9 {

// Depth as seen from the sun, into the shadow map.
std::vector<DWORD> ShadowDepthVertexShader();
std::vector<DWORD> ShadowDepthPixelShader();

// The scene. Per pixel: normal and position go to the pixel shader, which
// lights each pixel with highlights (Phong); otherwise the vertex shader
// lights the vertices (Gouraud, as without effects) and the pixel shader only
// darkens what lies in shadow.
std::vector<DWORD> SceneVertexShader(bool per_pixel);
std::vector<DWORD> ScenePixelShader(bool per_pixel, bool shadows);

}  // namespace kx::kx3d::d3d9
