#include "fitcheck/core/kx_gl_option.h"

namespace kx {

std::int32_t GraphicLibraryCode(const KxGLOption& option) {
  if (!option.DirectX) return 1;
  return (option.Shadow || option.Phong) ? 3 : 2;
}

std::string DescribeForTest(const KxGLOption& option, bool new_generation) {
  const auto on_off = [](bool on) { return on ? "On" : "Off"; };
  std::string text = "設定内容(参考):\r";
  if (option.DirectX) {
    text += "DirectX";
    // Anti-aliasing is offered by the newer generation only.
    if (new_generation) text += std::string("、アンチエイリアス") + on_off(option.AntiAlias);
    text += std::string("、影") + on_off(option.Shadow);
    text += std::string("、フォンシェーディング") + on_off(option.Phong);
  } else {
    text += std::string("OpenGL、アクセラレータ") + (option.NoOpenGLAcc ? "Off" : "On");
  }
  return text;
}

std::string DescribeResult(const KxGLOption& option, bool new_generation, const std::string& heading) {
  const auto enabled = [](bool on) { return on ? "有効" : "無効"; };
  std::string text = heading + "\r";
  if (option.DirectX) {
    text += "DirectX\r";
    if (new_generation) text += std::string("　・アンチエイリアスを") + enabled(option.AntiAlias) + "\r";
    text += std::string("　・影を") + (option.Shadow ? "落とす\r" : "落とさない\r");
    text += std::string("　・フォンシェーディングを") + enabled(option.Phong);
  } else {
    text += std::string("OpenGL\r　・アクセラレータを") + (option.NoOpenGLAcc ? "無効" : "有効");
  }
  return text;
}

}  // namespace kx
