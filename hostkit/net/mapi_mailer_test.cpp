#include "hostkit/net/mapi_mailer.h"

#include <gtest/gtest.h>

#include <set>

namespace kx::hostkit {
namespace {

// A mail library whose entry points and answer the test chooses; it records
// what it was given.
struct MailWorld {
  bool loadable = true;
  std::set<std::string> entries{"MAPILogon", "MAPILogoff", "MAPISendMail"};
  std::uint32_t answer = 0;
  int loads = 0;
  int loaded = 0;  // modules alive
  std::vector<std::string> resolved;
  std::vector<MailMessageRecord> sent;
  std::uintptr_t parent = 0;
  std::uint32_t flags = 0;
};

class FakeModule final : public MailModule {
 public:
  explicit FakeModule(MailWorld& world) : world_(world) { ++world_.loaded; }
  ~FakeModule() override { --world_.loaded; }
  bool Resolve(const char* name) override {
    world_.resolved.push_back(name);
    return world_.entries.count(name) != 0;
  }
  std::uint32_t SendMail(std::uintptr_t parent, const MailMessageRecord& message,
                         std::uint32_t flags) override {
    world_.sent.push_back(message);
    world_.parent = parent;
    world_.flags = flags;
    return world_.answer;
  }

 private:
  MailWorld& world_;
};

class FakeLoader final : public MailModuleLoader {
 public:
  explicit FakeLoader(MailWorld& world) : world_(world) {}
  std::unique_ptr<MailModule> Load() override {
    ++world_.loads;
    if (!world_.loadable) return nullptr;
    return std::make_unique<FakeModule>(world_);
  }

 private:
  MailWorld& world_;
};

class MailTest : public ::testing::Test {
 protected:
  std::int32_t Send(const std::string& address, const std::string& attachment = "C:\\m\\a.q3d") {
    return SendModelMail(library_, 0x1234, address, "山田 太郎", "モデル", "本文\r\n2行目",
                         attachment);
  }
  MailWorld world_;
  FakeLoader loader_{world_};
  MapiLibrary library_{loader_};
};

TEST_F(MailTest, OneMessageWithRecipientAttachmentAndFlags) {
  EXPECT_EQ(Send("taro@example.jp"), 0);
  ASSERT_EQ(world_.sent.size(), 1u);
  const MailMessageRecord& m = world_.sent[0];
  EXPECT_EQ(m.subject, "モデル");
  EXPECT_EQ(m.note_text, "本文\r\n2行目");
  EXPECT_EQ(m.flags, 0u);
  ASSERT_EQ(m.recipients.size(), 1u);
  EXPECT_EQ(m.recipients[0].recipient_class, 1u);
  EXPECT_EQ(m.recipients[0].name, "山田 太郎");
  EXPECT_EQ(m.recipients[0].address, "SMTP:taro@example.jp");
  ASSERT_EQ(m.files.size(), 1u);
  EXPECT_EQ(m.files[0].path, "C:\\m\\a.q3d");
  EXPECT_EQ(m.files[0].name, "");
  EXPECT_EQ(m.files[0].position, 0xFFFFFFFFu);
  EXPECT_EQ(m.files[0].flags, 0u);
  EXPECT_EQ(world_.parent, 0x1234u);
  EXPECT_EQ(world_.flags, 9u);
  // Bound once and released: nothing stays loaded.
  EXPECT_EQ(world_.loaded, 0);
  EXPECT_EQ(library_.count(), 0);
  EXPECT_EQ(world_.resolved, (std::vector<std::string>{"MAPILogon", "MAPILogoff", "MAPISendMail"}));
}

TEST_F(MailTest, EmptyAddressOrPathLeavesTheRecordOut) {
  EXPECT_EQ(Send("", ""), 0);
  ASSERT_EQ(world_.sent.size(), 1u);
  EXPECT_TRUE(world_.sent[0].recipients.empty());
  EXPECT_TRUE(world_.sent[0].files.empty());
}

TEST_F(MailTest, AnAddressWithAPrefixGetsASecondOne) {
  EXPECT_EQ(Send("SMTP:taro@example.jp"), 0);
  EXPECT_EQ(world_.sent[0].recipients[0].address, "SMTP:SMTP:taro@example.jp");
}

TEST_F(MailTest, ResultCodes) {
  const struct {
    std::uint32_t answer;
    std::int32_t result;
  } answers[] = {{0, 0}, {1, 1}, {2, -5}, {3, -5}, {11, -5}, {26, -5}, {0xFFFFFFFF, -5}};
  for (const auto& a : answers) {
    world_.answer = a.answer;
    EXPECT_EQ(Send("a@b"), a.result) << a.answer;
  }
  world_.loadable = false;
  EXPECT_EQ(Send("a@b"), -3);
  EXPECT_EQ(MailExportResult(kSendNoRecords), -6);
  EXPECT_EQ(world_.loaded, 0);
}

TEST_F(MailTest, ALibraryLackingAnEntryPointIsNoLibrary) {
  for (const char* missing : {"MAPILogon", "MAPILogoff", "MAPISendMail"}) {
    world_.entries = {"MAPILogon", "MAPILogoff", "MAPISendMail"};
    world_.entries.erase(missing);
    world_.resolved.clear();
    EXPECT_EQ(Send("a@b"), -3) << missing;
    EXPECT_EQ(world_.resolved.back(), missing);  // resolving stops at the first missing one
    EXPECT_EQ(world_.loaded, 0) << missing;      // and the library is unloaded again
    EXPECT_EQ(library_.count(), 0);
  }
  EXPECT_TRUE(world_.sent.empty());
}

TEST_F(MailTest, BindingIsCounted) {
  ASSERT_TRUE(library_.Bind());
  ASSERT_TRUE(library_.Bind());
  EXPECT_EQ(world_.loads, 1);
  EXPECT_EQ(library_.count(), 2);
  // A send inside an outer binding leaves the library loaded.
  EXPECT_EQ(Send("a@b"), 0);
  EXPECT_EQ(world_.loaded, 1);
  library_.Release();
  EXPECT_EQ(world_.loaded, 1);
  library_.Release();
  EXPECT_EQ(world_.loaded, 0);
  library_.Release();  // nothing bound: nothing happens
  EXPECT_EQ(library_.count(), 0);

  ASSERT_TRUE(library_.Bind());
  ASSERT_TRUE(library_.Bind());
  library_.Release(true);
  EXPECT_EQ(world_.loaded, 0);
  EXPECT_EQ(library_.count(), 0);
  EXPECT_EQ(library_.module(), nullptr);
}

TEST(MapiMailer, KeepsOrderAndCountsAttachments) {
  MapiMailer mailer(0);
  mailer.AddRecipient("a@x", "A", kMapiTo);
  mailer.AddRecipient("", "nobody", kMapiTo);
  mailer.AddRecipient("c@x", "C", 2);
  mailer.AddAttachment("p1", "one");
  mailer.AddAttachment("", "none");
  mailer.AddAttachment("p3", "three");
  EXPECT_EQ(mailer.attachment_count(), 3);
  const MailMessageRecord m = mailer.BuildRecords();
  ASSERT_EQ(m.recipients.size(), 2u);
  EXPECT_EQ(m.recipients[1].address, "SMTP:c@x");
  EXPECT_EQ(m.recipients[1].recipient_class, 2u);
  ASSERT_EQ(m.files.size(), 2u);
  EXPECT_EQ(m.files[1].name, "three");
}

}  // namespace
}  // namespace kx::hostkit
