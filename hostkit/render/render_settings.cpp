#include "hostkit/render/render_settings.h"

#include <cmath>
#include <limits>

namespace kx::hostkit {
namespace {

class Reader {
 public:
  Reader(SettingsRegistry& registry, std::string key) : registry_(registry), key_(std::move(key)) {}
  int Int(const char* name, int fallback) {
    const auto value = registry_.ReadDword(key_, name);
    return value ? static_cast<int>(static_cast<std::int32_t>(*value)) : fallback;
  }
  // True only for exactly 1; a missing value gives the default.
  bool Bool(const char* name, bool fallback) {
    const auto value = registry_.ReadDword(key_, name);
    return value ? *value == 1 : fallback;
  }

 private:
  SettingsRegistry& registry_;
  std::string key_;
};

class Writer {
 public:
  Writer(SettingsRegistry& registry, std::string key) : registry_(registry), key_(std::move(key)) {}
  void Int(const char* name, int value) {
    registry_.WriteDword(key_, name, static_cast<std::uint32_t>(value));
  }
  void Bool(const char* name, bool value) { registry_.WriteDword(key_, name, value ? 1 : 0); }
  void Raw(const char* name, std::uint32_t value) { registry_.WriteDword(key_, name, value); }

 private:
  SettingsRegistry& registry_;
  std::string key_;
};

std::string SubKey(const std::string& key_path, const char* name) {
  if (key_path.empty()) return name;
  if (key_path.back() == '\\') return key_path + name;
  return key_path + "\\" + name;
}

}  // namespace

std::string SettingsKeyPath(const std::string& key_path) { return SubKey(key_path, "Settings"); }

std::string DirectoriesKeyPath(const std::string& key_path) {
  return SubKey(key_path, "Directories");
}

std::uint32_t FractionToHundredths(double fraction) {
  // A stored 29 reads as 0.29, whose double is a hair below it: plain
  // truncation would store 28 and lose one hundredth at every save.
  double hundredths = fraction * 100.0;
  const double nearest = std::round(hundredths);
  hundredths = std::fabs(hundredths - nearest) < 1e-6 ? nearest : std::trunc(hundredths);
  if (!(hundredths >= std::numeric_limits<std::int32_t>::min())) return 0;
  if (hundredths > std::numeric_limits<std::int32_t>::max()) {
    return static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
  }
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(hundredths));
}

RenderSettings ReadRenderSettings(SettingsRegistry& registry, const std::string& key_path) {
  RenderSettings s;
  Reader r(registry, SettingsKeyPath(key_path));
  s.sizing = r.Int("Sizing", s.sizing);
  s.dpi = r.Int("DPI", s.dpi);
  s.z_kind = r.Int("ZKind", s.z_kind);
  s.order = r.Int("Order", s.order);
  s.anti_alias_type = r.Int("AntiAliasType", s.anti_alias_type);
  s.sampling = r.Int("Sampling", s.sampling);
  s.raycast = r.Int("Raycast", s.raycast);
  s.mingain = r.Int("Mingain", s.mingain);
  s.paper_size = r.Int("PaperSize", s.paper_size);
  s.portrait = r.Bool("Portrait", s.portrait);
  s.left_margin = r.Int("LMargin", s.left_margin);
  s.right_margin = r.Int("RMargin", s.right_margin);
  s.top_margin = r.Int("TMargin", s.top_margin);
  s.bottom_margin = r.Int("BMargin", s.bottom_margin);
  s.unit = r.Int("UNIT", s.unit);
  s.pixel_size_type = r.Int("PixelSizeType", s.pixel_size_type);
  s.same_ratio = r.Bool("SameRatio", s.same_ratio);
  s.width = r.Int("Width", s.width);
  s.height = r.Int("Height", s.height);
  s.method = r.Int("Method", s.method);
  s.texture_base = r.Int("TextureBase", s.texture_base);
  s.anti_alias_eps1 = r.Int("AntiAliasEps1", s.anti_alias_eps1);
  s.anti_alias_eps2 = r.Int("AntiAliasEps2", s.anti_alias_eps2);
  s.anti_alias_eps3 = r.Int("AntiAliasEps3", s.anti_alias_eps3);
  s.anti_alias_flag = r.Bool("AntiAliasFlag", s.anti_alias_flag);
  s.texture_amb = r.Int("TextureAmb", 50) / 100.0;
  s.texture_spec = r.Int("TextureSpec", 50) / 100.0;
  s.texture_shin = r.Int("TextureShin", s.texture_shin);
  s.use_bg_lookup = r.Bool("UseBGLookup", s.use_bg_lookup);
  s.render_type = 0;
  return s;
}

void WriteRenderSettings(SettingsRegistry& registry, const std::string& key_path,
                         const RenderSettings& s) {
  Writer w(registry, SettingsKeyPath(key_path));
  w.Int("Sizing", s.sizing);
  w.Int("DPI", s.dpi);
  w.Int("RenderType", s.render_type);
  w.Int("ZKind", s.z_kind);
  w.Int("Order", s.order);
  w.Int("AntiAliasType", s.anti_alias_type);
  w.Int("Sampling", s.sampling);
  w.Int("Raycast", s.raycast);
  w.Int("Mingain", s.mingain);
  w.Int("PaperSize", s.paper_size);
  w.Bool("Portrait", s.portrait);
  w.Int("LMargin", s.left_margin);
  w.Int("RMargin", s.right_margin);
  w.Int("TMargin", s.top_margin);
  w.Int("BMargin", s.bottom_margin);
  w.Int("UNIT", s.unit);
  w.Int("PixelSizeType", s.pixel_size_type);
  w.Bool("SameRatio", s.same_ratio);
  w.Int("Width", s.width);
  w.Int("Height", s.height);
  w.Int("Method", s.method);
  w.Int("TextureBase", s.texture_base);
  w.Int("AntiAliasEps1", s.anti_alias_eps1);
  w.Int("AntiAliasEps2", s.anti_alias_eps2);
  w.Int("AntiAliasEps3", s.anti_alias_eps3);
  w.Bool("AntiAliasFlag", s.anti_alias_flag);
  w.Raw("TextureAmb", FractionToHundredths(s.texture_amb));
  w.Raw("TextureSpec", FractionToHundredths(s.texture_spec));
  w.Int("TextureShin", s.texture_shin);
  w.Bool("UseBGLookup", s.use_bg_lookup);
}

}  // namespace kx::hostkit
