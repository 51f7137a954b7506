// The Win32 side of the download's HTTP client and target file, without a
// server: how addresses are parsed, and what the gathered file writes keep.
#include <windows.h>

#include "hostkit/net/wininet_client_win32.h"
// windows.h first
#include <gtest/gtest.h>

#include "platform/win32/unique_resource.h"
#include "tests/win/temp_folder.h"

namespace kx::hostkit {
namespace {

using test::TempFolder;

TEST(WinInetClient, ParsesAddressesAsTheRequestNeedsThem) {
  WinInetLine line;
  WinInetClient client(line);
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
  WinInetLine line;
  WinInetClient client(line);
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
    std::unique_ptr<TargetFile> file = files.CreateNew(path);
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

TEST(Win32TargetFiles, CreateNewRefusesWhatIsThereOrCannotBeMade) {
  TempFolder folder("kx target");
  Win32TargetFiles files;
  TempFolder::WriteFile(folder / "old.q3d", "the user's");
  EXPECT_EQ(files.CreateNew(folder / "old.q3d"), nullptr);
  EXPECT_EQ(TempFolder::ReadFile(folder / "old.q3d"), "the user's");
  EXPECT_EQ(files.CreateNew(folder / "missing folder\\a.q3d"), nullptr);
  std::string folder_itself = folder.path();
  folder_itself.pop_back();
  EXPECT_EQ(files.CreateNew(folder_itself + "\\"), nullptr);  // the name that ends in "/"
}

// An earlier file is replaced whole by the file written beside it, or not
// at all: never when it is read-only, a folder, or held open by another
// program, even one that shares reads and writes as a C stream does (no
// rename can replace it then). A file that is not replaced keeps its
// content. One that went meanwhile leaves its name to the new file.
TEST(Win32TargetFiles, ReplacesAnEarlierFileOnlyWhereWindowsAllowsIt) {
  TempFolder folder("kx target");
  std::string base = folder.path();
  base.pop_back();
  Win32TargetFiles files;
  const std::string earlier = folder / "kept.q3d";
  const struct {
    const char* what;
    DWORD attributes;
    DWORD held_access, held_sharing;  // a holder's handle, when access is not 0
    bool replaced;
  } cases[] = {
      {"plain", FILE_ATTRIBUTE_NORMAL, 0, 0, true},
      {"held as a stream", FILE_ATTRIBUTE_NORMAL, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
       false},
      {"read-only", FILE_ATTRIBUTE_READONLY, 0, 0, false},
      {"held without sharing writes", FILE_ATTRIBUTE_NORMAL, GENERIC_READ, FILE_SHARE_READ, false},
  };
  for (const auto& c : cases) {
    SetFileAttributesA(earlier.c_str(), FILE_ATTRIBUTE_NORMAL);
    TempFolder::WriteFile(earlier, "the user's");
    SetFileAttributesA(earlier.c_str(), c.attributes);
    win::UniqueFile held;
    if (c.held_access != 0) {
      held.reset(CreateFileA(earlier.c_str(), c.held_access, c.held_sharing, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
      ASSERT_TRUE(held) << c.what;
    }
    EXPECT_EQ(files.Replaceable(earlier), c.replaced) << c.what;
    std::string beside;
    std::unique_ptr<TargetFile> file = files.CreateBeside(base, beside);
    ASSERT_TRUE(file) << c.what;
    EXPECT_EQ(beside.rfind(folder.path(), 0), 0u) << beside;  // in the same folder
    ASSERT_TRUE(file->Write("downloaded", 10));
    ASSERT_TRUE(file->Close());
    file.reset();
    EXPECT_EQ(files.Replace(beside, earlier), c.replaced) << c.what;
    held.reset();
    EXPECT_EQ(TempFolder::ReadFile(earlier), c.replaced ? "downloaded" : "the user's") << c.what;
    EXPECT_EQ(TempFolder::Exists(beside), !c.replaced) << c.what;
    files.Remove(beside);
    EXPECT_FALSE(TempFolder::Exists(beside));
  }
  std::string beside;
  std::unique_ptr<TargetFile> file = files.CreateBeside(base, beside);
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->Write("downloaded", 10));
  ASSERT_TRUE(file->Close());
  DeleteFileA(earlier.c_str());
  EXPECT_TRUE(files.Replace(beside, earlier));
  EXPECT_EQ(TempFolder::ReadFile(earlier), "downloaded");
  EXPECT_FALSE(TempFolder::Exists(beside));
  // A folder of that name is never replaced.
  ASSERT_TRUE(CreateDirectoryA((folder / "sub").c_str(), nullptr));
  EXPECT_FALSE(files.Replaceable(folder / "sub"));
  EXPECT_FALSE(files.Replaceable(folder / "missing.q3d"));
}

}  // namespace
}  // namespace kx::hostkit
