#include "hostkit/shell/search_engine_win32.h"

#include <climits>

#include "fitview/engine_api/kx3d_api.h"
#include "hostkit/shell/text_slot_win32.h"

namespace kx::hostkit {
namespace {

constexpr char kEngineLibrary[] = "kx3d.dll";

// A byte string the caller owns and the engine may replace.
class ByteStringSlot {
 public:
  explicit ByteStringSlot(const std::string& bytes)
      : text_(bytes.size() <= UINT_MAX
                  ? SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()))
                  : nullptr) {}
  ~ByteStringSlot() { SysFreeString(text_); }
  ByteStringSlot(const ByteStringSlot&) = delete;
  ByteStringSlot& operator=(const ByteStringSlot&) = delete;

  bool made() const { return text_ != nullptr; }
  BSTR* slot() { return &text_; }
  std::string bytes() const { return ::hostkit::TextSlotBytes(text_); }

 private:
  BSTR text_;
};

}  // namespace

SearchEngineLibrary::SearchEngineLibrary() noexcept
    : module_(kEngineLibrary),
      read_(module_.Entry<decltype(Kxi_GetFileAttribute)>("Kxi_GetFileAttribute")) {}

bool SearchEngineLibrary::Read(const std::string& path, std::string* first, std::string* second) {
  if (read_ == nullptr) return false;
  ByteStringSlot file(path), name(""), description("");
  if (!file.made() || !name.made() || !description.made()) return false;
  if (read_(file.slot(), name.slot(), description.slot()) < 0) return false;
  *first = name.bytes();
  *second = description.bytes();
  return true;
}

}  // namespace kx::hostkit
