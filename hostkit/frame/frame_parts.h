// The parts of a custom-drawn window frame: where each of the 20 parts lies
// for the system's metrics, which part a point falls on, and the look each
// part is painted with in each state. Plain geometry and rules; the Win32
// layer reads the metrics and colours and does the drawing.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kx::hostkit {

constexpr int kPartCount = 20;
constexpr int kStateCount = 4;

// Part indices.
enum FramePart : int {
  kPartDefault = 0,  // the look every part falls back to
  kPartCaption = 1,
  kPartTitle = 2,
  kPartTitleShadow = 3,
  kPartIcon = 4,
  kPartLeftBorder = 6,
  kPartTopBorder = 7,
  kPartRightBorder = 8,
  kPartBottomBorder = 9,
  kPartClose = 10,
  kPartMinimize = 11,
  kPartMaximize = 12,
  kPartRestore = 13,  // shown in place of maximise while the window is maximised
  kPartTopLeft = 14,
  kPartTopRight = 15,
  kPartBottomLeft = 16,
  kPartBottomRight = 17,
  kPartMenuStrip = 19,  // the right end of the menu-bar row
};

// States a part is painted in; kStateNormal asks for 0 or 1 by the window.
enum PartState : int {
  kStateNormal = -1,
  kStateActive = 0,
  kStateInactive = 1,
  kStatePressed = 2,
  kStateHot = 3,
};

// Mode flags of a frame.
constexpr std::uint32_t kModeThemed = 0x1;         // visual styles were on, and are switched off
constexpr std::uint32_t kModeSquareButtons = 0x2;  // buttons sized by the caption height
constexpr std::uint32_t kModeFixedDc = 0x4;        // paint into the context given at creation
constexpr std::uint32_t kModeKeepLooks = 0x8;      // layout leaves colours and images alone
constexpr std::uint32_t kModeHideMenuStrip = 0x4000000;
// What a frame keeps of the mode it is created with.
constexpr std::uint32_t kModeKept = kModeSquareButtons | kModeKeepLooks | kModeHideMenuStrip;

// Look flags.
constexpr std::uint32_t kLookImage = 0x1000000;
constexpr std::uint32_t kLookColour = 0x2000000;
constexpr std::uint32_t kAlignRight = 0x10;
constexpr std::uint32_t kAlignBottom = 0x20;
constexpr std::uint32_t kAlignCenter = 0x40;
constexpr std::uint32_t kAlignVCenter = 0x80;
// A text colour that draws no text.
constexpr std::uint32_t kNoText = 0xFFFFFFFF;

// Part flag: shown and painted.
constexpr std::uint32_t kPartShown = 0x1;

