// The stand-in engine library under the viewer's calls, into real windows:
// what it draws, what its set-ups turn out to be, its failures.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "standins/kx3d/frame_image.h"
#include "standins/kx3d/tools/engine_driver_win32.h"
#include "standins/kx3d/tools/sample_configurations.h"
#include "standins/kx3d/tools/sample_window_win32.h"
#include "tests/win/temp_folder.h"

namespace kx::kx3d {
namespace {

using test::TempFolder;

// The window class of the engine's hidden drawing surface.
constexpr char kSurfaceClass[] = "KX3DStandinSurface";

// build\<preset>\bin\ beside this program's testbin\.
std::string BinFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\'));
  folder.resize(folder.find_last_of('\\') + 1);
  return folder + "bin\\";
}
std::string EnginePath() { return BinFolder() + "KX3D.dll"; }
std::string ModelPath() { return BinFolder() + "data\\test.q3d"; }

// A private copy of the engine, so that its settings file and its state
// belong to one test.
class EngineCopy {
 public:
  explicit EngineCopy(const std::string& settings = "") {
    CopyFileA(EnginePath().c_str(), (folder_ / "KX3D.dll").c_str(), FALSE);
    if (!settings.empty()) TempFolder::WriteFile(folder_ / "kx3d_standin.ini", settings);
    library_ = std::make_unique<EngineLibrary>(folder_ / "KX3D.dll");
  }
  EngineLibrary& operator*() { return *library_; }
  EngineLibrary* operator->() { return library_.get(); }
  const TempFolder& folder() const { return folder_; }

 private:
  TempFolder folder_{"kx3d engine"};
  std::unique_ptr<EngineLibrary> library_;
};

FrameImage ReadFrame(EngineLibrary& engine) {
  KxStandinDrawing drawing = {};
  if (engine.DescribeDrawing(&drawing) != 0) return {};
  FrameImage frame(drawing.width, drawing.height);
  int32_t w = 0, h = 0;
  if (engine.ReadFrame(frame.bgr.data(), static_cast<int32_t>(frame.bgr.size()), &w, &h) != 0)
    return {};
  return frame;
}

// What the window shows, read back through GDI.
FrameImage CaptureWindow(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  FrameImage image(client.right, client.bottom);
  HDC dc = GetDC(window);
  HDC memory = CreateCompatibleDC(dc);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, image.width, image.height, dc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint8_t*>(bits);
  for (int i = 0; i < image.width * image.height; ++i) {
    for (int c = 0; c < 3; ++c) image.bgr[i * 3 + c] = pixels[i * 4 + c];
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, dc);
  return image;
}

struct Coverage {
  double model = 0;  // share of pixels that are not sky
  double roof = 0;   // share of the red roof
};
Coverage Measure(const FrameImage& image) {
  Coverage c;
  const int total = image.width * image.height;
  if (total == 0) return c;
  int model = 0, roof = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* p = image.Pixel(x, y);
      const int b = p[0], g = p[1], r = p[2];
      if (std::abs(r - 171) + std::abs(g - 204) + std::abs(b - 235) > 12) ++model;
      if (r > g + 70 && r > b + 70) ++roof;
    }
  }
  c.model = static_cast<double>(model) / total;
  c.roof = static_cast<double>(roof) / total;
  return c;
}

TEST(Kx3dEngine, EveryVariantExportsTheViewersOrdinalsAndItsLibraryCode) {
  const struct {
    const char* file;
    int code;
  } variants[] = {{"KX3D.dll", 3},
                  {"kx3dlib\\kx3d.ogl", 1},
                  {"kx3dlib\\kx3d.drx", 2},
                  {"kx3dlib\\kx3d.ds3", 3}};
  for (const auto& v : variants) {
    EngineLibrary engine(BinFolder() + v.file);
    ASSERT_TRUE(engine.complete()) << v.file;
    EXPECT_EQ(engine.GetGraphicLibrary(), v.code) << v.file;
  }
}

