#include <gtest/gtest.h>

#include "fitcheck/core/kx_env.h"
#include "tests/fakes/fake_graphics.h"
#include "tests/fakes/fake_system_info.h"
#include "tests/fakes/memory_log.h"

namespace kx {
namespace {

using Strings = std::vector<std::string>;

class TestPlanTest : public ::testing::Test {
 protected:
  test::FakeSystemInfo system;
  test::FakeGraphics graphics;
  test::MemoryLog log;
  std::string version = "3";

  // The letters of the entries tried, in order, as NextOption yields them.
  std::string Walk(CKxEnv& env) {
    std::string letters;
    KxGLOption option;
    while (env.NextOption(option)) letters += option.BmpFile.substr(4, 1);
    return letters;
  }
  std::string Sequence(GlSpec spec, std::int32_t result = 0) {
    graphics.spec = spec;
    graphics.result = result;
    CKxEnv env({system, graphics, log.writer}, "ZT", version, "C:\\App\\");
    EXPECT_TRUE(env.CheckGLEnv());
    return Walk(env);
  }
};

GlSpec Caps(int directx, int directx9c, int anti_alias, int phong, int phong_check = 1) {
  GlSpec s;
  s.DirectX = s.DirectXCapable = directx;
  s.DirectX9c = s.DirectX9cCapable = directx9c;
  s.AntiAliasAcceptable = anti_alias;
  s.ShadowMapAcceptable = directx9c;
  s.PhongShadingAcceptable = phong;
  s.PhongCheck = phong_check;
  s.VideoMemory = 128.0;
  return s;
}

TEST_F(TestPlanTest, CandidateSequencesByCapability) {
  EXPECT_EQ(Sequence(Caps(0, 0, 1, 1)), "IJ");
  EXPECT_EQ(Sequence(Caps(1, 1, 1, 1), -1), "IJ");  // lookup failed
  EXPECT_EQ(Sequence(Caps(1, 0, 1, 1)), "DHIJ");
  EXPECT_EQ(Sequence(Caps(1, 0, 0, 1)), "HIJ");
  EXPECT_EQ(Sequence(Caps(1, 1, 1, 1)), "ABCDEFGHIJ");
  EXPECT_EQ(Sequence(Caps(1, 1, 1, 0)), "BDFHIJ");
  EXPECT_EQ(Sequence(Caps(1, 1, 0, 1)), "EFGHIJ");
  EXPECT_EQ(Sequence(Caps(1, 1, 0, 0)), "FHIJ");
  // Phong acceptable but not to be checked.
  EXPECT_EQ(Sequence(Caps(1, 1, 1, 1, 0)), "BDFHIJ");
}

TEST_F(TestPlanTest, CountAndTheEndOfThePlan) {
  graphics.spec = Caps(1, 0, 0, 0);
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "C:\\App\\");
  EXPECT_EQ(env.CountEnabled(), 0);
  EXPECT_EQ(env.CurrentIndex(), -1);
  env.CheckGLEnv();
  EXPECT_EQ(env.CountEnabled(), 3);
  KxGLOption option;
  ASSERT_TRUE(env.NextOption(option));
  EXPECT_EQ(option.BmpFile, "testH.bmp");
  EXPECT_TRUE(option.DirectX && option.NoOpenGLAcc && option.Enabled);
  EXPECT_EQ(env.CurrentIndex(), 7);
  ASSERT_TRUE(env.NextOption(option));
  ASSERT_TRUE(env.NextOption(option));
  EXPECT_EQ(option.BmpFile, "testJ.bmp");
  option.BmpFile = "untouched";
  EXPECT_FALSE(env.NextOption(option));
  EXPECT_EQ(env.CurrentIndex(), 9);
  EXPECT_EQ(option.BmpFile, "untouched");
}

TEST_F(TestPlanTest, LookupArgumentsAndLogLines) {
  graphics.spec = Caps(1, 1, 1, 0);
  graphics.spec.VideoMemory = 512.0;
  graphics.chip = "Radeon X1600";
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "C:\\App\\");
  env.CheckGLEnv();
  EXPECT_EQ(graphics.spec_calls, Strings{"C:\\App\\|1"});
  EXPECT_EQ(log.Messages(), (Strings{"KxEnv::CheckGLEnv 開始", "ビデオメモリ:512 チップタイプ:Radeon X1600",
                                     "AntiAliasAceeptable:1 ShadowMapAceeptable:1 PhongShadingAceeptable:0",
                                     "DirectX = 1 DirectX9c = 1", "KxEnv::CheckGLEnv 終了"}));
  EXPECT_EQ(env.VideoMemory(), 512.0);
  EXPECT_EQ(env.ChipType(), "Radeon X1600");
  EXPECT_EQ(env.AntiAliasAcceptable(), 1);
  EXPECT_EQ(env.PhongShadingAcceptable(), 0);
}

TEST_F(TestPlanTest, FailedLookupLogsNoCapabilities) {
  graphics.result = -1;
  CKxEnv env({system, graphics, log.writer}, "ZT", "2", "C:\\App\\");
  env.CheckGLEnv();
  EXPECT_EQ(graphics.spec_calls, Strings{"C:\\App\\|0"});  // older generation: mode 0
  EXPECT_EQ(log.Messages(), (Strings{"KxEnv::CheckGLEnv 開始", "KxEnv::CheckGLEnv 終了"}));
  EXPECT_EQ(env.VideoMemory(), -1.0);
  EXPECT_EQ(env.ChipType(), "");
}

