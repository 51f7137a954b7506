#include "hostkit/gfxcaps/device_acceptability.h"

#include <gtest/gtest.h>

#include "hostkit/gfxcaps/graphics_fakes.h"

namespace kx::hostkit {
namespace {

using namespace d3dformat;
using test::PixelShader;

class DeviceAcceptabilityTest : public ::testing::Test {
 protected:
  test::Events events;
  test::FakeDirect3D d3d{events};
};

TEST_F(DeviceAcceptabilityTest, MultiSampleLevelFollowsTheFewestSupportedSamples) {
  d3d.multisample = {{kX8R8G8B8, 4}, {kX8R8G8B8, 8}};
  EXPECT_EQ(AvailableMultiSampleLevel(d3d), 3);
  d3d.multisample = {{kX8R8G8B8, 8}};
  EXPECT_EQ(AvailableMultiSampleLevel(d3d), 2);
  d3d.multisample = {{kR5G6B5, 16}};  // any of the three surface formats counts
  EXPECT_EQ(AvailableMultiSampleLevel(d3d), 1);
  d3d.multisample = {{kX1R5G5B5, 5}, {kR5G6B5, 12}};
  EXPECT_EQ(AvailableMultiSampleLevel(d3d), 2);
  d3d.multisample = {{kX8R8G8B8, 1}};  // the non-maskable type is not in the table
  EXPECT_EQ(AvailableMultiSampleLevel(d3d), 0);
  d3d.multisample = {};
  EXPECT_EQ(AvailableMultiSampleLevel(d3d), 0);
  d3d.multisample = {{kX8R8G8B8, 2}};
  d3d.available = false;
  EXPECT_EQ(AvailableMultiSampleLevel(d3d), 0);
  EXPECT_EQ(d3d.live, 0);
}

TEST_F(DeviceAcceptabilityTest, MultiSampleAsksEveryRowOfEveryFormatInOrder) {
  d3d.multisample = {{kX8R8G8B8, 2}};  // the best level is known at once, yet all are asked
  EXPECT_EQ(AvailableMultiSampleLevel(d3d), 3);
  ASSERT_EQ(d3d.queries.size(), 48u);
  EXPECT_EQ(d3d.queries[0], "ms 22/0");
  EXPECT_EQ(d3d.queries[1], "ms 22/2");
  EXPECT_EQ(d3d.queries[15], "ms 22/16");
  EXPECT_EQ(d3d.queries[16], "ms 23/0");
  EXPECT_EQ(d3d.queries[47], "ms 24/16");
  EXPECT_EQ(d3d.opens, 1);
  EXPECT_EQ(d3d.live, 0);
}

TEST_F(DeviceAcceptabilityTest, PixelShader2WithHalfFloatTexturesOnly) {
  d3d.pixel_shader = PixelShader(2);
  d3d.AllowTexture(kR16F);
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectXShader, kMaskShadowMap), 1);
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectXShader, kMaskPhong), 0);
  EXPECT_EQ(ConformDevice(d3d, kLibraryDirectXShader), 0);
  // The formats are tried richest first, up to the first that works.
  d3d.queries.clear();
  EXPECT_TRUE(PassesShaderTest(d3d, kLibraryDirectXShader, 2, true));
  EXPECT_EQ(d3d.queries,
            (std::vector<std::string>{"texture 22/114", "texture 22/115", "texture 22/111"}));
}

TEST_F(DeviceAcceptabilityTest, PixelShader3WithoutFloatTextures) {
  d3d.pixel_shader = PixelShader(3);
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectXShader, kMaskShadowMap), 0);
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectXShader, kMaskPhong), 1);
  EXPECT_EQ(ConformDevice(d3d, kLibraryDirectXShader), 1);
  EXPECT_EQ(d3d.queries.size(), 4u);  // all four formats were tried
}

TEST_F(DeviceAcceptabilityTest, TexturesAreCheckedAgainstTheCurrentDisplayFormat) {
  d3d.AllowTexture(kR32F, kX8R8G8B8);
  d3d.display_format = kR5G6B5;
  EXPECT_FALSE(PassesShaderTest(d3d, kLibraryDirectXShader, 2, true));
  d3d.AllowTexture(kG16R16F, kR5G6B5);
  EXPECT_TRUE(PassesShaderTest(d3d, kLibraryDirectXShader, 2, true));
  d3d.display_format.reset();  // the display mode cannot be read
  EXPECT_FALSE(PassesShaderTest(d3d, kLibraryDirectXShader, 2, true));
  EXPECT_TRUE(PassesShaderTest(d3d, kLibraryDirectXShader, 2, false));
}

TEST_F(DeviceAcceptabilityTest, PixelShaderVersionComparedInThePlatformEncoding) {
  d3d.AllowTexture(kR32F);
  d3d.pixel_shader = PixelShader(1, 4);
  EXPECT_FALSE(PassesShaderTest(d3d, kLibraryDirectXShader, 2, false));
  d3d.pixel_shader = PixelShader(2, 0xFF);  // 2.x passes for 2, not for 3
  EXPECT_TRUE(PassesShaderTest(d3d, kLibraryDirectXShader, 2, false));
  EXPECT_FALSE(PassesShaderTest(d3d, kLibraryDirectXShader, 3, false));
  d3d.pixel_shader = PixelShader(3, 0);
  EXPECT_TRUE(PassesShaderTest(d3d, kLibraryDirectXShader, 3, false));
  d3d.pixel_shader = 0x0300;  // no shader-type marker: below every version
  EXPECT_FALSE(PassesShaderTest(d3d, kLibraryDirectXShader, 2, false));
  d3d.pixel_shader.reset();  // capabilities cannot be read
  EXPECT_FALSE(PassesShaderTest(d3d, kLibraryDirectXShader, 2, false));
  EXPECT_EQ(d3d.live, 0);
}

