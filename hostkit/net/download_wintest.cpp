// DownloadProgressDoModal as the host application calls it: Hostkit.dll
// loaded from the installed programs' folder, the dialog run modally on this
// thread and driven from a second one, the file fetched over WinInet from
// the loopback server that the test command started (its port in
// KX_HTTP_PORT) and compared byte for byte with what the server sent.
#include <windows.h>
// windows.h first
#include <commctrl.h>
#include <gtest/gtest.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "hostkit/include/hostkit.h"
#include "hostkit/net/download_resource.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/unique_resource.h"
#include "tests/driver/dialog_driver.h"
#include "tests/win/process.h"
#include "tests/win/temp_folder.h"

namespace kx::hostkit {
namespace {

using test::ControlState;
using test::DialogDriver;
using test::TempFolder;
using test::WaitUntil;

constexpr char kCaption[] = "部品データのダウンロード";
constexpr DWORD kWaitMs = 20000;

std::string BinFolder() { return kx::test::TestProgramFolder() + "..\\bin\\"; }

std::string Server() {
  const char* port = std::getenv("KX_HTTP_PORT");
  return std::string("http://127.0.0.1:") + (port ? port : "0");
}

// What the server sends for /data/SIZE/...: byte i is (i * 31 + (i >> 10)) & 0xFF.
std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + (i >> 10)) & 0xFF);
  return bytes;
}

// The body of the server's answer to `path`: "/requests" gives the paths
// asked for so far, "/release" lets a waiting "/gate" body go on.
std::string AskServer(const std::string& path) {
  HINTERNET session = InternetOpenA("kx test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  HINTERNET url = InternetOpenUrlA(session, (Server() + path).c_str(), nullptr, 0,
                                   INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  std::string text;
  char buffer[1024];
  DWORD got = 0;
  while (url && InternetReadFile(url, buffer, sizeof buffer, &got) && got > 0)
    text.append(buffer, got);
  if (url) InternetCloseHandle(url);
  InternetCloseHandle(session);
  return text;
}

void Screenshot(const DialogDriver& dialog, const char* name) {
  const char* folder = std::getenv("KX_SHOT_DIR");
  if (folder == nullptr) return;
  (void)test::SaveScreenshot(std::string(folder) + "\\" + name + ".bmp", dialog.window());
}

std::string Status(const DialogDriver& dialog) {
  std::string text;
  (void)dialog.ReadText(IDC_DL_STATUS, text);
  return text;
}

int BarPosition(const DialogDriver& dialog) {
  DWORD_PTR position = 0;
  if (!SendMessageTimeoutA(dialog.Control(IDC_DL_PROGRESS), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG,
                           5000, &position)) {
    return -1;
  }
  return static_cast<int>(position);
}

struct Outcome {
  int32_t result = -1;
  std::string slot;
  int32_t automatic = -1;
};

class DownloadWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dll_.loaded());
    ASSERT_NE(do_modal_, nullptr);
    ASSERT_NE(std::getenv("KX_HTTP_PORT"), nullptr) << "run through tests/http/loopback_server.py";
  }

  // Runs the export with `drive` acting on the dialog from a second thread;
  // a dialog left open by a failed step is cancelled so that the test ends.
  Outcome Download(const std::string& url, int32_t automatic,
                   const std::function<void(DialogDriver&)>& drive) {
    std::string folder = folder_.path();
    folder.pop_back();  // given without its trailing separator
    return DownloadInto(url, folder, automatic, drive);
  }

  Outcome DownloadInto(const std::string& url, const std::string& folder, int32_t automatic,
                       const std::function<void(DialogDriver&)>& drive) {
    Outcome outcome;
    BSTR slot = SysAllocStringByteLen("old", 3);
    int32_t value = automatic;
    std::atomic<bool> returned{false};
    std::thread driver([&] {
      DialogDriver dialog;
      // An automatic download may end before the dialog is seen.
      if (!WaitUntil([&] { return returned || dialog.Find(kCaption, IDC_DL_STATUS); }, kWaitMs,
                     20)) {
        ADD_FAILURE() << "no download dialog";
        return;
      }
      if (!dialog.Present()) {
        if (drive) ADD_FAILURE() << "the dialog ended before it was driven";
        return;
      }
      if (drive) drive(dialog);
      if (!dialog.WaitUntilGone(60000)) {
        ADD_FAILURE() << "the dialog stayed open: " << Status(dialog);
        while (dialog.Present()) {
          PostMessageA(dialog.window(), WM_COMMAND, IDCANCEL, 0);
          Sleep(500);
        }
      }
    });
    outcome.result =
        do_modal_(nullptr, 640, 512, kCaption, url.c_str(), folder.c_str(), &slot, &value);
    returned = true;
    driver.join();
    outcome.slot = std::string(reinterpret_cast<const char*>(slot), SysStringByteLen(slot));
    outcome.automatic = value;
    SysFreeString(slot);
    return outcome;
  }

  std::string Stored(const std::string& name) { return TempFolder::ReadFile(folder_ / name); }

  // What the download folder holds.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    win::UniqueFind find(FindFirstFileA((folder_ / "*").c_str(), &data));
    if (!find) return names;
    do {
      const std::string name = data.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find.get(), &data));
    return names;
  }

  win::LoadedModule dll_{(BinFolder() + "Hostkit.dll").c_str()};
  decltype(&DownloadProgressDoModal) do_modal_ =
      dll_.Entry<decltype(DownloadProgressDoModal)>("DownloadProgressDoModal");
  TempFolder folder_{"kx download"};
};