TEST(KxGLOptionTest, TheTenEntriesFieldByField) {
  test::FakeSystemInfo system;
  test::FakeGraphics graphics;
  test::MemoryLog log;
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "");
  struct Row {
    bool directx, anti_alias, shadow, phong, no_opengl_acc;
    const char* bmp;
  };
  const Row rows[] = {
      {1, 1, 1, 1, 1, "testA.bmp"}, {1, 1, 1, 0, 1, "testB.bmp"}, {1, 1, 0, 1, 1, "testC.bmp"},
      {1, 1, 0, 0, 1, "testD.bmp"}, {1, 0, 1, 1, 1, "testE.bmp"}, {1, 0, 1, 0, 1, "testF.bmp"},
      {1, 0, 0, 1, 1, "testG.bmp"}, {1, 0, 0, 0, 1, "testH.bmp"}, {0, 0, 0, 0, 0, "testI.bmp"},
      {0, 0, 0, 0, 1, "testJ.bmp"},
  };
  const std::vector<KxGLOption>& plan = env.TestPlan();
  ASSERT_EQ(plan.size(), std::size(rows));
  for (std::size_t n = 0; n < plan.size(); ++n) {
    const KxGLOption& o = plan[n];
    const Row& r = rows[n];
    EXPECT_EQ(o.DirectX, r.directx) << r.bmp;
    EXPECT_EQ(o.AntiAlias, r.anti_alias) << r.bmp;
    EXPECT_EQ(o.Shadow, r.shadow) << r.bmp;
    EXPECT_EQ(o.Phong, r.phong) << r.bmp;
    EXPECT_EQ(o.NoOpenGLAcc, r.no_opengl_acc) << r.bmp;
    EXPECT_FALSE(o.Enabled) << r.bmp;  // until the capabilities are known
    EXPECT_EQ(o.BmpFile, r.bmp);
  }
}

TEST(KxGLOptionTest, LibraryCodes) {
  test::FakeSystemInfo system;
  test::FakeGraphics graphics;
  test::MemoryLog log;
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "");
  std::string codes;
  for (const KxGLOption& option : env.TestPlan()) codes += std::to_string(GraphicLibraryCode(option));
  EXPECT_EQ(codes, "3332333211");  // A..J
}

TEST(KxGLOptionTest, DescriptionsForTheTest) {
  const KxGLOption b{true, true, true, false, true, true, "testB.bmp"};
  EXPECT_EQ(DescribeForTest(b, true),
            "設定内容(参考):\rDirectX、アンチエイリアスOn、影On、フォンシェーディングOff");
  EXPECT_EQ(DescribeForTest(b, false), "設定内容(参考):\rDirectX、影On、フォンシェーディングOff");
  const KxGLOption i{false, false, false, false, false, true, "testI.bmp"};
  const KxGLOption j{false, false, false, false, true, true, "testJ.bmp"};
  EXPECT_EQ(DescribeForTest(i, true), "設定内容(参考):\rOpenGL、アクセラレータOn");
  EXPECT_EQ(DescribeForTest(j, true), "設定内容(参考):\rOpenGL、アクセラレータOff");
  // OpenGL ignores the DirectX-only flags.
  const KxGLOption odd{false, true, true, true, true, true, ""};
  EXPECT_EQ(DescribeForTest(odd, true), "設定内容(参考):\rOpenGL、アクセラレータOff");
}

TEST(KxGLOptionTest, DescriptionsOfTheResult) {
  const std::string heading = "正常動作したグラフィックスドライバの設定:";
  const KxGLOption c{true, true, false, true, true, true, "testC.bmp"};
  const KxGLOption f{true, false, true, false, true, true, "testF.bmp"};
  const KxGLOption i{false, false, false, false, false, true, "testI.bmp"};
  const KxGLOption j{false, false, false, false, true, true, "testJ.bmp"};
  struct Row {
    const KxGLOption* option;
    bool new_generation;
    const char* settings;  // after the heading and its CR
  };
  const Row rows[] = {
      {&c, true, "DirectX\r　・アンチエイリアスを有効\r　・影を落とさない\r　・フォンシェーディングを有効"},
      {&c, false, "DirectX\r　・影を落とさない\r　・フォンシェーディングを有効"},
      {&f, true, "DirectX\r　・アンチエイリアスを無効\r　・影を落とす\r　・フォンシェーディングを無効"},
      {&j, true, "OpenGL\r　・アクセラレータを無効"},
      {&i, false, "OpenGL\r　・アクセラレータを有効"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DescribeResult(*row.option, row.new_generation, heading), heading + "\r" + row.settings)
        << row.option->BmpFile << " " << row.new_generation;
  }
  // The heading is the caller's text, whatever it holds.
  EXPECT_EQ(DescribeResult(j, true, "見出し"), "見出し\rOpenGL\r　・アクセラレータを無効");
}

}  // namespace
}  // namespace kx