TEST_F(DeviceAcceptabilityTest, OnlyTheShaderLibraryIsExamined) {
  d3d.available = false;
  d3d.pixel_shader = PixelShader(1);
  // OpenGL never examines multisampling; the other libraries pass the shader tests.
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryOpenGL, kMaskAntiAlias), 1);
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectX, kMaskPhong | kMaskShadowMap), 1);
  EXPECT_EQ(ConformDevice(d3d, kLibraryOpenGL), 1);
  EXPECT_EQ(ConformDevice(d3d, kLibraryDirectX), 1);
  EXPECT_EQ(ConformDevice(d3d, 0), 1);
  EXPECT_EQ(d3d.opens, 0);
  // Without Direct3D 9 the shader library is refused.
  EXPECT_EQ(ConformDevice(d3d, kLibraryDirectXShader), 0);
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectXShader, kMaskPhong), 0);
}

TEST_F(DeviceAcceptabilityTest, DirectXLibraryAntiAliasingDependsOnTheMultiSampleLevel) {
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectX, kMaskAntiAlias), 0);
  d3d.multisample = {{kX8R8G8B8, 4}};
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectX, 0x0100), 1);  // any bit of the mask
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectX, 0x0800), 1);
}

TEST_F(DeviceAcceptabilityTest, EveryNamedFeatureMustPassEachWithItsOwnDirect3D) {
  d3d.multisample = {{kX8R8G8B8, 4}};
  d3d.AllowTexture(kR32F);
  const std::uint32_t all = kMaskAntiAlias | kMaskShadowMap | kMaskPhong;
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectXShader, all), 1);
  EXPECT_EQ(d3d.opens, 3);
  EXPECT_EQ(d3d.live, 0);
  d3d.multisample.clear();
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectXShader, all), 0);
  d3d.multisample = {{kX8R8G8B8, 4}};
  d3d.pixel_shader = PixelShader(2);
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectXShader, all), 0);
}

TEST_F(DeviceAcceptabilityTest, AMaskWithoutFeatureBitsIsAcceptable) {
  d3d.available = false;
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectXShader, 0), 1);
  EXPECT_EQ(ConformDeviceEx(d3d, kLibraryDirectXShader, 0x20 | 0x2 | 0x30000), 1);
  EXPECT_EQ(d3d.opens, 0);
}

TEST_F(DeviceAcceptabilityTest, OneHeldObjectAnswersAsTheProbeDoes) {
  struct Machine {
    std::uint32_t pixel_shader;
    std::uint32_t texture;  // 0: no floating-point texture
    std::uint32_t samples;  // 0: no multisampling
  };
  const Machine machines[] = {{PixelShader(3), kR32F, 4},
                              {PixelShader(2), kR16F, 8},
                              {PixelShader(3), 0, 16},
                              {PixelShader(1, 4), kG32R32F, 0}};
  for (const Machine& m : machines) {
    d3d.pixel_shader = m.pixel_shader;
    d3d.textures.clear();
    if (m.texture != 0) d3d.AllowTexture(m.texture);
    d3d.multisample.clear();
    if (m.samples != 0) d3d.multisample = {{kX8R8G8B8, m.samples}};
    for (std::int32_t code : {kLibraryOpenGL, kLibraryDirectX, kLibraryDirectXShader}) {
      for (std::uint32_t mask : {0u, kMaskAntiAlias, kMaskShadowMap, kMaskPhong, 0x201100u}) {
        const std::unique_ptr<Direct3DAdapter> held = d3d.Open();
        EXPECT_EQ(ConformDeviceEx(held.get(), code, mask), ConformDeviceEx(d3d, code, mask))
            << m.pixel_shader << " " << m.texture << " " << m.samples << " code " << code
            << " mask " << mask;
      }
    }
    const std::unique_ptr<Direct3DAdapter> held = d3d.Open();
    EXPECT_EQ(AvailableMultiSampleLevel(held.get()), AvailableMultiSampleLevel(d3d));
  }
  EXPECT_EQ(d3d.live, 0);
}

TEST_F(DeviceAcceptabilityTest, NoHeldObjectIsNoDirect3D) {
  EXPECT_EQ(AvailableMultiSampleLevel(nullptr), 0);
  EXPECT_FALSE(PassesShaderTest(nullptr, kLibraryDirectXShader, 2, true));
  EXPECT_TRUE(PassesShaderTest(nullptr, kLibraryDirectX, 3, false));
  EXPECT_EQ(ConformDeviceEx(nullptr, kLibraryDirectXShader, kMaskAntiAlias), 0);
  EXPECT_EQ(ConformDeviceEx(nullptr, kLibraryDirectXShader, 0), 1);
  EXPECT_EQ(ConformDeviceEx(nullptr, kLibraryOpenGL, kMaskAntiAlias), 1);
}

}  // namespace
}  // namespace kx::hostkit
