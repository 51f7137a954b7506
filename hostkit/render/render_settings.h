// The rendering settings that the host's renderer reads afterwards: 32-bit
// values under HKEY_CURRENT_USER\<key>\Settings, and the destination folder
// of multi-view rendering under <key>\Directories.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kx::hostkit {

// The current user's hive as the rendering dialogs use it. Write failures
// are not reported: the user cannot do anything about them here.
class SettingsRegistry {
 public:
  virtual ~SettingsRegistry() = default;
  // A 32-bit value; none when the key or value is missing or has another type.
  virtual std::optional<std::uint32_t> ReadDword(const std::string& key_path,
                                                 const std::string& name) = 0;
  // A string value; none when missing or of another type.
  virtual std::optional<std::string> ReadString(const std::string& key_path,
                                                const std::string& name) = 0;
  // The key is created when it is missing.
  virtual void WriteDword(const std::string& key_path, const std::string& name,
                          std::uint32_t value) = 0;
  virtual void WriteString(const std::string& key_path, const std::string& name,
                           const std::string& value) = 0;
};

struct RenderSettings {
  int sizing = 0;  // 0 paper size, 1 pixel count
  int dpi = 125;
  int render_type = 0;  // 0 Z-buffer, 1 ray tracing; never read back
  int z_kind = 1;       // 0 flat, 1 Gouraud
  int order = 0;        // 0 progressive, 1 sequential
  int anti_alias_type = 1;
  int sampling = 2;
  int raycast = 4;
  int mingain = 10;
  int paper_size = 4;
  bool portrait = false;
  int left_margin = 20, right_margin = 20, top_margin = 20, bottom_margin = 20;
  int unit = 0;
  int pixel_size_type = 1;
  bool same_ratio = true;
  int width = 640, height = 480;
  int method = 0;
  int texture_base = 0;
  int anti_alias_eps1 = 20, anti_alias_eps2 = 1, anti_alias_eps3 = 0;
  bool anti_alias_flag = false;
  double texture_amb = 0.5, texture_spec = 0.5;  // fractions; stored as hundredths
  int texture_shin = 64;
  bool use_bg_lookup = false;
};

// "<key>\Settings" and "<key>\Directories".
std::string SettingsKeyPath(const std::string& key_path);
std::string DirectoriesKeyPath(const std::string& key_path);

// The stored settings, defaults for what is missing; "RenderType" always
// starts from 0.
RenderSettings ReadRenderSettings(SettingsRegistry& registry, const std::string& key_path);
// Every value, in the order the host has always found them written.
void WriteRenderSettings(SettingsRegistry& registry, const std::string& key_path,
                         const RenderSettings& settings);

// A fraction as the stored hundredths: truncated, except that a fraction
// read from hundredths comes back as the same number.
std::uint32_t FractionToHundredths(double fraction);

}  // namespace kx::hostkit