// Each configuration of the test plan through the viewer's calls: the model
// shows in the window, and the set-up has the features the option word asks.
TEST(Kx3dEngine, EveryConfigurationDrawsTheModelIntoTheWindow) {
  EngineLibrary engine(EnginePath());
  ASSERT_TRUE(engine.complete());
  for (const SampleConfiguration& config : kSampleConfigurations) {
    SCOPED_TRACE(std::string("configuration ") + config.letter);
    SampleWindow window(40, 40);
    ASSERT_TRUE(window);
    ViewerSession session(engine, window.view(), config.Option(), config.LibraryCode());
    ASSERT_TRUE(session.Initialize());
    int32_t body = -99;
    ASSERT_TRUE(session.OpenModel(ModelPath(), &body));
    EXPECT_EQ(body, 0);
    session.Redraw();
    window.PumpMessages();

    KxStandinDrawing drawing = {};
    ASSERT_EQ(engine.DescribeDrawing(&drawing), 0);
    EXPECT_EQ(drawing.width, kSampleSize);
    EXPECT_EQ(drawing.height, kSampleSize);
    if (config.direct_x) {
      EXPECT_EQ(drawing.library, 2);
      EXPECT_EQ(drawing.samples > 1, config.antialias);
      EXPECT_EQ(drawing.shadow_map_size, config.shadow ? 2048 : 0);
      EXPECT_EQ(drawing.per_pixel_lighting != 0, config.phong);
    } else {
      EXPECT_EQ(drawing.library, 1);
      const bool generic = (drawing.pixel_format_flags & PFD_GENERIC_FORMAT) != 0 &&
                           (drawing.pixel_format_flags & PFD_GENERIC_ACCELERATED) == 0;
      EXPECT_EQ(generic, config.no_opengl_acceleration);
      EXPECT_GE(drawing.depth_bits, 16);
    }

    const FrameImage shown = CaptureWindow(window.view());
    const Coverage coverage = Measure(shown);
    EXPECT_GT(coverage.model, 0.2) << "the house and its plot fill a good part of the view";
    EXPECT_GT(coverage.roof, 0.03) << "the red roof shows";
    // The window shows exactly the engine's picture.
    const ImageDifference d = CompareImages(shown, ReadFrame(engine));
    EXPECT_TRUE(d.same_size);
    EXPECT_EQ(d.differing_pixels, 0);
    session.Terminate();
  }
}

TEST(Kx3dEngine, WindowRepaintsTheLastPictureByItself) {
  EngineLibrary engine(EnginePath());
  SampleWindow window(40, 40);
  ViewerSession session(engine, window.view(), 0x20, 2);
  ASSERT_TRUE(session.Initialize());
  ASSERT_TRUE(session.OpenModel(ModelPath()));
  const FrameImage frame = ReadFrame(engine);
  // Paint over the view, then let the window repaint itself.
  HDC dc = GetDC(window.view());
  RECT all{0, 0, kSampleSize, kSampleSize};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(window.view(), dc);
  EXPECT_GT(CompareImages(CaptureWindow(window.view()), frame).differing_pixels, 50000);
  InvalidateRect(window.view(), nullptr, TRUE);
  UpdateWindow(window.view());
  EXPECT_EQ(CompareImages(CaptureWindow(window.view()), frame).differing_pixels, 0);
  session.Terminate();
}

TEST(Kx3dEngine, ForcedRgbGivesAFormatWithoutAlpha) {
  EngineLibrary engine(EnginePath());
  for (int32_t option : {0x4, 0x6}) {
    SampleWindow window;
    ViewerSession session(engine, window.view(), option, 1);
    ASSERT_TRUE(session.Initialize());
    KxStandinDrawing drawing = {};
    ASSERT_EQ(engine.DescribeDrawing(&drawing), 0);
    EXPECT_EQ(drawing.alpha_bits, 0);
    EXPECT_GE(drawing.color_bits, 24);
    EXPECT_EQ((drawing.pixel_format_flags & PFD_GENERIC_FORMAT) != 0, option == 0x6);
    session.Terminate();
  }
}

// The viewer sets up drawing twice per run, ending the first before the
// second, and may run again in the same process.
TEST(Kx3dEngine, SetUpTwiceAndStartAgainAfterTheEnd) {
  EngineLibrary engine(EnginePath());
  SampleWindow window;
  for (int run = 0; run < 2; ++run) {
    for (int32_t code : {1, 3}) {
      const int32_t option = code == 1 ? 0x2 : 0x233120;
      ASSERT_EQ(engine.Initialize(), 0);
      ASSERT_EQ(engine.InitDrawEx(window.view(), 3, option, nullptr, code), 0);
      ASSERT_EQ(engine.ConfirmDraw(), 0);
      EXPECT_EQ(engine.Redraw(3), 0);
      EXPECT_NE(FindWindowA(kSurfaceClass, nullptr), nullptr);
      EXPECT_EQ(engine.EndDraw(), 0);
      EXPECT_EQ(FindWindowA(kSurfaceClass, nullptr), nullptr) << "the drawing surface is gone";
      EXPECT_NE(engine.Redraw(3), 0);  // nothing set up now
      ASSERT_EQ(engine.InitDrawEx(window.view(), 3, option, nullptr, code), 0);
      ASSERT_EQ(engine.ConfirmDraw(), 0);
      const FrameImage sky = ReadFrame(engine);
      ASSERT_EQ(sky.width, kSampleSize);
      EXPECT_EQ(Measure(sky).model, 0) << "no model read: only sky";
      EXPECT_EQ(engine.Terminate(), 0);
      EXPECT_EQ(FindWindowA(kSurfaceClass, nullptr), nullptr);
      EXPECT_EQ(engine.EndDraw(), 0);
    }
  }
}

