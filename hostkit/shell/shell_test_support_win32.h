// What the Windows tests of the shell utilities and the parts search share:
// Hostkit.dll and its exports as the host application resolves them.
#pragma once

#include <windows.h>

#include <string>

#include "hostkit/include/hostkit.h"
#include "platform/win32/module_loader.h"
#include "tests/win/process.h"

namespace kx::hostkit::test {

// The installed programs' folder: bin\ beside the tests' testbin\.
inline std::string BinFolder() { return kx::test::TestProgramFolder() + "..\\bin\\"; }

struct ShellExports {
  win::LoadedModule dll{(BinFolder() + "Hostkit.dll").c_str()};
  decltype(&ShellOpenCommand) open = dll.Entry<decltype(ShellOpenCommand)>("ShellOpenCommand");
  decltype(&InitDataFolder) init_folder = dll.Entry<decltype(InitDataFolder)>("InitDataFolder");
  decltype(&GetStyleFileName) style_file =
      dll.Entry<decltype(GetStyleFileName)>("GetStyleFileName");
  decltype(&SearchWordDoModal) search_word =
      dll.Entry<decltype(SearchWordDoModal)>("SearchWordDoModal");
  decltype(&SearchProgressDoModal) search_progress =
      dll.Entry<decltype(SearchProgressDoModal)>("SearchProgressDoModal");

  bool complete() const {
    return open && init_folder && style_file && search_word && search_progress;
  }
};

// A byte string the test owns, as the host keeps one in a slot.
class ByteString {
 public:
  explicit ByteString(const std::string& bytes)
      : text_(SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()))) {}
  ByteString() = default;
  ~ByteString() { SysFreeString(text_); }
  ByteString(const ByteString&) = delete;
  ByteString& operator=(const ByteString&) = delete;

  BSTR* slot() { return &text_; }
  BSTR get() const { return text_; }
  std::string bytes() const {
    return text_ ? std::string(reinterpret_cast<const char*>(text_), SysStringByteLen(text_))
                 : std::string();
  }

 private:
  BSTR text_ = nullptr;
};

}  // namespace kx::hostkit::test