struct Rect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  // As the system counts it: the right and bottom edges lie outside.
  bool Contains(std::int32_t x, std::int32_t y) const noexcept {
    return x >= left && x < right && y >= top && y < bottom;
  }
  bool operator==(const Rect& o) const noexcept {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct Look {
  std::uint32_t flags = 0;
  std::int32_t image = -1;   // resource index of the frame, -1 for none
  std::uint32_t colour = 0;  // 0x00BBGGRR
};

struct PartRecord {
  // Window coordinates; a negative value counts from the far edge (see ResolveRect).
  Rect rect;
  std::uint32_t flags = kPartShown;
  std::array<Look, kStateCount> looks{};
  bool shown() const noexcept { return (flags & kPartShown) != 0; }
};

// The system metrics the layout is made of.
struct FrameMetrics {
  int caption = 0;       // caption height
  int frame_x = 0;       // sizing border width
  int frame_y = 0;       // sizing border height
  int small_icon_x = 0;  // small icon size
  int small_icon_y = 0;
  int menu = 0;    // menu bar height
  int size_x = 0;  // caption button size
  int size_y = 0;
};

// A part's coded rectangle placed in a window rectangle: a coordinate of 0
// or more counts from the window's left or top, a negative one from its
// right or bottom, -1 being the right or bottom edge itself.
Rect ResolveRect(const Rect& coded, const Rect& window) noexcept;

// The system's hit-test code for a part (HTCAPTION, HTCLOSE, ...); 0 for a
// part that answers none.
int HitTestCode(int part) noexcept;

// Two colour values mixed byte by byte: x of a and 1 - x of b, truncated.
std::uint32_t Blend(std::uint32_t a, std::uint32_t b, double x) noexcept;

// The state a paint request stands for: kStateNormal becomes inactive for
// a disabled or background window, active otherwise.
int PaintState(int state, bool enabled, bool active) noexcept;

// The part that is painted for `part`: restore replaces maximise while the
// window is maximised.
int PaintedPart(int part, bool maximised) noexcept;

class FrameParts {
 public:
  FrameParts() { Reset(); }

  // Every part back to an empty rectangle, shown, with fresh looks.
  void Reset() noexcept;

  // Places every part for the metrics and the mode's button style; the
  // menu strip is hidden with kModeHideMenuStrip. Looks stay as they are.
  void Layout(const FrameMetrics& metrics, std::uint32_t mode) noexcept;

  const PartRecord& part(int index) const { return parts_[static_cast<unsigned>(index)]; }
  bool shown(int index) const noexcept { return Valid(index) && part(index).shown(); }

  // The part's rectangle in the given window rectangle.
  Rect Resolve(int index, const Rect& window) const noexcept;

  // The part under a screen point: 0 inside the client area extended up
  // over the menu bar, else the first part containing the point in the
  // order minimise, maximise, close, icon, caption, the four corners, top,
  // bottom, left, right; 0 when none does.
  int HitPart(std::int32_t x, std::int32_t y, const Rect& window,
              const Rect& client_and_menu) const noexcept;

  // The host's own looks: exactly the part and state named. -1 for a part
  // of 20 or more or a state outside 0..3, else 0. A negative image changes
  // nothing; an image given with kLookColour clears the look's colour.
  int SetLookColor(int index, int state, std::uint32_t colour) noexcept;
  int SetLookImage(int index, int state, std::int32_t image, std::uint32_t flags) noexcept;

  // The look a part is painted with: its own for the state if set, else its
  // state-0 look if set, else the default part's state-0 look.
  const Look& ChooseLook(int index, int state) const noexcept;

  // The frame's starting looks: a colour replaces an image, an image (or
  // glyph) replaces a colour.
  void SetDefaultColour(int index, int state, std::uint32_t colour, std::uint32_t align = 0);
  void SetDefaultImage(int index, int state, std::int32_t image);

 private:
  static bool Valid(int index) noexcept { return index >= 0 && index < kPartCount; }
  static bool ValidState(int state) noexcept { return state >= 0 && state < kStateCount; }

  std::array<PartRecord, kPartCount> parts_;
};

// What the starting looks are made of: the system's colours, one caption
// glyph resource per look, the host program's icon.
class DefaultLookSource {
 public:
  virtual ~DefaultLookSource() = default;
  // The colour of a system colour index (COLOR_BTNFACE and its kin).
  virtual std::uint32_t SystemColour(int index) = 0;
  // A new caption glyph resource (DFCS_CAPTION... state); -1 if none can be made.
  virtual int MakeGlyph(std::uint32_t state) = 0;
  // A new icon resource of the host program's icon 1 at small-icon size; -1 if none.
  virtual int LoadProgramIcon() = 0;
};

// System colour indices the starting looks use.
constexpr int kColorActiveCaption = 2;
constexpr int kColorInactiveCaption = 3;
constexpr int kColorMenu = 4;
constexpr int kColorActiveBorder = 10;
constexpr int kColorInactiveBorder = 11;
constexpr int kColorBtnFace = 15;
// Caption glyph states.
constexpr std::uint32_t kGlyphClose = 0x0;
constexpr std::uint32_t kGlyphMinimize = 0x1;
constexpr std::uint32_t kGlyphMaximize = 0x2;
constexpr std::uint32_t kGlyphRestore = 0x3;
constexpr std::uint32_t kGlyphPushed = 0x200;

// Gives every part the looks a new frame starts with.
void ApplyDefaultLooks(FrameParts& parts, DefaultLookSource& source);

// The whole layout: the parts placed and, unless the mode keeps the looks
// (a re-layout after a change of system settings), the starting looks.
void LayOutFrame(FrameParts& parts, const FrameMetrics& metrics, std::uint32_t mode,
                 DefaultLookSource& source);

// What a full repaint paints: the caption band, composed off-screen (the
// caption, icon and buttons; the title text follows them), then the parts
// painted straight onto the window. A maximised window has no borders to
// paint, and shows restore instead of maximise.
struct FramePaintPlan {
  std::vector<int> band;
  std::vector<int> direct;
};
FramePaintPlan PlanFramePaint(bool maximised);

}  // namespace kx::hostkit
