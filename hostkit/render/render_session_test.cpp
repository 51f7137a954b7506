#include "hostkit/render/render_session.h"

#include <gtest/gtest.h>

#include <deque>

#include "hostkit/render/render_resource.h"

namespace kx::hostkit {
namespace {

class ScriptedDialogs final : public RenderSessionDialogs {
 public:
  bool login_ok = true;
  std::deque<int> settings_ends, multi_view_ends;
  std::vector<std::string> calls;
  std::vector<PixelSize> multi_view_sizes;

  bool Login(std::string& login) override {
    calls.push_back("login");
    if (login_ok) login = "kept " + login;
    return login_ok;
  }
  int ShowSettings() override {
    calls.push_back("settings");
    return Next(settings_ends);
  }
  int ShowMultiView(PixelSize size) override {
    calls.push_back("multi");
    multi_view_sizes.push_back(size);
    return Next(multi_view_ends);
  }
  PixelSize SettingsImageSize() override { return {1264, 836}; }
  int SettingsRoofMode() override { return 2; }
  void WriteSettingsAgain() override { calls.push_back("write"); }

 private:
  static int Next(std::deque<int>& ends) {
    const int end = ends.front();
    ends.pop_front();
    return end;
  }
};

TEST(RenderSession, Flows) {
  struct Case {
    bool service;
    std::deque<int> settings, multi;
    int result;
    std::vector<std::string> calls;
  } cases[] = {
      {false, {IDC_RENDER_START}, {}, 1, {"settings"}},
      {false, {2}, {}, 0, {"settings"}},
      {false, {IDC_RENDER_MULTI}, {IDC_RENDER_START}, 1, {"settings", "multi", "write"}},
      {false,
       {IDC_RENDER_MULTI, IDC_RENDER_START},
       {IDC_MULTI_BACK},
       1,
       {"settings", "multi", "settings", "write"}},
      {false, {IDC_RENDER_MULTI}, {2}, 0, {"settings", "multi"}},
      {true, {IDC_RENDER_START}, {}, 1, {"login", "settings"}},
      {false, {-1}, {}, 0, {"settings"}},
  };
  for (const Case& c : cases) {
    ScriptedDialogs dialogs;
    dialogs.settings_ends = c.settings;
    dialogs.multi_view_ends = c.multi;
    std::string login = "user";
    int roof = 0;
    EXPECT_EQ(RunRenderSession(dialogs, c.service, login, roof), c.result);
    EXPECT_EQ(dialogs.calls, c.calls);
    EXPECT_EQ(roof, c.result == 1 ? 2 : 0);
    EXPECT_EQ(login, c.service ? "kept user" : "user");
    for (const PixelSize& size : dialogs.multi_view_sizes) EXPECT_EQ(size, (PixelSize{1264, 836}));
  }
}

TEST(RenderSession, AFailedLoginShowsNothing) {
  ScriptedDialogs dialogs;
  dialogs.login_ok = false;
  std::string login = "user";
  int roof = 1;
  EXPECT_EQ(RunRenderSession(dialogs, true, login, roof), 0);
  EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"login"}));
  EXPECT_EQ(login, "");
  EXPECT_EQ(roof, 1);
}

}  // namespace
}  // namespace kx::hostkit