TEST_F(DownloadWinTest, OkDownloadsAndHandsOutTheName) {
  const Outcome outcome = Download(Server() + "/data/300000/model.q3d", 0, [](DialogDriver& d) {
    EXPECT_EQ(Status(d), "ダウンロードしますか？");
    ControlState ok, box;
    ASSERT_TRUE(d.ReadState(IDC_DL_START, ok));
    ASSERT_TRUE(d.ReadState(IDC_DL_AUTOMATIC, box));
    EXPECT_TRUE(ok.enabled);
    EXPECT_FALSE(box.checked);
    std::string caption;
    EXPECT_TRUE(test::ReadWindowText(d.window(), caption));
    EXPECT_EQ(caption, kCaption);
    // Centred on the point given.
    RECT r = {};
    GetWindowRect(d.window(), &r);
    EXPECT_EQ(r.left, 640 - (r.right - r.left) / 2);
    EXPECT_EQ(r.top, 512 - (r.bottom - r.top) / 2);
    Screenshot(d, "download_ask");
    ASSERT_TRUE(d.Click(IDC_DL_START));
  });
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.slot, "model.q3d");
  EXPECT_EQ(outcome.automatic, 0);
  EXPECT_TRUE(Stored("model.q3d") == Pattern(300000));
}

TEST_F(DownloadWinTest, CancelBeforeStartTouchesNothing) {
  const Outcome outcome = Download(Server() + "/data/1000/never.q3d", 0,
                                   [](DialogDriver& d) { ASSERT_TRUE(d.Click(IDCANCEL)); });
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(outcome.slot, "old");
  EXPECT_EQ(outcome.automatic, 0);
  EXPECT_FALSE(TempFolder::Exists(folder_ / "never.q3d"));
  EXPECT_EQ(AskServer("/requests").find("never.q3d"), std::string::npos);
}

TEST_F(DownloadWinTest, CancelDuringDownloadKeepsWhatWasWritten) {
  const std::size_t size = 400 * 1024;
  const Outcome outcome = Download(Server() + "/slow/409600/slow.q3d", 0, [](DialogDriver& d) {
    ASSERT_TRUE(d.Click(IDC_DL_START));
    ASSERT_TRUE(WaitUntil(
        [&] { return Status(d).find(" Bytes / 409600 Bytes") != std::string::npos; }, kWaitMs, 20));
    Screenshot(d, "download_running");
    ControlState ok;
    ASSERT_TRUE(d.ReadState(IDC_DL_START, ok));
    EXPECT_FALSE(ok.enabled);
    ASSERT_TRUE(d.Click(IDCANCEL));
  });
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(outcome.slot, "old");
  const std::string kept = Stored("slow.q3d");
  EXPECT_GT(kept.size(), 0u);
  EXPECT_LT(kept.size(), size);
  EXPECT_EQ(kept, Pattern(kept.size()));
}

