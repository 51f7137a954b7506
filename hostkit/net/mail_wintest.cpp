// SendQ3DMail as the host application calls it: Hostkit.dll loaded from the
// installed programs' folder, the stand-in "MAPI32.DLL" chosen by folder,
// the records it received read back from its record file.
#include <windows.h>
// windows.h first
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "hostkit/include/hostkit.h"
#include "platform/win32/module_loader.h"
#include "tests/win/temp_folder.h"
#include "tests/win/process.h"

namespace kx::hostkit {
namespace {

using test::TempFolder;

std::string BinFolder() { return kx::test::TestProgramFolder() + "..\\bin\\"; }

// The record file's lines as key -> value, for the last call only.
std::map<std::string, std::string> LastCall(const std::string& record) {
  std::map<std::string, std::string> fields;
  std::size_t start = 0;
  while (start < record.size()) {
    std::size_t end = record.find('\n', start);
    if (end == std::string::npos) end = record.size();
    const std::string line = record.substr(start, end - start);
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) {
      if (line.compare(0, 5, "call=") == 0) fields.clear();
      fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    start = end + 1;
  }
  return fields;
}

class MailWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dll_.loaded());
    ASSERT_NE(send_, nullptr);
    SetEnvironmentVariableA("KX_MAPI_RECORD", record_.c_str());
    SetEnvironmentVariableA("KX_MAPI_ANSWER", nullptr);
    UseMailLibrary("mapi32_standard");
    TempFolder::WriteFile(attachment_, "model bytes");
  }
  void TearDown() override {
    SetDllDirectoryA(nullptr);
    SetEnvironmentVariableA("KX_MAPI_RECORD", nullptr);
    SetEnvironmentVariableA("KX_MAPI_ANSWER", nullptr);
  }
  static void UseMailLibrary(const std::string& folder) {
    ASSERT_TRUE(SetDllDirectoryA((BinFolder() + folder).c_str()));
  }
  int32_t Send(const char* address, const char* attachment) {
    return send_(reinterpret_cast<HWND>(0x1234), address, "山田 太郎", "モデル「居間」",
                 "本文です。\r\n二行目\\終わり", attachment);
  }
  std::map<std::string, std::string> Received() { return LastCall(TempFolder::ReadFile(record_)); }

  win::LoadedModule dll_{(BinFolder() + "Hostkit.dll").c_str()};
  decltype(&SendQ3DMail) send_ = dll_.Entry<decltype(SendQ3DMail)>("SendQ3DMail");
  TempFolder folder_{"kx mail"};
  std::string record_ = folder_ / "record.txt";
  std::string attachment_ = folder_ / "居間のモデル.q3d";
};

TEST_F(MailWinTest, TheClientReceivesOneMessageAsBuilt) {
  ASSERT_EQ(Send("taro@example.jp", attachment_.c_str()), 0);
  const auto m = Received();
  const std::map<std::string, std::string> expected = {
      {"call", "MAPISendMail"},
      {"session", "0"},
      {"uiparam", "4660"},
      {"flags", "9"},
      {"reserved", "0"},
      {"message.reserved", "0"},
      {"subject", "モデル「居間」"},
      {"note", "本文です。\\r\\n二行目\\\\終わり"},
      {"messagetype", "(null)"},
      {"datereceived", "(null)"},
      {"conversationid", "(null)"},
      {"message.flags", "0"},
      {"originator", "(null)"},
      {"recipients", "1"},
      {"recipients.array", "set"},
      {"recipient[0].reserved", "0"},
      {"recipient[0].class", "1"},
      {"recipient[0].name", "山田 太郎"},
      {"recipient[0].address", "SMTP:taro@example.jp"},
      {"recipient[0].eidsize", "0"},
      {"recipient[0].eid", "(null)"},
      {"files", "1"},
      {"files.array", "set"},
      {"file[0].reserved", "0"},
      {"file[0].flags", "0"},
      {"file[0].position", "4294967295"},
      {"file[0].path",
       [this] {
         std::string p;
         for (char c : attachment_) p += c == '\\' ? std::string("\\\\") : std::string(1, c);
         return p;
       }()},
      {"file[0].name", ""},
      {"file[0].filetype", "(null)"},
  };
  EXPECT_EQ(m, expected);
  // Bound for the call only: nothing of the mail library stays loaded.
  EXPECT_EQ(GetModuleHandleA("MAPI32.DLL"), nullptr);
}

TEST_F(MailWinTest, EmptyAddressAndAttachmentAreLeftOut) {
  ASSERT_EQ(Send("", ""), 0);
  const auto m = Received();
  EXPECT_EQ(m.at("recipients"), "0");
  EXPECT_EQ(m.at("recipients.array"), "(null)");
  EXPECT_EQ(m.at("files"), "0");
  EXPECT_EQ(m.at("files.array"), "(null)");
  EXPECT_EQ(m.at("subject"), "モデル「居間」");
}

TEST_F(MailWinTest, ResultCodes) {
  const struct {
    const char* answer;  // null: the stand-in decides
    const char* attachment;
    int32_t result;
  } cases[] = {
      {"0", nullptr, 0},
      {"1", nullptr, 1},                           // cancelled in the compose dialog
      {"2", nullptr, -5},                          // MAPI_E_FAILURE
      {"26", nullptr, -5},                         // MAPI_E_NOT_SUPPORTED
      {nullptr, "C:\\no such folder\\x.q3d", -5},  // the client misses the attachment
  };
  for (const auto& c : cases) {
    SetEnvironmentVariableA("KX_MAPI_ANSWER", c.answer);
    const std::string attachment = c.attachment ? c.attachment : attachment_;
    EXPECT_EQ(Send("a@b.jp", attachment.c_str()), c.result) << (c.answer ? c.answer : "-");
    EXPECT_EQ(Received().at("call"), "MAPISendMail");
    EXPECT_EQ(GetModuleHandleA("MAPI32.DLL"), nullptr);
  }
}

TEST_F(MailWinTest, ALibraryWithoutLogoffIsNoMailLibrary) {
  UseMailLibrary("mapi32_without_logoff");
  EXPECT_EQ(Send("a@b.jp", attachment_.c_str()), -3);
  EXPECT_FALSE(TempFolder::Exists(record_));  // never called
  EXPECT_EQ(GetModuleHandleA("MAPI32.DLL"), nullptr);
}

TEST_F(MailWinTest, NoMailLibraryAtAll) {
  // The test runs with Wine's own mapi32 disabled: an empty folder leaves
  // nothing to load.
  TempFolder empty("kx no mapi");
  ASSERT_TRUE(SetDllDirectoryA(empty.path().c_str()));
  EXPECT_EQ(Send("a@b.jp", attachment_.c_str()), -3);
  EXPECT_FALSE(TempFolder::Exists(record_));
}

TEST_F(MailWinTest, NullTextsCountAsEmpty) {
  EXPECT_EQ(send_(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  const auto m = Received();
  EXPECT_EQ(m.at("recipients"), "0");
  EXPECT_EQ(m.at("subject"), "");
  EXPECT_EQ(m.at("uiparam"), "0");
}

}  // namespace
}  // namespace kx::hostkit
