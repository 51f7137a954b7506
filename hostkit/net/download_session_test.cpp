#include "hostkit/net/download_session.h"

#include <gtest/gtest.h>

#include "hostkit/net/download_fakes.h"

namespace kx::hostkit {
namespace {

using test::FakeHttpClient;
using test::FakeResponse;
using test::MemoryTargetFiles;
using test::RecordingDialog;
using Texts = std::vector<std::string>;

constexpr char kServer[] = "files.example:8080";
constexpr char kFolder[] = "C:\\Downloads";

std::string Body(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>((i * 31 + (i >> 10)) & 0xFF);
  return body;
}

FakeResponse Ok(std::string body, bool with_length = true) {
  FakeResponse r;
  r.status = 200;
  if (with_length) r.content_length = std::to_string(body.size());
  r.body = std::move(body);
  return r;
}

FakeResponse Redirect(int status, const std::string& location) {
  FakeResponse r;
  r.status = status;
  r.raw_headers = "HTTP/1.1 " + std::to_string(status) + " Moved\r\nServer: t\r\n" + location +
                  "Content-Length: 0\r\n\r\n";
  r.content_length = "0";
  return r;
}

class DownloadTest : public ::testing::Test {
 protected:
  int Run(const std::string& url) {
    job_ = std::make_unique<DownloadJob>(url, kFolder);
    dialog_ = std::make_unique<RecordingDialog>(*job_);
    if (cancel_after_) dialog_->cancel_after_progress = cancel_after_;
    dialog_->cancel_at_text = cancel_at_text_;
    dialog_->hold_progress = hold_progress_;
    dialog_->refusals = refusals_;
    DownloadThreadBody(*job_, {http_, files_, *dialog_});
    return dialog_->Finals().empty() ? -1 : static_cast<int>(dialog_->Finals().back());
  }
  std::string Url(const std::string& object) { return std::string("http://") + kServer + object; }
  void Serve(const std::string& object, FakeResponse response) {
    http_.responses[std::string(kServer) + " " + object] = std::move(response);
  }
  void ExpectEverythingReleased() {
    EXPECT_EQ(http_.log.open_requests, 0);
    EXPECT_EQ(http_.log.open_connections, 0);
    EXPECT_EQ(http_.log.open_sessions, 0);
    EXPECT_EQ(files_.open_files, 0);
  }
  using Finals = std::vector<DownloadNotice>;
  const Finals kDone{DownloadNotice::kDone};
  const Finals kFailed{DownloadNotice::kFailed};