// A line that sends a little and then waits: what has come is shown while
// it waits, not only once a large block has filled.
TEST_F(DownloadWinTest, WhatHasArrivedIsShownWhileTheLineWaits) {
  const Outcome outcome = Download(Server() + "/gate/16384/4096/gate.q3d", 1, [](DialogDriver& d) {
    const bool shown = WaitUntil(
        [&] {
          return Status(d) == "ダウンロード中... 4096 Bytes / 16384 Bytes" && BarPosition(d) == 25;
        },
        kWaitMs, 20);
    EXPECT_TRUE(shown) << Status(d) << ", bar at " << BarPosition(d);
    Screenshot(d, "download_waiting");
    AskServer("/release");
  });
  EXPECT_EQ(outcome.result, 1);
  EXPECT_TRUE(Stored("gate.q3d") == Pattern(16384));
}

// Four kilobytes every 200 ms: Cancel is answered after the piece in hand,
// while the server is still sending, not once a large block has filled.
TEST_F(DownloadWinTest, CancelIsAnsweredWhileTheLineIsSlow) {
  const std::string object = "/paced/409600/4096/200/paced.q3d";
  DWORD pressed = 0, gone = 0;
  const Outcome outcome = Download(Server() + object, 1, [&](DialogDriver& d) {
    ASSERT_TRUE(WaitUntil(
        [&] { return Status(d).find(" Bytes / 409600 Bytes") != std::string::npos; }, kWaitMs, 20));
    pressed = GetTickCount();
    ASSERT_TRUE(d.Click(IDCANCEL));
    EXPECT_TRUE(d.WaitUntilGone(kWaitMs));
    gone = GetTickCount();
  });
  EXPECT_EQ(outcome.result, 0);
  const std::string kept = Stored("paced.q3d");
  EXPECT_EQ(kept, Pattern(kept.size()));
  // The server tells how much it had sent when the client went: the body
  // takes 20 s, so a prompt stop leaves most of it unsent.
  int sent = -1;
  EXPECT_TRUE(WaitUntil(
      [&] {
        const std::string all = AskServer("/finished");
        const std::size_t at = all.find(object + " ");
        if (at != std::string::npos) sent = std::atoi(all.c_str() + at + object.size() + 1);
        return at != std::string::npos;
      },
      30000));
  EXPECT_LT(sent, 409600) << "the whole body was read before Cancel";
  std::printf("Cancel answered in %lu ms, %d bytes sent\n",
              static_cast<unsigned long>(gone - pressed), sent);
}

