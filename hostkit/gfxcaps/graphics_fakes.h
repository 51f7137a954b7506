// In-memory stand-ins of Direct3D 9, the diagnostic service, DirectDraw and
// the engine loader for the unit tests of the graphics capability logic.
// They keep one shared record of what was opened and closed, in order.
#pragma once

#include <algorithm>
#include <map>
#include <new>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/profile_store.h"
#include "hostkit/gfxcaps/direct3d_probe.h"
#include "hostkit/gfxcaps/directdraw_probe.h"
#include "hostkit/gfxcaps/dxdiag_devices.h"
#include "hostkit/gfxcaps/engine_library.h"
#include "tests/fakes/memory_file_system.h"

namespace kx::hostkit::test {

using Events = std::vector<std::string>;

constexpr Guid kPrimaryId = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr char16_t kPrimaryIdText[] = u"{12345678-9abc-DEF0-0102-030405060708}";
constexpr Guid kOtherId = {0x0BADF00D, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
constexpr char16_t kOtherIdText[] = u"{0BADF00D-0000-0000-0000-000000000001}";

// Pixel-shader versions in the platform's encoding.
constexpr std::uint32_t PixelShader(std::uint32_t major, std::uint32_t minor = 0) {
  return 0xFFFF0000u + major * 256u + minor;
}

class FakeDirect3D final : public Direct3DProbe {
 public:
  explicit FakeDirect3D(Events& events) : events_(events) {}

  bool available = true;
  std::optional<Guid> device_id = kPrimaryId;
  std::optional<std::uint32_t> pixel_shader = PixelShader(3);
  std::optional<std::uint32_t> display_format = d3dformat::kX8R8G8B8;
  std::set<std::pair<std::uint32_t, std::uint32_t>> textures;     // (display, texture) that work
  std::set<std::pair<std::uint32_t, std::uint32_t>> multisample;  // (surface, type) that work
  std::vector<std::string> queries;  // every capability question, in order
  int opens = 0;
  int live = 0;

  void AllowTexture(std::uint32_t format, std::uint32_t display = d3dformat::kX8R8G8B8) {
    textures.insert({display, format});
  }

  std::unique_ptr<Direct3DAdapter> Open() override {
    ++opens;
    if (!available) return nullptr;
    return std::make_unique<Adapter>(*this);
  }

 private:
  class Adapter final : public Direct3DAdapter {
   public:
    explicit Adapter(FakeDirect3D& d3d) : d3d_(d3d) {
      ++d3d_.live;
      d3d_.events_.push_back("d3d open");
    }
    ~Adapter() override {
      --d3d_.live;
      d3d_.events_.push_back("d3d close");
    }
    std::optional<Guid> DeviceIdentifier() override { return d3d_.device_id; }
    std::optional<std::uint32_t> PixelShaderVersion() override { return d3d_.pixel_shader; }
    std::optional<std::uint32_t> DisplayModeFormat() override { return d3d_.display_format; }
    bool SupportsTextureFormat(std::uint32_t display, std::uint32_t format) override {
      d3d_.queries.push_back("texture " + std::to_string(display) + "/" + std::to_string(format));
      return d3d_.textures.count({display, format}) != 0;
    }
    bool SupportsMultiSample(std::uint32_t surface, std::uint32_t type) override {
      d3d_.queries.push_back("ms " + std::to_string(surface) + "/" + std::to_string(type));
      // No samples at all always works, as on the platform.
      return type == 0 || d3d_.multisample.count({surface, type}) != 0;
    }

   private:
    FakeDirect3D& d3d_;
  };

  Events& events_;
};

struct FakeDevice {
  std::optional<std::u16string> name;  // nullopt: cannot be named
  bool openable = true;
  std::map<std::u16string, DiagValue> properties;
};

class FakeDiag final : public DiagService {
 public:
  explicit FakeDiag(Events& events) : events_(events) {}

  bool available = true;
  std::vector<FakeDevice> devices;

  // A device named after its index with the given identifier text.
  FakeDevice& AddDevice(const std::u16string& id_text) {
    FakeDevice device;
    device.name =
        u"DisplayDevice" + std::u16string(1, static_cast<char16_t>(u'0' + devices.size()));
    device.properties[u"szDeviceIdentifier"] = DiagValue::Text(id_text);
    devices.push_back(device);
    return devices.back();
  }

  std::unique_ptr<DiagDisplayDevices> OpenDisplayDevices() override {
    if (!available) return nullptr;
    return std::make_unique<List>(*this);
  }

 private:
  class Device final : public DiagDevice {
   public:
    Device(FakeDiag& diag, const FakeDevice& device) : diag_(diag), device_(device) {
      diag_.events_.push_back("device open");
    }
    ~Device() override { diag_.events_.push_back("device close"); }
    DiagValue Property(const char16_t* name) override {
      auto it = device_.properties.find(name);
      return it == device_.properties.end() ? DiagValue() : it->second;
    }

   private:
    FakeDiag& diag_;
    FakeDevice device_;
  };

  class List final : public DiagDisplayDevices {
   public:
    explicit List(FakeDiag& diag) : diag_(diag) { diag_.events_.push_back("diag open"); }
    ~List() override { diag_.events_.push_back("diag close"); }
    std::uint32_t ChildCount() override { return static_cast<std::uint32_t>(diag_.devices.size()); }
    std::optional<std::u16string> ChildName(std::uint32_t index) override {
      return diag_.devices.at(index).name;
    }
    std::unique_ptr<DiagDevice> OpenChild(const std::u16string& name) override {
      for (const FakeDevice& device : diag_.devices) {
        if (device.name == name && device.openable) return std::make_unique<Device>(diag_, device);
      }
      return nullptr;
    }

   private:
    FakeDiag& diag_;
  };

  Events& events_;
};

// ASCII as it is; the few Japanese characters the tests use as Shift-JIS.
class FakeCodePage final : public ThreadCodePage {
 public:
  std::string FromWide(const std::u16string& text) override {
    std::string ansi;
    for (char16_t c : text) {
      if (c < 0x80) {
        ansi += static_cast<char>(c);
      } else if (c == u'表') {
        ansi += "\x95\x5C";
      } else if (c == u'示') {
        ansi += "\x8E\xA6";
      } else {
        ansi += '?';
      }
    }
    return ansi;
  }
};

class FakeDirectDraw final : public DirectDrawProbe {
 public:
  std::optional<std::uint32_t> total = 268435456;
  std::optional<std::uint32_t> TotalVideoMemory() override { return total; }
};

class FakeEngineLoader final : public EngineLibraryLoader {
 public:
  std::map<std::string, std::optional<std::int32_t>> libraries;  // path -> entry's answer
  std::vector<std::string> loaded;
  int live = 0;

  std::unique_ptr<EngineLibrary> Load(const std::string& path) override {
    auto it = libraries.find(path);
    if (it == libraries.end()) return nullptr;
    loaded.push_back(path);
    return std::make_unique<Library>(*this, it->second);
  }

 private:
  class Library final : public EngineLibrary {
   public:
    Library(FakeEngineLoader& loader, std::optional<std::int32_t> answer)
        : loader_(loader), answer_(answer) {
      ++loader_.live;
    }
    ~Library() override { --loader_.live; }
    std::optional<std::int32_t> GraphicLibrary() override { return answer_; }

   private:
    FakeEngineLoader& loader_;
    std::optional<std::int32_t> answer_;
  };
};

// The in-memory INI store, remembering the sections and buffer sizes asked
// for; it can be made to run out of memory while reading a section.
class RecordingStore final : public ProfileStore {
 public:
  kx::test::MemoryProfileStore inner;
  std::vector<std::string> sections;
  std::vector<std::size_t> buffer_sizes;
  bool out_of_memory = false;

  std::string ReadString(const std::string& f, const std::string& s, const std::string& k,
                         const std::string& d, std::size_t n) override {
    return inner.ReadString(f, s, k, d, n);
  }
  int ReadInt(const std::string& f, const std::string& s, const std::string& k, int d) override {
    return inner.ReadInt(f, s, k, d);
  }
  bool WriteString(const std::string& f, const std::string& s, const std::string& k,
                   const std::string& v) override {
    return inner.WriteString(f, s, k, v);
  }
  std::string ReadSection(const std::string& f, const std::string& s, std::size_t n) override {
    sections.push_back(s);
    buffer_sizes.push_back(n);
    if (out_of_memory) throw std::bad_alloc();
    return inner.ReadSection(f, s, n);
  }
  bool Asked(const std::string& section) const {
    return std::find(sections.begin(), sections.end(), section) != sections.end();
  }
};

}  // namespace kx::hostkit::test