TEST(Kx3dEngine, FitViewSizesThePicture) {
  EngineLibrary engine(EnginePath());
  for (int32_t code : {1, 2}) {
    SampleWindow window;
    ViewerSession session(engine, window.view(), code == 1 ? 0 : 0x30120, code);
    ASSERT_TRUE(session.Initialize());
    ASSERT_TRUE(session.OpenModel(ModelPath()));
    ASSERT_EQ(engine.FitView(100, 100, 100, 100, 100, 100, 200, 150), 0);
    const FrameImage frame = ReadFrame(engine);
    EXPECT_EQ(frame.width, 200);
    EXPECT_EQ(frame.height, 150);
    EXPECT_GT(Measure(frame).roof, 0.02);
    EXPECT_NE(engine.FitView(100, 100, 100, 100, 100, 100, 0, 150), 0);
    session.Terminate();
  }
}

TEST(Kx3dEngine, MissingOrGarbageModelFilesGiveANegativeHandle) {
  EngineLibrary engine(EnginePath());
  TempFolder folder;
  TempFolder::WriteFile(folder / "garbage.q3d", std::string(4096, 'g'));
  TempFolder::WriteFile(folder / "picture.q3d",
                        TempFolder::ReadFile(BinFolder() + "data\\testA.bmp"));
  TempFolder::WriteFile(folder / "empty.q3d", "");
  ASSERT_EQ(engine.Initialize(), 0);
  for (const char* name : {"missing.q3d", "garbage.q3d", "picture.q3d", "empty.q3d"}) {
    int32_t version = 0, parts = 0, triangles = 0, handle = 0;
    engine.ReadModelHeader((folder / name).c_str(), &version, &parts, &triangles, &handle);
    EXPECT_LT(handle, 0) << name;
  }
  int32_t version = 0, parts = 0, triangles = 0, handle = -1;
  EXPECT_EQ(engine.ReadModelHeader(ModelPath().c_str(), &version, &parts, &triangles, &handle), 0);
  EXPECT_GE(handle, 0);
  EXPECT_EQ(version, 1);
  EXPECT_GT(parts, 5);
  EXPECT_GT(triangles, 200);
  engine.Terminate();
}

TEST(Kx3dEngine, BrokenModelBodyIsReportedAndTheViewStaysEmpty) {
  EngineLibrary engine(EnginePath());
  TempFolder folder;
  std::string bytes = TempFolder::ReadFile(ModelPath());
  bytes.resize(bytes.size() / 2);
  TempFolder::WriteFile(folder / "half.q3d", bytes);
  SampleWindow window;
  ViewerSession session(engine, window.view(), 0x20, 2);
  ASSERT_TRUE(session.Initialize());
  int32_t body = 0;
  ASSERT_TRUE(session.OpenModel(folder / "half.q3d", &body));  // the header is whole
  EXPECT_LT(body, 0);
  const FrameImage sky = ReadFrame(engine);
  ASSERT_EQ(sky.width, kSampleSize);
  EXPECT_EQ(Measure(sky).model, 0);
  session.Terminate();
}

TEST(Kx3dEngine, SetupIntoSomethingThatIsNoWindowFails) {
  EngineLibrary engine(EnginePath());
  ASSERT_EQ(engine.Initialize(), 0);
  EXPECT_EQ(engine.InitDrawEx(nullptr, 3, 0x20, nullptr, 2), KX3D_SETUP_FAILED);
  EXPECT_EQ(
      engine.InitDrawEx(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7fff0)), 3, 0x20, nullptr, 2),
      KX3D_SETUP_FAILED);
  EXPECT_EQ(engine.ConfirmDraw(), KX3D_SETUP_FAILED);
  SampleWindow window;
  EXPECT_EQ(engine.InitDrawEx(window.view(), 3, 0x20, nullptr, 9), KX3D_SETUP_FAILED);
  engine.Terminate();
}