  FakeHttpClient http_;
  MemoryTargetFiles files_;
  std::unique_ptr<DownloadJob> job_;
  std::unique_ptr<RecordingDialog> dialog_;
  std::optional<int> cancel_after_;
  std::optional<std::string> cancel_at_text_;
  bool hold_progress_ = false;
  int refusals_ = 0;
};

TEST_F(DownloadTest, StoresTheBodyInPiecesAndReportsEachOne) {
  const std::string body = Body(3000);
  Serve("/parts/chair.q3d", Ok(body));
  Run(Url("/parts/chair.q3d"));
  EXPECT_EQ(dialog_->Finals(), kDone);
  EXPECT_EQ(dialog_->Texts(), (Texts{"インターネットに接続中...", "ダウンロード開始",
                                     "ダウンロード中...", "ダウンロード完了"}));
  EXPECT_EQ(files_.files.at("C:\\Downloads\\chair.q3d"), body);
  EXPECT_EQ(job_->FileName(), "chair.q3d");
  EXPECT_EQ(job_->total_bytes, 3000);
  EXPECT_EQ(job_->received_bytes, 3000);
  EXPECT_EQ(dialog_->progress_inits, 1);
  // 1024 + 1024 + 952.
  ASSERT_EQ(dialog_->ProgressNotices(), 3);
  std::vector<std::int32_t> counts;
  for (const auto& e : dialog_->posted) {
    if (e.lparam == 1) counts.push_back(e.received);
  }
  EXPECT_EQ(counts, (std::vector<std::int32_t>{1024, 2048, 3000}));
  EXPECT_EQ(http_.log.events,
            (Texts{"parse " + Url("/parts/chair.q3d"), "connect files.example:8080",
                   "get files.example:8080 /parts/chair.q3d", "send"}));
  ExpectEverythingReleased();
}

TEST_F(DownloadTest, SourcesThatCannotBeUsedEndBeforeAnyConnection) {
  for (const char* url : {"ftp://files.example/a.q3d", "not a url", "https://files.example/a"}) {
    http_.log.events.clear();
    Run(url);
    EXPECT_EQ(dialog_->Finals(), kFailed) << url;
    EXPECT_EQ(dialog_->Texts(), Texts{"ダウンロード元を参照できません"}) << url;
    EXPECT_EQ(http_.log.events, Texts{std::string("parse ") + url});
    EXPECT_TRUE(files_.created.empty());
  }
  ExpectEverythingReleased();
}

TEST_F(DownloadTest, FollowsOneRedirectionAndNamesTheFileAfterTheRequestedUrl) {
  for (int status : {301, 302, 303}) {
    Serve("/old/model.q3d", Redirect(status, "Location: http://mirror.example:81/new/x.bin\r\n"));
    http_.responses["mirror.example:81 /new/x.bin"] = Ok("moved body");
    Run(Url("/old/model.q3d"));
    EXPECT_EQ(dialog_->Finals(), kDone) << status;
    EXPECT_EQ(dialog_->Texts(),
              (Texts{"インターネットに接続中...", "リダイレクト中...", "ダウンロード開始",
                     "ダウンロード中...", "ダウンロード完了"}));
    EXPECT_EQ(files_.files.at("C:\\Downloads\\model.q3d"), "moved body");
    EXPECT_EQ(job_->FileName(), "model.q3d");
  }
  ExpectEverythingReleased();
}

TEST_F(DownloadTest, RedirectionFailures) {
  const struct {
    std::string location;
    std::string text;
  } cases[] = {
      {"", "リダイレクト先が存在しません"},
      {"location: http://mirror.example/x\r\n", "リダイレクト先が存在しません"},
      {"Location: nowhere\r\n", "リダイレクト先が正しくありません"},
      {"Location: ftp://mirror.example/x\r\n", "リダイレクト先を参照できません"},
      {"Location: http://mirror.example/again\r\n", "HTTPエラー 302"},
      {"Location: http://mirror.example/missing\r\n", "HTTPエラー 404"},
  };
  http_.responses["mirror.example:80 /again"] = Redirect(302, "Location: http://x/y\r\n");
  FakeResponse missing = Ok("gone");
  missing.status = 404;
  http_.responses["mirror.example:80 /missing"] = missing;
  for (const auto& c : cases) {
    Serve("/a.q3d", Redirect(302, c.location));
    Run(Url("/a.q3d"));
    EXPECT_EQ(dialog_->Finals(), kFailed) << c.location;
    ASSERT_FALSE(dialog_->Texts().empty());
    EXPECT_EQ(dialog_->Texts().back(), c.text) << c.location;
    EXPECT_TRUE(files_.created.empty());
    ExpectEverythingReleased();
  }
}

TEST_F(DownloadTest, ErrorStatusesAreStoredLikeAnyBody) {
  FakeResponse missing = Ok("<html>not found</html>");
  missing.status = 404;
  Serve("/gone.q3d", missing);
  Run(Url("/gone.q3d"));
  EXPECT_EQ(dialog_->Finals(), kDone);
  EXPECT_EQ(dialog_->Texts(), (Texts{"インターネットに接続中...", "ファイル未検出",
                                     "ダウンロード中...", "ダウンロード完了"}));
  EXPECT_EQ(files_.files.at("C:\\Downloads\\gone.q3d"), "<html>not found</html>");
}

TEST_F(DownloadTest, RefusedPassword) {
  FakeResponse locked = Ok("secret");
  locked.status = 401;
  Serve("/locked.q3d", locked);
  http_.password_retry = false;
  Run(Url("/locked.q3d"));
  EXPECT_EQ(dialog_->Finals(), kFailed);
  EXPECT_EQ(dialog_->Texts().back(), "パスワードが違います。アクセスが拒否されました");
  EXPECT_TRUE(files_.created.empty());

  // A retry sends once more; a second 401 is stored like any status.
  http_.password_retry = true;
  http_.log.events.clear();
  Run(Url("/locked.q3d"));
  EXPECT_EQ(dialog_->Finals(), kDone);
  EXPECT_EQ(dialog_->Texts()[1], "Unauthorized");
  const Texts tail(http_.log.events.end() - 3, http_.log.events.end());
  EXPECT_EQ(tail, (Texts{"send", "password dialog", "send"}));

  locked.status_after_retry = 200;
  Serve("/locked.q3d", locked);
  Run(Url("/locked.q3d"));
  EXPECT_EQ(dialog_->Texts()[1], "ダウンロード開始");
  EXPECT_EQ(files_.files.at("C:\\Downloads\\locked.q3d"), "secret");
  ExpectEverythingReleased();
}

TEST_F(DownloadTest, MissingOrOddLengthCountsAsOneByte) {
  Serve("/n.q3d", Ok(Body(2500), false));
  Run(Url("/n.q3d"));
  EXPECT_EQ(dialog_->Finals(), kDone);
  EXPECT_EQ(job_->total_bytes, 1);
  EXPECT_EQ(job_->received_bytes, 2500);
}

TEST_F(DownloadTest, NamesThatLeaveTheFolderAreRefused) {
  for (const char* object :
       {"/x\\..\\..\\evil.q3d", "/c:evil.q3d", "/..", "/dir/", "/NUL", "/get?id=3"}) {
    Serve(object, Ok("payload"));
    Run(Url(object));
    EXPECT_EQ(dialog_->Finals(), kFailed) << object;
    EXPECT_EQ(dialog_->Texts().back(), "保存するファイル名が正しくありません") << object;
    EXPECT_TRUE(files_.created.empty()) << object;
    EXPECT_EQ(job_->FileName(), "");
  }
  ExpectEverythingReleased();
}

TEST_F(DownloadTest, FileThatCannotBeCreatedOrWrittenIsAFailure) {
  Serve("/a.q3d", Ok(Body(5000)));
  files_.refuse_create = true;
  Run(Url("/a.q3d"));
  EXPECT_EQ(dialog_->Finals(), kFailed);
  EXPECT_EQ(dialog_->Texts().back(), "ファイルを作成できません");

  files_.refuse_create = false;
  files_.fail_write_after = 1500;
  Run(Url("/a.q3d"));
  EXPECT_EQ(dialog_->Finals(), kFailed);
  EXPECT_EQ(dialog_->Texts().back(), "ファイルに書き込めません");

  files_.fail_write_after.reset();
  files_.fail_close = true;
  Run(Url("/a.q3d"));
  EXPECT_EQ(dialog_->Finals(), kFailed);
  EXPECT_EQ(dialog_->Texts().back(), "ファイルに書き込めません");
  ExpectEverythingReleased();
}

TEST_F(DownloadTest, BodyShorterThanAnnouncedIsAFailure) {
  FakeResponse cut = Ok(Body(1500));
  cut.content_length = "4096";
  Serve("/cut.q3d", cut);
  Run(Url("/cut.q3d"));
  EXPECT_EQ(dialog_->Finals(), kFailed);
  EXPECT_EQ(dialog_->Texts().back(), "ダウンロードが途中で切断されました");
  EXPECT_EQ(files_.files.at("C:\\Downloads\\cut.q3d").size(), 1500u);
}

// A failure of the HTTP layer says what failed, one text for the line and
// one for the body, like every other failure: the dialog must not go on
// showing work in progress.
TEST_F(DownloadTest, HttpLayerFailuresSayWhatFailed) {
  FakeResponse broken = Ok(Body(5000));
  broken.fail_read_at = 2048;
  Serve("/broken.q3d", broken);
  FakeResponse unsent = Ok("x");
  unsent.fail_send = true;
  Serve("/unsent.q3d", unsent);
  Serve("/away.q3d", Redirect(302, "Location: http://nobody.example/x.q3d\r\n"));
  const struct {
    const char* object;
    bool fail_session;
    const char* text;
  } cases[] = {
      {"/broken.q3d", false, "ダウンロード中にエラーが発生しました"},
      {"/nobody-listens.q3d", false, "インターネットに接続できません"},  // connection refused
      {"/unsent.q3d", false, "インターネットに接続できません"},
      {"/away.q3d", false, "インターネットに接続できません"},  // the redirection target
      {"/unsent.q3d", true, "インターネットに接続できません"},
  };
  for (const auto& c : cases) {
    http_.fail_session = c.fail_session;
    Run(Url(c.object));
    EXPECT_EQ(dialog_->Finals(), kFailed) << c.object;
    ASSERT_FALSE(dialog_->Texts().empty()) << c.object;
    EXPECT_EQ(dialog_->Texts().back(), c.text) << c.object;
  }
  EXPECT_EQ(files_.files.at("C:\\Downloads\\broken.q3d").size(), 2048u);
  ExpectEverythingReleased();
}

TEST_F(DownloadTest, CancelStopsAfterTheCurrentPiece) {
  Serve("/big.q3d", Ok(Body(10 * 1024)));
  cancel_after_ = 3;
  Run(Url("/big.q3d"));
  EXPECT_EQ(dialog_->Finals(), (Finals{DownloadNotice::kCancelled, DownloadNotice::kFailed}));
  EXPECT_EQ(files_.files.at("C:\\Downloads\\big.q3d"), Body(3 * 1024));
  EXPECT_EQ(dialog_->Texts().back(), "ダウンロード中...");  // no "complete"
  EXPECT_EQ(http_.log.reads, 3);
  ExpectEverythingReleased();
}

TEST_F(DownloadTest, CancelWhileConnectingTouchesNoFile) {
  Serve("/big.q3d", Ok(Body(10 * 1024)));
  cancel_at_text_ = "インターネットに接続中...";
  Run(Url("/big.q3d"));
  EXPECT_EQ(dialog_->Finals(), (Finals{DownloadNotice::kCancelled, DownloadNotice::kFailed}));
  EXPECT_TRUE(files_.created.empty());
  EXPECT_EQ(http_.log.reads, 0);
  ExpectEverythingReleased();
}

// A file of the same name that was there before stays the user's until a
// download has finished: it is written beside it and put in its place at
// the end. A cancelled or failed download leaves it as it was, and nothing
// beside it.
TEST_F(DownloadTest, AnEarlierFileIsReplacedOnlyByAFinishedDownload) {
  const std::string kept = "C:\\Downloads\\kept.q3d";
  FakeResponse cut = Ok(Body(1500));
  cut.content_length = "4096";
  FakeResponse broken = Ok(Body(5000));
  broken.fail_read_at = 2048;
  Serve("/whole/kept.q3d", Ok(Body(5000)));
  Serve("/cut/kept.q3d", cut);
  Serve("/broken/kept.q3d", broken);
  const struct {
    const char* object;
    std::optional<int> cancel_after;
    bool read_only, fail_replace;
    const char* text;  // the last status text
  } cases[] = {
      {"/whole/kept.q3d", std::nullopt, false, false, "ダウンロード完了"},
      {"/whole/kept.q3d", 2, false, false, "ダウンロード中..."},
      {"/cut/kept.q3d", std::nullopt, false, false, "ダウンロードが途中で切断されました"},
      {"/broken/kept.q3d", std::nullopt, false, false, "ダウンロード中にエラーが発生しました"},
      {"/whole/kept.q3d", std::nullopt, true, false, "ファイルを作成できません"},
      {"/whole/kept.q3d", std::nullopt, false, true, "ファイルに書き込めません"},
  };
  for (const auto& c : cases) {
    files_ = MemoryTargetFiles();
    files_.files[kept] = "the user's file";
    if (c.read_only) files_.read_only.insert(kept);
    files_.fail_replace = c.fail_replace;
    cancel_after_ = c.cancel_after;
    Run(Url(c.object));
    const bool finished = std::string(c.text) == "ダウンロード完了";
    EXPECT_EQ(dialog_->Finals().front(), finished         ? DownloadNotice::kDone
                                         : c.cancel_after ? DownloadNotice::kCancelled
                                                          : DownloadNotice::kFailed)
        << c.text;
    EXPECT_EQ(dialog_->Texts().back(), c.text);
    ASSERT_EQ(files_.files.size(), 1u) << c.text;  // nothing left beside it
    EXPECT_EQ(files_.files.at(kept), finished ? Body(5000) : "the user's file") << c.text;
    EXPECT_EQ(files_.created.size(), c.read_only ? 0u : 1u) << c.text;
    ExpectEverythingReleased();
  }
}

TEST_F(DownloadTest, ByteCountNoticesDoNotPileUpWhileOneIsPending) {
  Serve("/big.q3d", Ok(Body(100 * 1024)));
  hold_progress_ = true;  // the dialog takes nothing
  Run(Url("/big.q3d"));
  EXPECT_EQ(dialog_->ProgressNotices(), 1);
  EXPECT_EQ(job_->received_bytes, 100 * 1024);  // the counters stay current
  EXPECT_EQ(dialog_->Finals(), kDone);
}

TEST_F(DownloadTest, ByteCountNoticesAreSpacedInTime) {
  Serve("/big.q3d", Ok(Body(200 * 1024)));
  // The tick count wraps after 49.7 days; a download across the wrap is
  // spaced as any other.
  for (const std::uint32_t start : {0u, 0xFFFFFFFFu - 200}) {
    job_ = std::make_unique<DownloadJob>(Url("/big.q3d"), kFolder);
    RecordingDialog dialog(*job_);
    dialog.now = start;
    dialog.tick = 5;  // 10 pieces per interval
    DownloadThreadBody(*job_, {http_, files_, dialog});
    EXPECT_EQ(dialog.Finals(), kDone);
    std::vector<std::int32_t> counts;
    for (const auto& e : dialog.posted) {
      if (e.lparam == 1) counts.push_back(e.received);
    }
    ASSERT_EQ(counts.size(), 20u) << start;
    EXPECT_EQ(counts[0], 1024) << start;  // the first piece at once
    EXPECT_EQ(counts[1], 11 * 1024) << start;
    EXPECT_EQ(job_->received_bytes, 200 * 1024);
  }
}

TEST_F(DownloadTest, TheFinalNoticeIsPostedUntilTaken) {
  Serve("/a.q3d", Ok("x"));
  refusals_ = 1000;  // a queue full of earlier notices
  Run(Url("/a.q3d"));
  EXPECT_EQ(dialog_->Finals(), kDone);
  EXPECT_GT(dialog_->pauses, 0);

  // A dialog that is gone takes nothing; the worker does not wait for it.
  DownloadJob job(Url("/a.q3d"), kFolder);
  RecordingDialog gone(job);
  gone.gone = true;
  DownloadThreadBody(job, {http_, files_, gone});
  EXPECT_TRUE(gone.posted.empty());
  EXPECT_EQ(gone.pauses, 0);
}

TEST(CKxException, CarriesItsCodeAndNoMessage) {
  const CKxException e(2);
  EXPECT_EQ(e.code(), 2);
  EXPECT_EQ(e.GetErrorMessage(), "");
}

}  // namespace
}  // namespace kx::hostkit
