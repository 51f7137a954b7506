#include "fitview/viewer_layout.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

// A window whose outer size is already 650 x 350 for a 642 x 320 client area.
ViewerGeometry Geometry(std::optional<int> checker_bottom) {
  ViewerGeometry g;
  g.work_area = {0, 0, 1280, 1024};
  g.outer = {10, 20, 660, 370};
  g.client_width = 642;
  g.client_height = 320;
  if (checker_bottom) g.checker = ScreenRect{300, 100, 980, *checker_bottom};
  return g;
}

TEST(ViewerLayoutTest, CentredInTheSpaceBelowTheChecker) {
  EXPECT_EQ(PlaceViewerWindow(Geometry(500)), (WindowPlace{315, 587, 650, 350}));
}

TEST(ViewerLayoutTest, BottomOfTheWorkAreaWhenTheSpaceIsTooSmall) {
  // half = (1024 - 800 - 350) / 2 = -63
  EXPECT_EQ(PlaceViewerWindow(Geometry(800)), (WindowPlace{315, 674, 650, 350}));
  // Exactly enough room: half is 0 and the window touches the checker.
  EXPECT_EQ(PlaceViewerWindow(Geometry(674)).y, 674);
  // One pixel short: -1 / 2 rounds toward zero, to 0, which would put the
  // window one pixel past the work area; it is kept inside.
  EXPECT_EQ(PlaceViewerWindow(Geometry(675)).y, 674);
  EXPECT_EQ(PlaceViewerWindow(Geometry(676)).y, 674);
}

TEST(ViewerLayoutTest, OnTheCheckersMonitorAndInsideItsWorkArea) {
  // The outer size is 650 x 350 throughout.
  struct Row {
    const char* what;
    ScreenRect work;
    std::optional<ScreenRect> checker;
    int x, y;
  };
  const Row rows[] = {
      {"below the checker", {0, 0, 1280, 1024}, ScreenRect{300, 100, 980, 500}, 315, 587},
      // Minimised, its rectangle is far off every screen: as no checker.
      {"minimised checker",
       {0, 0, 1280, 1024},
       ScreenRect{-32000, -32000, -31840, -31972},
       315,
       337},
      // On a second monitor to the right; the work area is that monitor's.
      {"second monitor", {1280, 0, 2560, 1024}, ScreenRect{1580, 100, 2260, 500}, 1595, 587},
      // Above the primary monitor: the space below counts from the area's top as
      // ever, and the window is kept inside the area.
      {"monitor above", {0, -1024, 1280, -40}, ScreenRect{300, -900, 980, -500}, 315, -390},
      // A checker reaching past the work area's bottom: the bottom of the area.
      {"checker below", {0, 0, 1280, 1024}, ScreenRect{300, 900, 980, 1100}, 315, 674},
      // A work area smaller than the window: its top left corner.
      {"small work area", {0, 0, 600, 300}, ScreenRect{0, 0, 600, 100}, 0, 0},
      {"small, away from the origin", {100, 50, 700, 350}, std::nullopt, 100, 50},
  };
  for (const Row& row : rows) {
    ViewerGeometry g = Geometry(std::nullopt);
    g.work_area = row.work;
    g.checker = row.checker;
    const WindowPlace place = PlaceViewerWindow(g);
    EXPECT_EQ(place, (WindowPlace{row.x, row.y, 650, 350}))
        << row.what << ": " << place.x << "," << place.y;
  }
}

TEST(ViewerLayoutTest, OuterSizeFollowsTheClientArea) {
  ViewerGeometry g = Geometry(500);
  // A template whose client area came out at 600 x 300 with 6 + 6 pixels of
  // border and a 25-pixel caption.
  g.outer = {0, 0, 612, 337};
  g.client_width = 600;
  g.client_height = 300;
  const WindowPlace place = PlaceViewerWindow(g);
  EXPECT_EQ(place.width, 654);
  EXPECT_EQ(place.height, 357);
  EXPECT_EQ(place.x, (1280 - 654) / 2);
  EXPECT_EQ(place.y, 500 + (1024 - 500 - 357) / 2);
}

TEST(ViewerLayoutTest, WorkAreaAwayFromTheOrigin) {
  ViewerGeometry g = Geometry(500);
  g.work_area = {100, 40, 1380, 1064};  // task bars at the left and top
  const WindowPlace place = PlaceViewerWindow(g);
  EXPECT_EQ(place.x, 100 + (1280 - 650) / 2);
  EXPECT_EQ(place.y, 500 + (1064 - 500 - 350 - 40) / 2);
}

TEST(ViewerLayoutTest, WithoutACheckerCentredInTheWorkArea) {
  EXPECT_EQ(PlaceViewerWindow(Geometry(std::nullopt)), (WindowPlace{315, 337, 650, 350}));
  ViewerGeometry g = Geometry(std::nullopt);
  g.work_area = {0, 30, 1280, 1024};
  EXPECT_EQ(PlaceViewerWindow(g).y, 30 + (994 - 350) / 2);
}

TEST(ViewerLayoutTest, ControlsSideBySide) {
  // The sample on the left, the divider, the view on the right, each label
  // at the top-left corner of its picture; together 642 x 320.
  int right = 0;
  for (const ControlPlace& c : kViewerControls) {
    if (c.label) continue;
    EXPECT_EQ(c.x, right) << c.id;
    EXPECT_EQ(c.height, kViewerClientHeight) << c.id;
    right = c.x + c.width;
  }
  EXPECT_EQ(right, kViewerClientWidth);
  EXPECT_EQ(kViewerControls[1].x, kViewerControls[0].x);
  EXPECT_EQ(kViewerControls[4].x, kViewerControls[3].x);
}

TEST(ViewerLayoutTest, NoticeCentredOnTheScreen) {
  EXPECT_EQ(CentreOnScreen(1280, 1024, 201, 80), (WindowPlace{539, 472, 201, 80}));
}

}  // namespace
}  // namespace kx
