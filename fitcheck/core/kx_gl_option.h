// One candidate graphics configuration of the 3D test, and the texts that
// describe it to the user.
#pragma once

#include <cstdint>
#include <string>

namespace kx {

struct KxGLOption {
  bool DirectX = false;      // DirectX; false: OpenGL
  bool AntiAlias = false;    // DirectX only
  bool Shadow = false;       // DirectX only
  bool Phong = false;        // DirectX only
  bool NoOpenGLAcc = false;  // OpenGL without hardware acceleration
  bool Enabled = false;      // to be tried in this run
  std::string BmpFile;       // sample picture in the "data" folder
};

// Library code of a configuration: 1 OpenGL, 2 DirectX, 3 DirectX with
// shadow mapping or Phong shading.
std::int32_t GraphicLibraryCode(const KxGLOption& option);

// The settings line shown while a test is announced.
std::string DescribeForTest(const KxGLOption& option, bool new_generation);

// The text of the final page after a passed test: `heading` (the wizard's
// string-table text that introduces the settings), a CR, then the settings.
std::string DescribeResult(const KxGLOption& option, bool new_generation, const std::string& heading);

}  // namespace kx
