// The stand-in engine as the host application holds it, for the Windows
// tests of the parts services: loaded from the installed programs' folder,
// started, a model read through its own entry points, and what Hostkit left
// in it read back the same way. Kept for the process, as the engine link
// keeps it.
#pragma once

#include <windows.h>
// windows.h first
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fitview/engine_api/kx3d_api.h"
#include "standins/kx3d/q3d_model.h"

namespace kx::hostkit::test_support {

// The geometry part of a stand-in model file: one triangle named "floor".
// A test appends its parts section to it.
inline std::string FloorGeometry() {
  kx3d::Model geometry;
  kx3d::Part floor;
  floor.name = "floor";
  floor.vertices = {{{0, 0, 0}, {0, 0, 1}}, {{1, 0, 0}, {0, 0, 1}}, {{0, 1, 0}, {0, 0, 1}}};
  floor.indices = {0, 1, 2};
  geometry.parts.push_back(floor);
  return *kx3d::EncodeModel(geometry);
}

struct StandinEngine {
  explicit StandinEngine(const std::string& bin_folder)
      : module(LoadLibraryA((bin_folder + "KX3D.dll").c_str())) {
    Entry<decltype(Kxi_Initialize)>("Kxi_Initialize")();
  }

  template <class F>
  F* Entry(const char* name) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }

  bool Read(const std::string& path) {
    std::int32_t version = 0, parts = 0, triangles = 0, handle = -1, count = 0;
    Entry<decltype(Kxi_ReadModelHeader)>("Kxi_ReadModelHeader")(path.c_str(), &version, &parts,
                                                                &triangles, &handle);
    char message[512] = {};
    const std::int32_t read = Entry<decltype(Kxi_ReadModelFile)>("Kxi_ReadModelFile")(
        -1, path.c_str(), message, handle, &count);
    Entry<decltype(Kxi_FinishRead)>("Kxi_FinishRead")(0, 0);
    return handle >= 0 && read == 0;
  }

  // The part's extend block of `type`, or "(none)".
  std::string Block(std::int32_t parts, std::int32_t type) {
    std::int32_t size = 0;
    if (Entry<decltype(Kxi_GetPartsExtendBlockEx)>("Kxi_GetPartsExtendBlockEx")(parts, type,
                                                                                &size) < 0) {
      return "(none)";
    }
    std::string data(static_cast<std::size_t>(size), '\0');
    Entry<decltype(Kxi_GetPartsExtendBlockDataEx)>("Kxi_GetPartsExtendBlockDataEx")(parts, type,
                                                                                    data.data());
    return data;
  }

  std::uint32_t Option(std::int32_t model, std::int32_t shape) {
    std::int32_t option = -1;
    EXPECT_EQ(Entry<decltype(Kxi_GetShapeOption)>("Kxi_GetShapeOption")(model, shape, &option), 0);
    return static_cast<std::uint32_t>(option);
  }

  HMODULE module;
};

}  // namespace kx::hostkit::test_support
