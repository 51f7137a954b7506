#include "hostkit/net/download_names.h"

#include <gtest/gtest.h>

#include <climits>

namespace kx::hostkit {
namespace {

// The same name whether the address is read in code page 932 or in 1252:
// "/" is never the second byte of a character.
TEST(UrlFileName, IsWhatFollowsTheLastSlash) {
  const struct {
    const char* url;
    const char* name;
  } cases[] = {
      {"http://example.com/parts/chair.q3d", "chair.q3d"},
      {"http://example.com/parts/", ""},
      {"example", "~temp.q3d"},
      {"", "~temp.q3d"},
      {"http://h/a/b?x=1/2", "2"},
      {"http://h/表/ソファ.q3d", "ソファ.q3d"},  // trail bytes 0x5C are not separators
      {"http://h/x\\..\\..\\evil.q3d", "x\\..\\..\\evil.q3d"},
      {"http://h/\x83/a.q3d", "a.q3d"},  // a lead byte does not hide the "/" behind it
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UrlFileName(c.url, kCodePage932), c.name) << c.url;
    EXPECT_EQ(UrlFileName(c.url, kSingleByteCodePage), c.name) << c.url;
  }
}

TEST(UrlFileName, AHostAloneGivesTheHostAsName) {
  EXPECT_EQ(UrlFileName("http://example.com", kCodePage932), "example.com");
}

TEST(IsSafeFileName, KeepsTheFileInsideItsFolder) {
  const struct {
    const char* name;
    bool safe_932;
    bool safe_1252;
  } cases[] = {
      {"chair.q3d", true, true},
      {"~temp.q3d", true, true},
      {"ソファ.q3d", true, false},  // 83 5C: a second byte in 932, a backslash in 1252
      {"表示.q3d", true, false},
      {"a\x95\\..", true, false},  // "a表.." in 932; in 1252 the parent of a folder "a•"
      {"a b-c_d(1).q3d", true, true},
      {"name.", true, true},  // stays in the folder: Windows drops the dot
      {"", false, false},
      {".", false, false},
      {"..", false, false},
      {"...", false, false},
      {" ", false, false},
      {"a..b", true, true},  // ".." inside a name leaves nothing
      {"a..b.q3d", true, true},
      {"..a", true, true},
      {"x\\..\\evil.q3d", false, false},
      {"sub\\file.q3d", false, false},
      {"c:evil.q3d", false, false},
      {"file.q3d:stream", false, false},
      {"a*b", false, false},
      {"a?b", false, false},
      {"get.php?id=3", false, false},
      {"a\"b", false, false},
      {"a<b", false, false},
      {"a>b", false, false},
      {"a|b", false, false},
      {"tab\there", false, false},
      {"CON", false, false},
      {"nul.q3d", false, false},
      {"Com1", false, false},
      {"LPT9.txt", false, false},
      {"aux .txt", false, false},
      {"CONOUT$", false, false},
      {"COM0", true, true},
      {"console.q3d", true, true},
      {"\x83", false, true},  // a lead byte without its second byte; "ƒ" in 1252
      {"\xF8/evil", false, false},
      {"\x83:x", false, false},
      {"\x81\x7F", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsSafeFileName(c.name, kCodePage932), c.safe_932) << c.name;
    EXPECT_EQ(IsSafeFileName(c.name, kSingleByteCodePage), c.safe_1252) << c.name;
  }
}

TEST(LocationTarget, IsCutAtTheLineFeed) {
  const struct {
    const char* headers;
    std::optional<std::string> target;
  } cases[] = {
      {"HTTP/1.1 302 Found\r\nLocation: http://h/a.q3d\r\nServer: x\r\n\r\n",
       std::string("http://h/a.q3d\r")},
      {"HTTP/1.1 302 Found\r\nServer: x\r\nLocation: http://h/b\n", std::string("http://h/b")},
      {"HTTP/1.1 302 Found\r\nLocation: http://h/end", std::string("http://h/end")},
      {"HTTP/1.1 302 Found\r\nLocation: \nX: y\r\n",
       std::string("\nX: y\r\n")},  // a line feed at 0 does not cut
      {"HTTP/1.1 302 Found\r\nLocation: ", std::string("")},
      {"HTTP/1.1 302 Found\r\nlocation: http://h/a\r\n", std::nullopt},  // case-sensitive
      {"HTTP/1.1 302 Found\r\nLocation:http://h/a\r\n", std::nullopt},   // the blank is needed
      {"HTTP/1.1 302 Found\r\nContent-Location: http://h/c\r\nLocation: http://h/d\r\n",
       std::string("http://h/c\r")},  // the first occurrence counts
  };
  for (const auto& c : cases) EXPECT_EQ(LocationTarget(c.headers), c.target) << c.headers;
  // The rest after a line feed at position 0 is kept whole.
  EXPECT_EQ(LocationTarget("Location: \nX: y"), std::string("\nX: y"));
}

TEST(StatusCodeText, TableAndEveryOtherCode) {
  const struct {
    int status;
    const char* text;
  } cases[] = {
      {200, "ダウンロード開始"},
      {201, "Created"},
      {202, "Accepted"},
      {204, "No Content"},
      {301, "Moved Permanently"},
      {302, "Moved Temporarily"},
      {304, "Not Modified"},
      {400, "Bad Request"},
      {401, "Unauthorized"},
      {403, "Forbidden"},
      {404, "ファイル未検出"},
      {500, "Internal Server Error"},
      {501, "Not Inplemented"},
      {502, "Bad Gateway"},
      {503, "Service Unavailable"},
      {203, ""},
      {303, ""},
      {0, ""},
      {-1, ""},
      {999, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(StatusCodeText(c.status), c.text) << c.status;
  EXPECT_EQ(HttpErrorText(302), "HTTPエラー 302");
}

TEST(TotalBytesShown, ReadsTheHeaderAsAtolAndIsAtLeastOne) {
  const struct {
    std::optional<std::string> header;
    std::int32_t total;
  } cases[] = {
      {std::nullopt, 1},
      {std::string(""), 1},
      {std::string("0"), 1},
      {std::string("abc"), 1},
      {std::string("1234"), 1234},
      {std::string("  77 "), 77},
      {std::string("12abc"), 12},
      {std::string("+5"), 5},
      {std::string("-5"), 1},
      {std::string("2147483647"), INT32_MAX},
      {std::string("99999999999999999999999"), INT32_MAX},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TotalBytesShown(c.header), c.total) << c.header.value_or("(none)");
  }
  EXPECT_EQ(ContentLengthValue("99999999999999999999999"), INT64_MAX);
  EXPECT_EQ(ContentLengthValue("-12x"), -12);
}

TEST(ProgressPercent, TruncatesAndStaysOnTheBar) {
  EXPECT_EQ(ProgressPercent(0, 1000), 0);
  EXPECT_EQ(ProgressPercent(999, 1000), 99);
  EXPECT_EQ(ProgressPercent(1000, 1000), 100);
  EXPECT_EQ(ProgressPercent(1, 3), 33);
  // Without a length the total is 1: far past 100, the bar stays full.
  EXPECT_EQ(ProgressPercent(INT32_MAX, 1), 100);
  EXPECT_EQ(ProgressPercent(5, 0), 0);
  EXPECT_EQ(ByteCountText(1024, 4096), "ダウンロード中... 1024 Bytes / 4096 Bytes");
}

TEST(CentredOrigin, CentresAndKeepsTheTopLeftOnScreen) {
  EXPECT_EQ(CentredOrigin(400, 300, 200, 100).x, 300);
  EXPECT_EQ(CentredOrigin(400, 300, 200, 100).y, 250);
  EXPECT_EQ(CentredOrigin(400, 300, 201, 101).x, 300);  // width / 2 rounds down
  EXPECT_EQ(CentredOrigin(50, 20, 200, 100).x, 0);
  EXPECT_EQ(CentredOrigin(50, 20, 200, 100).y, 0);
  EXPECT_EQ(CentredOrigin(-500, -500, 10, 10).x, 0);
}

}  // namespace
}  // namespace kx::hostkit