TEST(Kx3dEngine, ViewWindowDestroyedWhileDrawingIsSetUp) {
  EngineLibrary engine(EnginePath());
  ASSERT_EQ(engine.Initialize(), 0);
  {
    SampleWindow window;
    ASSERT_EQ(engine.InitDrawEx(window.view(), 3, 0x233120, nullptr, 3), 0);
  }
  // The engine's picture has nowhere to go, but nothing breaks.
  EXPECT_EQ(engine.Redraw(3), 0);
  EXPECT_EQ(engine.EndDraw(), 0);
  EXPECT_EQ(engine.Terminate(), 0);
}

TEST(Kx3dEngine, FailureSwitchBesideTheLibrary) {
  {
    EngineCopy engine("[Failure]\r\nStep=Kxi_Initialize\r\n");
    EXPECT_NE(engine->Initialize(), 0);
  }
  {
    EngineCopy engine("[Failure]\r\nStep=Kxi_InitDrawEx\r\n");
    SampleWindow window;
    ASSERT_EQ(engine->Initialize(), 0);
    EXPECT_EQ(engine->InitDrawEx(window.view(), 3, 0x20, nullptr, 2), KX3D_SETUP_FAILED);
    engine->Terminate();
  }
  {
    EngineCopy engine("[Failure]\r\nStep=Kxi_ConfirmDraw\r\n");
    SampleWindow window;
    ViewerSession session(*engine, window.view(), 0x2, 1);
    EXPECT_FALSE(session.Initialize());
    session.Terminate();
  }
  {
    EngineCopy engine("[Failure]\r\nStep=Kxi_ReadModelHeader\r\n");
    SampleWindow window;
    ViewerSession session(*engine, window.view(), 0x20, 2);
    ASSERT_TRUE(session.Initialize());
    EXPECT_FALSE(session.OpenModel(ModelPath()));
    session.Terminate();
  }
  {
    // Only the second set-up, the one that comes with the model, fails.
    EngineCopy engine("[Failure]\r\nStep=Kxi_InitDrawEx\r\nCall=2\r\n");
    SampleWindow window;
    ViewerSession session(*engine, window.view(), 0x20, 2);
    ASSERT_TRUE(session.Initialize());
    EXPECT_TRUE(session.OpenModel(ModelPath()));
    EXPECT_FALSE(session.drawing_ready());
    session.Terminate();
  }
  {
    EngineCopy engine;  // no settings file: nothing fails
    SampleWindow window;
    ViewerSession session(*engine, window.view(), 0x20, 2);
    EXPECT_TRUE(session.Initialize());
    EXPECT_TRUE(session.OpenModel(ModelPath()));
    session.Terminate();
  }
}

TEST(Kx3dEngine, LibraryUnloadsAndLoadsAgainWithoutTerminate) {
  for (int i = 0; i < 2; ++i) {
    SampleWindow window;
    EngineLibrary engine(EnginePath());
    ASSERT_EQ(engine.Initialize(), 0);
    ASSERT_EQ(engine.InitDrawEx(window.view(), 3, 0x2, nullptr, 1), 0) << "load " << i;
    EXPECT_EQ(engine.Redraw(3), 0);
    // Unloaded with drawing still set up: the library takes it down itself.
  }
}

// The committed sample pictures are what the engine draws now. Runs here
// are identical to the bit; the tolerance only absorbs a rasteriser that
// rounds an edge pixel differently, and stays far below the smallest
// feature difference (anti-aliasing changes about 1.5% of the pixels).
TEST(Kx3dEngine, SamplePicturesAreWhatTheEngineDraws) {
  EngineLibrary engine(EnginePath());
  for (const SampleConfiguration& config : kSampleConfigurations) {
    SCOPED_TRACE(config.BmpFile());
    FrameImage committed;
    ASSERT_TRUE(
        DecodeBmp(TempFolder::ReadFile(BinFolder() + "data\\" + config.BmpFile()), &committed));
    SampleWindow window;
    ViewerSession session(engine, window.view(), config.Option(), config.LibraryCode());
    ASSERT_TRUE(session.Initialize());
    ASSERT_TRUE(session.OpenModel(ModelPath()));
    const FrameImage drawn = ReadFrame(engine);
    session.Terminate();
    ASSERT_EQ(drawn.width, committed.width);
    ASSERT_EQ(drawn.height, committed.height);
    const long off = CompareImages(drawn, committed, 2).differing_pixels;
    EXPECT_LE(off, kSampleSize * kSampleSize / 500)
        << "regenerate: cmake --build --preset win64 --target kx3d_sample_pictures";
  }
}

}  // namespace
}  // namespace kx::kx3d
