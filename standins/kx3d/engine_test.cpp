#include "standins/kx3d/engine.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/fakes/memory_file_system.h"

namespace kx::kx3d {
namespace {

constexpr WindowId kWindow = 0x1234;
constexpr char kSettings[] = "kx3d_standin.ini";

// Keeps count of what the engine holds, so that tests can see it release
// everything it took.
struct Ledger {
  int views = 0, devices = 0;
  int views_ever = 0, devices_ever = 0;
  std::vector<DrawFeatures> created;
  std::vector<std::pair<int, int>> sizes;  // creations and resizes
  std::vector<Scene> rendered;
  int shown = 0;
  bool fail_create = false;
  bool fail_render = false;
  std::pair<int, int> client{320, 320};
};

class FakeView final : public ViewWindow {
 public:
  explicit FakeView(Ledger& l) : l_(l) { ++l_.views, ++l_.views_ever; }
  ~FakeView() override { --l_.views; }
  bool ClientSize(int* w, int* h) noexcept override {
    *w = l_.client.first;
    *h = l_.client.second;
    return true;
  }
  void Show(const FrameImage&) noexcept override { ++l_.shown; }

 private:
  Ledger& l_;
};

class FakeDevice final : public DrawingDevice {
 public:
  FakeDevice(Ledger& l, const DrawFeatures& f, int w, int h) : l_(l), w_(w), h_(h) {
    ++l_.devices, ++l_.devices_ever;
    l_.created.push_back(f);
    l_.sizes.emplace_back(w, h);
  }
  ~FakeDevice() override { --l_.devices; }
  bool Resize(int w, int h) noexcept override {
    w_ = w, h_ = h;
    l_.sizes.emplace_back(w, h);
    return true;
  }
  bool Render(const Scene& scene, FrameImage* frame) noexcept override {
    if (l_.fail_render) return false;
    l_.rendered.push_back(scene);
    *frame = FrameImage(w_, h_);
    return true;
  }
  DrawingInfo Describe() const noexcept override {
    DrawingInfo info;
    info.width = w_;
    info.height = h_;
    return info;
  }

 private:
  Ledger& l_;
  int w_, h_;
};

class FakePlatform final : public GraphicsPlatform {
 public:
  explicit FakePlatform(Ledger& l) : l_(l) {}
  std::unique_ptr<ViewWindow> AttachView(WindowId window) noexcept override {
    if (window != kWindow) return nullptr;
    return std::make_unique<FakeView>(l_);
  }
  std::unique_ptr<DrawingDevice> CreateDevice(const DrawFeatures& f, int w,
                                              int h) noexcept override {
    if (l_.fail_create) return nullptr;
    return std::make_unique<FakeDevice>(l_, f, w, h);
  }

 private:
  Ledger& l_;
};

class FakeFiles final : public EngineFiles {
 public:
  std::map<std::string, std::string> files;
  test::MemoryProfileStore settings;
  std::optional<std::string> ReadFile(const std::string& path) noexcept override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  FailureSwitch ReadFailureSwitch() noexcept override {
    return FailureSwitch::Read(settings, kSettings);
  }
};

Model Triangle() {
  Model m;
  Part p;
  p.name = "t";
  p.vertices = {{{0, 0, 0}, {0, 0, 1}}, {{2, 0, 0}, {0, 0, 1}}, {{0, 3, 1}, {0, 0, 1}}};
  p.indices = {0, 1, 2};
  m.parts.push_back(p);
  return m;
}

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() {
    files_.files["C:\\data\\test.q3d"] = *EncodeModel(Triangle());
    files_.files["C:\\data\\garbage.q3d"] = std::string(100, '\x7f');
  }
  void FailAt(const char* step, const char* call = nullptr) {
    files_.settings.Set(kSettings, "Failure", "Step", step);
    if (call) files_.settings.Set(kSettings, "Failure", "Call", call);
  }
  std::int32_t Header(const std::string& path) {
    HeaderValues values;
    return engine_.ReadModelHeader(path, &values);
  }