// A file of the same name that was there before is replaced by a finished
// download only; a cancelled or failed one leaves it as it was and leaves
// nothing else behind. A hidden one stays hidden.
TEST_F(DownloadWinTest, AnEarlierFileIsReplacedOnlyByAFinishedDownload) {
  const std::string earlier = "an earlier file of the user's";
  enum Cancel { kNoCancel, kWhileConnecting, kWhileCopying };
  const struct {
    std::string object;
    Cancel cancel;
    DWORD attributes;     // of the earlier file
    bool held;            // open in another program while the download runs
    std::string failure;  // the text shown; empty: none
  } cases[] = {
      {"/late/1500/kept.q3d", kWhileConnecting, FILE_ATTRIBUTE_NORMAL, false, ""},
      {"/slow/409600/kept.q3d", kWhileCopying, FILE_ATTRIBUTE_NORMAL, false, ""},
      {"/drop/300000/kept.q3d", kNoCancel, FILE_ATTRIBUTE_NORMAL, false,
       "ダウンロードが途中で切断されました"},
      {"/data/10/kept.q3d", kNoCancel, FILE_ATTRIBUTE_READONLY, false, "ファイルを作成できません"},
      {"/data/300000/kept.q3d", kNoCancel, FILE_ATTRIBUTE_NORMAL, true, "ファイルを作成できません"},
      {"/data/300000/kept.q3d", kNoCancel, FILE_ATTRIBUTE_NORMAL, false, ""},
      {"/data/300000/kept.q3d", kNoCancel, FILE_ATTRIBUTE_HIDDEN, false, ""},
  };
  const std::string path = folder_ / "kept.q3d";
  for (const auto& c : cases) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    TempFolder::WriteFile(path, earlier);
    SetFileAttributesA(path.c_str(), c.attributes);
    // Held as a C stream holds it, sharing reads and writes: no rename can
    // replace it then, and writing into it instead is what a disk that
    // fills or a share that drops leaves half new.
    win::UniqueFile holder;
    if (c.held) {
      holder.reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      ASSERT_TRUE(holder);
    }
    const bool finished = c.cancel == kNoCancel && c.failure.empty();
    std::function<void(DialogDriver&)> drive;  // a finished download ends by itself
    if (!finished) {
      drive = [&](DialogDriver& d) {
        if (c.cancel == kWhileCopying) {
          EXPECT_TRUE(WaitUntil([&] { return Status(d).find(" Bytes / ") != std::string::npos; },
                                kWaitMs, 20));
        }
        if (!c.failure.empty()) {
          EXPECT_TRUE(d.WaitForText(IDC_DL_STATUS, c.failure, kWaitMs)) << c.object << Status(d);
        }
        EXPECT_TRUE(d.Click(IDCANCEL)) << c.object;
      };
    }
    const Outcome outcome = Download(Server() + c.object, 1, drive);
    holder.reset();
    EXPECT_EQ(outcome.result, finished ? 1 : 0) << c.object;
    const std::string now = Stored("kept.q3d");
    EXPECT_TRUE(now == (finished ? Pattern(300000) : earlier)) << c.object << ": " << now.size();
    EXPECT_EQ(Names(), std::vector<std::string>{"kept.q3d"}) << c.object;
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN,
              c.attributes & FILE_ATTRIBUTE_HIDDEN)
        << c.object;
  }
}

// The earlier file goes while the download runs: the finished download
// simply takes its name.
TEST_F(DownloadWinTest, AnEarlierFileThatWentMeanwhileIsNoFailure) {
  const std::string path = folder_ / "gone.q3d";
  TempFolder::WriteFile(path, "an earlier file of the user's");
  const Outcome outcome =
      Download(Server() + "/gate/16384/4096/gone.q3d", 1, [&](DialogDriver& d) {
        EXPECT_TRUE(WaitUntil([&] { return Status(d).find(" Bytes / 16384 Bytes") != std::string::npos; },
                              kWaitMs, 20));
        EXPECT_TRUE(DeleteFileA(path.c_str()));
        AskServer("/release");
      });
  EXPECT_EQ(outcome.result, 1);
  EXPECT_TRUE(Stored("gone.q3d") == Pattern(16384));
  EXPECT_EQ(Names(), std::vector<std::string>{"gone.q3d"});
}

// A server that has gone silent after the headers and a first kilobyte, and
// one that never answers the request: Cancel, two seconds in, ends the
// dialog at once instead of when the line gives up. What came stays in a
// new file; an earlier file stays as it was, and nothing is left beside it
// once the worker has stopped (under Wine, whose WinInet does not end a
// waiting call when its handle is closed, that is when the server ends its
// silence).
TEST_F(DownloadWinTest, CancelEndsTheDialogWhileTheLineIsSilent) {
  const std::string earlier = "an earlier file of the user's";
  TempFolder::WriteFile(folder_ / "kept.q3d", earlier);
  const struct {
    std::string object;
    std::string name;
    std::string stays;  // the file's content afterwards
    bool exists;
  } cases[] = {
      {"/silent/100000/1024/20/silent.q3d", "silent.q3d", Pattern(1024), true},
      {"/mute/20/mute.q3d", "mute.q3d", "", false},
      {"/silent/100000/1024/20/kept.q3d", "kept.q3d", earlier, true},
  };
  for (const auto& c : cases) {
    DWORD pressed = 0, gone = 0;
    const Outcome outcome = Download(Server() + c.object, 1, [&](DialogDriver& d) {
      const DWORD shown = GetTickCount();
      if (c.exists) {
        EXPECT_TRUE(d.WaitForText(IDC_DL_STATUS, "ダウンロード中... 1024 Bytes / 100000 Bytes",
                                  kWaitMs))
            << c.object << ": " << Status(d);
      }
      const DWORD waited = GetTickCount() - shown;
      if (waited < 2000) Sleep(2000 - waited);
      pressed = GetTickCount();
      EXPECT_TRUE(d.Click(IDCANCEL));
      // The server stays silent for 20 s, and WinInet waits longer still.
      EXPECT_TRUE(d.WaitUntilGone(10000)) << c.object << ": " << Status(d);
      gone = GetTickCount();
    });
    EXPECT_EQ(outcome.result, 0) << c.object;
    std::printf("%s: Cancel answered in %lu ms\n", c.object.c_str(),
                static_cast<unsigned long>(gone - pressed));
    const auto settled = [&] {
      for (const std::string& name : Names()) {
        if (name != "kept.q3d" && name != "silent.q3d") return false;  // left beside
      }
      return TempFolder::Exists(folder_ / c.name) == c.exists &&
             (!c.exists || Stored(c.name) == c.stays);
    };
    EXPECT_TRUE(WaitUntil(settled, 60000)) << c.object << ": " << Names().size() << " files";
  }
  std::vector<std::string> names = Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"kept.q3d", "silent.q3d"}));
}

