#include "hostkit/net/mapi_library_win32.h"

#include <windows.h>
// windows.h first
#include <mapi.h>

#include <cstring>
#include <vector>

#include "platform/win32/module_loader.h"

namespace kx::hostkit {

namespace {

static_assert(kMapiTo == MAPI_TO && kSendFlags == (MAPI_LOGON_UI | MAPI_DIALOG) &&
              kMapiSuccess == SUCCESS_SUCCESS && kMapiUserAbort == MAPI_USER_ABORT);

class Win32MailModule final : public MailModule {
 public:
  Win32MailModule() : module_("MAPI32.DLL") {}
  bool loaded() const { return module_.loaded(); }

  bool Resolve(const char* name) override {
    if (std::strcmp(name, "MAPILogon") == 0) {
      logon_ = module_.Entry<MAPILOGON>(name);
      return logon_ != nullptr;
    }
    if (std::strcmp(name, "MAPILogoff") == 0) {
      logoff_ = module_.Entry<MAPILOGOFF>(name);
      return logoff_ != nullptr;
    }
    if (std::strcmp(name, "MAPISendMail") == 0) {
      send_mail_ = module_.Entry<MAPISENDMAIL>(name);
      return send_mail_ != nullptr;
    }
    return false;
  }

  std::uint32_t SendMail(std::uintptr_t parent, const MailMessageRecord& message,
                         std::uint32_t flags) override {
    if (send_mail_ == nullptr) return MAPI_E_FAILURE;
    // The client reads the strings through non-const pointers but does not
    // change them.
    std::vector<MapiRecipDesc> recipients;
    recipients.reserve(message.recipients.size());
    for (const MailRecipientRecord& r : message.recipients) {
      MapiRecipDesc d = {};
      d.ulRecipClass = r.recipient_class;
      d.lpszName = const_cast<char*>(r.name.c_str());
      d.lpszAddress = const_cast<char*>(r.address.c_str());
      recipients.push_back(d);
    }
    std::vector<MapiFileDesc> files;
    files.reserve(message.files.size());
    for (const MailFileRecord& f : message.files) {
      MapiFileDesc d = {};
      d.flFlags = f.flags;
      d.nPosition = f.position;
      d.lpszPathName = const_cast<char*>(f.path.c_str());
      d.lpszFileName = const_cast<char*>(f.name.c_str());
      files.push_back(d);
    }
    MapiMessage m = {};
    m.lpszSubject = const_cast<char*>(message.subject.c_str());
    m.lpszNoteText = const_cast<char*>(message.note_text.c_str());
    m.flFlags = message.flags;
    m.nRecipCount = static_cast<ULONG>(recipients.size());
    m.lpRecips = recipients.empty() ? nullptr : recipients.data();
    m.nFileCount = static_cast<ULONG>(files.size());
    m.lpFiles = files.empty() ? nullptr : files.data();
    return send_mail_(0, static_cast<ULONG_PTR>(parent), &m, flags, 0);
  }

 private:
  win::LoadedModule module_;
  LPMAPILOGON logon_ = nullptr;
  LPMAPILOGOFF logoff_ = nullptr;
  LPMAPISENDMAIL send_mail_ = nullptr;
};

}  // namespace

std::unique_ptr<MailModule> Win32MailModuleLoader::Load() {
  auto module = std::make_unique<Win32MailModule>();
  if (!module->loaded()) return nullptr;
  return module;
}

MapiLibrary& ProcessMapiLibrary() {
  static Win32MailModuleLoader loader;
  static MapiLibrary library(loader);
  return library;
}

}  // namespace kx::hostkit