  Ledger ledger_;
  FakePlatform platform_{ledger_};
  FakeFiles files_;
  Engine engine_{platform_, files_};
};

// The viewer's own order of calls: start, set up, fit; then open the model
// with a second set-up between its header and its body.
TEST_F(EngineTest, ViewerSequenceDrawsTheModelAfterTheSecondSetup) {
  ASSERT_EQ(engine_.Initialize(), 0);
  EXPECT_EQ(engine_.SetEnvironment(5, 1), 0);
  EXPECT_EQ(engine_.SetEnvironmentEx(0x10002, 120), 0);
  EXPECT_EQ(engine_.ForceRgbPixelFormat(0), 0);
  ASSERT_EQ(engine_.InitDraw(kWindow, 0x203020, 3), 0);
  ASSERT_EQ(engine_.ConfirmDraw(), 0);
  EXPECT_EQ(engine_.FitView(320, 320), 0);
  EXPECT_EQ(engine_.Redraw(), 0);
  EXPECT_EQ(ledger_.rendered.back().model, nullptr);

  EXPECT_EQ(engine_.Initialize(), 0);  // again, as the viewer does before opening
  EXPECT_EQ(ledger_.devices, 1);       // ... which keeps the drawing
  EXPECT_EQ(engine_.RegisterFolder("C:\\data\\"), 0);
  HeaderValues values;
  const std::int32_t handle = engine_.ReadModelHeader("C:\\data\\test.q3d", &values);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(values.version, 1);
  EXPECT_EQ(values.parts, 1);
  EXPECT_EQ(values.triangles, 1);

  EXPECT_EQ(engine_.EndDraw(), 0);
  EXPECT_EQ(ledger_.devices, 0);
  ASSERT_EQ(engine_.InitDraw(kWindow, 0x203020, 3), 0);
  ASSERT_EQ(engine_.ConfirmDraw(), 0);
  std::string message;
  std::int32_t triangles = 0;
  EXPECT_EQ(engine_.ReadModelFile("C:\\data\\test.q3d", handle, &message, &triangles), 0);
  EXPECT_EQ(triangles, 1);
  EXPECT_EQ(message, "KQ3D model: 1 parts, 1 triangles");
  EXPECT_EQ(engine_.FinishRead(), 0);
  EXPECT_EQ(engine_.FinishRead(), 0);
  EXPECT_EQ(engine_.FitView(320, 320), 0);
  EXPECT_EQ(engine_.Redraw(), 0);

  const Scene& scene = ledger_.rendered.back();
  ASSERT_NE(scene.model, nullptr);
  EXPECT_EQ(scene.model->TriangleCount(), 1u);
  EXPECT_FLOAT_EQ(scene.bounds.max.y, 3);
  EXPECT_EQ(ledger_.shown, 2);
  EXPECT_EQ(ledger_.devices_ever, 2);
  ASSERT_EQ(ledger_.created.size(), 2u);
  EXPECT_EQ(ledger_.created[1].shadow_map_level, 3);
  EXPECT_TRUE(ledger_.created[1].phong);
}

TEST_F(EngineTest, TerminateReleasesEverythingAndTheEngineStartsAgain) {
  ASSERT_EQ(engine_.Initialize(), 0);
  ASSERT_EQ(engine_.InitDraw(kWindow, 0x20, 2), 0);
  ASSERT_GE(Header("C:\\data\\test.q3d"), 0);
  EXPECT_EQ(engine_.Terminate(), 0);
  EXPECT_EQ(ledger_.devices, 0);
  EXPECT_EQ(ledger_.views, 0);
  EXPECT_FALSE(engine_.started());
  EXPECT_EQ(engine_.EndDraw(), 0);  // the viewer ends drawing after terminating
  EXPECT_EQ(engine_.Redraw(), kNotReady);

  ASSERT_EQ(engine_.Initialize(), 0);
  ASSERT_EQ(engine_.InitDraw(kWindow, 0x20, 2), 0);
  EXPECT_EQ(engine_.ConfirmDraw(), 0);
  EXPECT_EQ(engine_.Redraw(), 0);
  EXPECT_EQ(ledger_.rendered.back().model, nullptr);  // the old model is gone
}

TEST_F(EngineTest, SecondSetupEndsTheFirstBeforeCreatingAnother) {
  ASSERT_EQ(engine_.Initialize(), 0);
  ASSERT_EQ(engine_.InitDraw(kWindow, 0x20, 2), 0);
  ASSERT_EQ(engine_.InitDraw(kWindow, 0x2, 1), 0);
  EXPECT_EQ(ledger_.devices, 1);
  EXPECT_EQ(ledger_.views, 1);
  EXPECT_EQ(ledger_.created.back().library, GraphicsLibrary::kOpenGL);
}

TEST_F(EngineTest, SetupFailuresReportMinus1200) {
  EXPECT_EQ(engine_.InitDraw(kWindow, 0x20, 2), kSetupFailed);  // not started
  EXPECT_EQ(engine_.ConfirmDraw(), kSetupFailed);
  ASSERT_EQ(engine_.Initialize(), 0);
  EXPECT_EQ(engine_.InitDraw(0x999, 0x20, 2), kSetupFailed);    // not a window
  EXPECT_EQ(engine_.InitDraw(kWindow, 0x20, 7), kSetupFailed);  // no such library
  ledger_.fail_create = true;
  EXPECT_EQ(engine_.InitDraw(kWindow, 0x20, 2), kSetupFailed);
  EXPECT_EQ(engine_.ConfirmDraw(), kSetupFailed);
  EXPECT_EQ(engine_.Redraw(), kNotReady);
  EXPECT_EQ(engine_.FitView(320, 320), kNotReady);
  EXPECT_EQ(ledger_.views, 0);  // the window taken for the failed set-up is given back
}

TEST_F(EngineTest, AFailedSetupEndsTheOneBefore) {
  ASSERT_EQ(engine_.Initialize(), 0);
  ASSERT_EQ(engine_.InitDraw(kWindow, 0x20, 2), 0);
  ledger_.fail_create = true;
  EXPECT_EQ(engine_.InitDraw(kWindow, 0x20, 2), kSetupFailed);
  EXPECT_EQ(ledger_.devices, 0);
  EXPECT_EQ(engine_.Redraw(), kNotReady);
}

TEST_F(EngineTest, ForcedRgbReachesTheOpenGlSetup) {
  ASSERT_EQ(engine_.Initialize(), 0);
  engine_.ForceRgbPixelFormat(1);
  ASSERT_EQ(engine_.InitDraw(kWindow, 0x2, 1), 0);
  EXPECT_TRUE(ledger_.created.back().rgb_pixel_format);
  EXPECT_TRUE(ledger_.created.back().generic_pixel_format);
}

TEST_F(EngineTest, FitViewResizesTheSurface) {
  ledger_.client = {0, 0};  // a window not laid out yet
  ASSERT_EQ(engine_.Initialize(), 0);
  ASSERT_EQ(engine_.InitDraw(kWindow, 0x20, 2), 0);
  EXPECT_EQ(ledger_.sizes.back(), std::make_pair(1, 1));
  EXPECT_EQ(engine_.FitView(400, 300), 0);
  EXPECT_EQ(ledger_.sizes.back(), std::make_pair(400, 300));
  EXPECT_EQ(engine_.FitView(0, 300), kNotReady);
  EXPECT_EQ(ledger_.sizes.back(), std::make_pair(400, 300));
  FrameImage frame;
  ASSERT_EQ(engine_.ReadFrame(&frame), 0);
  EXPECT_EQ(frame.width, 400);
  EXPECT_EQ(frame.height, 300);
}

TEST_F(EngineTest, ReadFrameLeavesTheFrameAloneOnFailure) {
  FrameImage frame(2, 2);
  EXPECT_EQ(engine_.ReadFrame(&frame), kNotReady);
  ASSERT_EQ(engine_.Initialize(), 0);
  ASSERT_EQ(engine_.InitDraw(kWindow, 0x20, 2), 0);
  ledger_.fail_render = true;
  EXPECT_EQ(engine_.ReadFrame(&frame), kNotReady);
  EXPECT_EQ(frame.width, 2);
  EXPECT_EQ(ledger_.shown, 0);
}

TEST_F(EngineTest, MissingOrGarbageModelsGiveNegativeHandles) {
  EXPECT_LT(Header("C:\\data\\test.q3d"), 0);  // not started
  ASSERT_EQ(engine_.Initialize(), 0);
  EXPECT_LT(Header("C:\\data\\missing.q3d"), 0);
  EXPECT_LT(Header("C:\\data\\garbage.q3d"), 0);
  EXPECT_LT(Header(""), 0);
  HeaderValues values;
  values.parts = 77;
  EXPECT_LT(engine_.ReadModelHeader("C:\\data\\garbage.q3d", &values), 0);
  EXPECT_EQ(values.parts, 77);
}

TEST_F(EngineTest, ModelBodyNeedsTheHandleOfItsHeader) {
  ASSERT_EQ(engine_.Initialize(), 0);
  const std::int32_t handle = Header("C:\\data\\test.q3d");
  ASSERT_GE(handle, 0);
  std::string message;
  std::int32_t triangles = -5;
  EXPECT_EQ(engine_.ReadModelFile("C:\\data\\test.q3d", handle + 1, &message, &triangles),
            kNotReady);
  EXPECT_EQ(triangles, -5);
  EXPECT_FALSE(message.empty());
  engine_.FinishRead();
  EXPECT_EQ(engine_.ReadModelFile("C:\\data\\test.q3d", handle, &message, &triangles), kNotReady);
  // A new header gives a new handle.
  const std::int32_t next = Header("C:\\data\\test.q3d");
  EXPECT_NE(next, handle);
  EXPECT_EQ(engine_.ReadModelFile("C:\\data\\test.q3d", next, &message, &triangles), 0);
}

TEST_F(EngineTest, DamagedBodyIsReportedAndTheOldModelStays) {
  ASSERT_EQ(engine_.Initialize(), 0);
  ASSERT_EQ(engine_.InitDraw(kWindow, 0x20, 2), 0);
  std::string message;
  std::int32_t triangles = 0;
  ASSERT_EQ(engine_.ReadModelFile("", Header("C:\\data\\test.q3d"), &message, &triangles), 0);
  std::string damaged = files_.files["C:\\data\\test.q3d"];
  damaged[damaged.size() - 1] ^= 0x40;
  files_.files["C:\\data\\damaged.q3d"] = damaged;
  const std::int32_t handle = Header("C:\\data\\damaged.q3d");
  ASSERT_GE(handle, 0);  // the header alone is fine
  EXPECT_EQ(engine_.ReadModelFile("C:\\data\\damaged.q3d", handle, &message, &triangles),
            static_cast<std::int32_t>(ModelError::kChecksum));
  EXPECT_NE(message.find("checksum"), std::string::npos);
  ASSERT_EQ(engine_.Redraw(), 0);
  ASSERT_NE(ledger_.rendered.back().model, nullptr);
}

TEST_F(EngineTest, RelativeModelPathsAreLookedForInRegisteredFolders) {
  ASSERT_EQ(engine_.Initialize(), 0);
  EXPECT_LT(Header("test.q3d"), 0);
  engine_.RegisterFolder("C:\\elsewhere\\");
  engine_.RegisterFolder("C:\\data");
  const std::int32_t handle = Header("test.q3d");
  ASSERT_GE(handle, 0);
  std::string message;
  std::int32_t triangles = 0;
  EXPECT_EQ(engine_.ReadModelFile("test.q3d", handle, &message, &triangles), 0);
  engine_.Terminate();
  ASSERT_EQ(engine_.Initialize(), 0);
  EXPECT_LT(Header("test.q3d"), 0);  // folders are forgotten at the end
}

TEST_F(EngineTest, FailureSwitchAtEachStep) {
  {
    FailAt("Kxi_Initialize");
    EXPECT_NE(engine_.Initialize(), 0);
    EXPECT_FALSE(engine_.started());
  }
  {
    FailAt("Kxi_InitDrawEx");
    ASSERT_EQ(engine_.Initialize(), 0);
    EXPECT_EQ(engine_.InitDraw(kWindow, 0x20, 2), kSetupFailed);
    EXPECT_EQ(ledger_.devices_ever, 0);
    engine_.Terminate();
  }
  {
    FailAt("Kxi_ConfirmDraw");
    ASSERT_EQ(engine_.Initialize(), 0);
    EXPECT_EQ(engine_.InitDraw(kWindow, 0x20, 2), 0);
    EXPECT_EQ(engine_.ConfirmDraw(), kSetupFailed);
    engine_.Terminate();
  }
  {
    FailAt("Kxi_ReadModelHeader");
    ASSERT_EQ(engine_.Initialize(), 0);
    EXPECT_LT(Header("C:\\data\\test.q3d"), 0);
    engine_.Terminate();
  }
  {
    FailAt("Kxi_ReadModelFile");
    ASSERT_EQ(engine_.Initialize(), 0);
    std::string message;
    std::int32_t triangles = 0;
    EXPECT_LT(engine_.ReadModelFile("", Header("C:\\data\\test.q3d"), &message, &triangles), 0);
    engine_.Terminate();
  }
}

TEST_F(EngineTest, FailureSwitchCountsCallsFromTheStart) {
  // The second set-up fails: the viewer's model-opening one.
  FailAt("Kxi_InitDrawEx", "2");
  ASSERT_EQ(engine_.Initialize(), 0);
  EXPECT_EQ(engine_.InitDraw(kWindow, 0x20, 2), 0);
  EXPECT_EQ(engine_.InitDraw(kWindow, 0x20, 2), kSetupFailed);
  EXPECT_EQ(engine_.InitDraw(kWindow, 0x20, 2), 0);
  // The switch is read afresh at the next start, and counting starts over.
  engine_.Terminate();
  ASSERT_EQ(engine_.Initialize(), 0);
  EXPECT_EQ(engine_.InitDraw(kWindow, 0x20, 2), 0);
  EXPECT_EQ(engine_.InitDraw(kWindow, 0x20, 2), kSetupFailed);
}

TEST_F(EngineTest, SecondInitializeCanFailWithoutStoppingTheEngine) {
  FailAt("Kxi_Initialize", "2");
  ASSERT_EQ(engine_.Initialize(), 0);
  ASSERT_EQ(engine_.InitDraw(kWindow, 0x20, 2), 0);
  EXPECT_NE(engine_.Initialize(), 0);
  EXPECT_TRUE(engine_.started());
  EXPECT_EQ(engine_.Redraw(), 0);
}

}  // namespace
}  // namespace kx::kx3d