TEST_F(DownloadWinTest, AutomaticDownloadStartsWithoutInput) {
  const Outcome outcome = Download(Server() + "/slow/204800/auto.q3d", 1, [](DialogDriver& d) {
    ControlState box, ok;
    ASSERT_TRUE(d.ReadState(IDC_DL_AUTOMATIC, box));
    ASSERT_TRUE(d.ReadState(IDC_DL_START, ok));
    EXPECT_TRUE(box.checked);
    EXPECT_FALSE(ok.enabled);
  });
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.slot, "auto.q3d");
  EXPECT_EQ(outcome.automatic, 1);
  EXPECT_TRUE(Stored("auto.q3d") == Pattern(204800));
}

TEST_F(DownloadWinTest, AFastLargeDownloadEnds) {
  // Thousands of pieces as fast as the loopback gives them: the end notice
  // still reaches the dialog.
  const Outcome outcome = Download(Server() + "/data/20000000/large.q3d", 1, nullptr);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.slot, "large.q3d");
  EXPECT_TRUE(Stored("large.q3d") == Pattern(20000000));
}

TEST_F(DownloadWinTest, UncheckingDuringDownloadReturnsTheNewChoice) {
  const Outcome outcome = Download(Server() + "/slow/204800/choice.q3d", 1, [](DialogDriver& d) {
    ASSERT_TRUE(d.SetCheck(IDC_DL_AUTOMATIC, false));
  });
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.automatic, 0);
  EXPECT_TRUE(Stored("choice.q3d") == Pattern(204800));
}

TEST_F(DownloadWinTest, AnswersThatAreStored) {
  const struct {
    std::string object;
    std::string name;
    std::string body;
  } cases[] = {
      {"/status/404/missing.q3d", "missing.q3d", "status 404 body\n"},
      {"/redirect/302/data/5000/elsewhere.bin", "elsewhere.bin", Pattern(5000)},
      {"/redirect/301/data/3000/x", "x", Pattern(3000)},
      {"/nolength/70000/nolength.q3d", "nolength.q3d", Pattern(70000)},
      {"/data/3000/a..b.q3d", "a..b.q3d", Pattern(3000)},  // ".." inside a name stays in the folder
  };
  for (const auto& c : cases) {
    const Outcome outcome = Download(Server() + c.object, 1, nullptr);
    EXPECT_EQ(outcome.result, 1) << c.object;
    EXPECT_EQ(outcome.slot, c.name) << c.object;
    EXPECT_TRUE(Stored(c.name) == c.body) << c.object;
  }
}

TEST_F(DownloadWinTest, TheRequestCarriesOurHeaders) {
  const Outcome outcome = Download(Server() + "/headers/h.txt", 1, nullptr);
  ASSERT_EQ(outcome.result, 1);
  const std::string headers = Stored("h.txt");
  EXPECT_NE(headers.find("Accept: text/*\r\n"), std::string::npos) << headers;
  EXPECT_NE(headers.find("User-Agent: 3D Domirel Designer\r\n"), std::string::npos) << headers;
}

