// The Win32 side of the download's HTTP client and target file, without a
// server: how addresses are parsed, and what the gathered file writes keep.
#include <windows.h>

#include "hostkit/net/wininet_client_win32.h"
// windows.h first
#include <gtest/gtest.h>

#include "tests/win/temp_folder.h"

namespace kx::hostkit {
namespace {

using test::TempFolder;

TEST(WinInetClient, ParsesAddressesAsTheRequestNeedsThem) {
  WinInetClient client;
  const struct {
    const char* url;
    bool parsed, http;
    const char* server;
    const char* object;
    std::uint16_t port;
  } cases[] = {
      {"http://example.jp/parts/chair.q3d", true, true, "example.jp", "/parts/chair.q3d", 80},
      {"http://127.0.0.1:8080/a/b?x=1&y=2", true, true, "127.0.0.1", "/a/b?x=1&y=2", 8080},
      {"http://example.jp", true, true, "example.jp", "/", 80},
      {"HTTP://Example.JP/x", true, true, "Example.JP", "/x", 80},
      {"https://example.jp/x", true, false, "example.jp", "/x", 443},
      {"ftp://example.jp/x", true, false, "example.jp", "/x", 21},
      {"not an address", false, false, "", "", 0},
      {"", false, false, "", "", 0},
  };
  for (const auto& c : cases) {
    const std::optional<ParsedUrl> url = client.ParseUrl(c.url);
    ASSERT_EQ(url.has_value(), c.parsed) << c.url;
    if (!url) continue;
    EXPECT_EQ(url->http, c.http) << c.url;
    EXPECT_EQ(url->server, c.server) << c.url;
    EXPECT_EQ(url->object, c.object) << c.url;
    EXPECT_EQ(url->port, c.port) << c.url;
  }
}

TEST(WinInetClient, ARedirectionTargetWithItsCarriageReturnStillParses) {
  WinInetClient client;
  const std::optional<ParsedUrl> url = client.ParseUrl("http://127.0.0.1:81/new/x.q3d\r");
  ASSERT_TRUE(url.has_value());
  EXPECT_EQ(url->server, "127.0.0.1");
  EXPECT_EQ(url->port, 81);
}

std::string Pieces(std::size_t count) {
  std::string bytes;
  for (std::size_t i = 0; i < count * 1024; ++i) bytes += static_cast<char>(i * 7 + i / 1024);
  return bytes;
}

TEST(Win32TargetFiles, KeepsEveryPieceOnCloseAndWithoutIt) {
  TempFolder folder("kx target");
  Win32TargetFiles files;
  const std::string bytes = Pieces(700);  // more than one gathered block
  for (bool close : {true, false}) {
    const std::string path = folder / (close ? "closed.q3d" : "dropped.q3d");
    std::unique_ptr<TargetFile> file = files.Create(path);
    ASSERT_TRUE(file);
    bool written = true;
    for (std::size_t at = 0; at < bytes.size(); at += 1024) {
      written = written && file->Write(bytes.data() + at, 1024);
    }
    EXPECT_TRUE(written);
    if (close) {
      EXPECT_TRUE(file->Close());
    }
    file.reset();  // a failure path drops the file without Close
    EXPECT_TRUE(TempFolder::ReadFile(path) == bytes) << path;
  }
}

TEST(Win32TargetFiles, CreateTruncatesAndRefusesWhatCannotBeMade) {
  TempFolder folder("kx target");
  Win32TargetFiles files;
  TempFolder::WriteFile(folder / "old.q3d", "an older, longer file");
  std::unique_ptr<TargetFile> file = files.Create(folder / "old.q3d");
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->Write("new", 3));
  ASSERT_TRUE(file->Close());
  EXPECT_EQ(TempFolder::ReadFile(folder / "old.q3d"), "new");
  EXPECT_EQ(files.Create(folder / "missing folder\\a.q3d"), nullptr);
  std::string folder_itself = folder.path();
  folder_itself.pop_back();
  EXPECT_EQ(files.Create(folder_itself + "\\"), nullptr);  // the name that ends in "/"
}

}  // namespace
}  // namespace kx::hostkit