namespace kx::kx3d {
namespace {

TEST_F(EngineTest, TheModelReadLastBringsItsPartsAndABadSectionKeepsTheOldOnes) {
  ASSERT_EQ(engine_.Initialize(), 0);
  EXPECT_EQ(engine_.parts().ChildCount(0), 0);  // just the root before any model
  PartsModel parts;
  parts.attributes.push_back({1, "Chair", "Maker"});
  parts.models.push_back({0, {}});
  parts.AddPart(0, 0);
  parts.AddPart(1, -1);
  files_.files["C:\\data\\parts.q3d"] = *EncodeModel(Triangle()) + parts.Encode();
  files_.files["C:\\data\\bad parts.q3d"] = *EncodeModel(Triangle()) + "KQPT junk";

  std::string message;
  std::int32_t triangles = 0;
  ASSERT_EQ(engine_.ReadModelFile("", Header("C:\\data\\parts.q3d"), &message, &triangles), 0);
  EXPECT_EQ(engine_.parts().Child(1, 0), 2);
  EXPECT_EQ(engine_.parts().Attribute(0)->maker, "Maker");
  ASSERT_TRUE(engine_.parts().SetPartsBlock(2, 321, "kept until the next model"));

  EXPECT_EQ(engine_.ReadModelFile("", Header("C:\\data\\bad parts.q3d"), &message, &triangles),
            static_cast<std::int32_t>(ModelError::kMalformed));
  EXPECT_EQ(*engine_.parts().PartsBlock(2, 321), "kept until the next model");

  ASSERT_EQ(engine_.ReadModelFile("", Header("C:\\data\\test.q3d"), &message, &triangles), 0);
  EXPECT_EQ(engine_.parts().ChildCount(0), 1);  // one geometry part, no section
  EXPECT_EQ(engine_.parts().Attribute(0)->text, "t");
  EXPECT_EQ(engine_.Terminate(), 0);
  EXPECT_EQ(engine_.parts().ChildCount(0), 0);
}

}  // namespace
}  // namespace kx::kx3d