TEST_F(DownloadWinTest, FailuresStayOnScreenUntilCancelled) {
  const struct {
    std::string url;
    std::string text;
  } cases[] = {
      {"ftp://127.0.0.1/a.q3d", "ダウンロード元を参照できません"},
      {Server() + "/nolocation/302/a.q3d", "リダイレクト先が存在しません"},
      {Server() + "/redirect-ftp/a.q3d", "リダイレクト先を参照できません"},
      {Server() + "/redirect/302/redirect/302/data/10/a.q3d", "HTTPエラー 302"},
      {Server() + "/data/10/x\\..\\..\\evil.q3d", "保存するファイル名が正しくありません"},
      {Server() + "/data/10/c:evil.q3d", "保存するファイル名が正しくありません"},
      {Server() + "/data/10/", "保存するファイル名が正しくありません"},
      {Server() + "/drop/300000/cut.q3d", "ダウンロードが途中で切断されました"},
      {"http://127.0.0.1:" + AskServer("/closed-port") + "/a.q3d",
       "インターネットに接続できません"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = Download(c.url, 1, [&](DialogDriver& d) {
      EXPECT_TRUE(d.WaitForText(IDC_DL_STATUS, c.text, kWaitMs)) << c.url << ": " << Status(d);
      if (c.text == "HTTPエラー 302") Screenshot(d, "download_failed");
      if (c.text == "インターネットに接続できません") Screenshot(d, "download_no_connection");
      Sleep(200);  // the failure notice has come: the dialog stays
      EXPECT_TRUE(d.Present());
      ControlState ok;
      EXPECT_TRUE(d.ReadState(IDC_DL_START, ok));
      EXPECT_FALSE(ok.enabled);
      EXPECT_TRUE(d.Click(IDCANCEL));
    });
    EXPECT_EQ(outcome.result, 0) << c.url;
    EXPECT_EQ(outcome.slot, "old") << c.url;
  }
  // Nothing was written beside or above the folder.
  EXPECT_FALSE(TempFolder::Exists(folder_ / "..\\evil.q3d"));
  EXPECT_FALSE(TempFolder::Exists(folder_ / "..\\..\\evil.q3d"));
}

TEST_F(DownloadWinTest, AFileThatCannotBeCreatedIsAFailure) {
  const Outcome outcome =
      DownloadInto(Server() + "/data/10/a.q3d", folder_ / "no such folder", 1, [](DialogDriver& d) {
        EXPECT_TRUE(d.WaitForText(IDC_DL_STATUS, "ファイルを作成できません", kWaitMs)) << Status(d);
        EXPECT_TRUE(d.Click(IDCANCEL));
      });
  EXPECT_EQ(outcome.result, 0);
}

// Cancel pressed while the worker is still connecting, and the download then
// fails before the worker looks at Cancel again: the dialog ends all the same.
TEST_F(DownloadWinTest, CancelPressedBeforeAFailureEndsTheDialog) {
  const Outcome outcome = DownloadInto(Server() + "/late/1500/a.q3d", folder_ / "no such folder", 1,
                                       [](DialogDriver& d) {
                                         EXPECT_TRUE(d.Click(IDCANCEL));
                                         EXPECT_TRUE(d.WaitUntilGone(kWaitMs)) << Status(d);
                                       });
  EXPECT_EQ(outcome.result, 0);
}

TEST_F(DownloadWinTest, RefusedPassword) {
  const Outcome outcome = Download(Server() + "/auth/locked.q3d", 1, [](DialogDriver& d) {
    // The platform's password dialog, if it shows one, is cancelled.
    const bool refused = WaitUntil(
        [&] {
          for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            if (w != d.window() && process == GetCurrentProcessId() && IsWindowVisible(w)) {
              PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
            }
          }
          return Status(d) == "パスワードが違います。アクセスが拒否されました";
        },
        kWaitMs, 200);
    EXPECT_TRUE(refused) << Status(d);
    EXPECT_TRUE(d.Click(IDCANCEL));
  });
  EXPECT_EQ(outcome.result, 0);
  EXPECT_FALSE(TempFolder::Exists(folder_ / "locked.q3d"));
}

}  // namespace
}  // namespace kx::hostkit
