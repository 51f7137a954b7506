#include "hostkit/net/mapi_mailer.h"

#include <new>

namespace kx::hostkit {

bool MapiLibrary::Bind() noexcept {
  if (count_ > 0) {
    ++count_;
    return true;
  }
  try {
    std::unique_ptr<MailModule> module = loader_.Load();
    if (!module) return false;
    try {
      for (const char* name : {"MAPILogon", "MAPILogoff", "MAPISendMail"}) {
        if (!module->Resolve(name)) throw MapiInterface::EDinamicLinkException(name);
      }
    } catch (const MapiInterface::EDinamicLinkException&) {
      return false;  // `module` unloads the library
    }
    module_ = std::move(module);
    count_ = 1;
    return true;
  } catch (...) {
    return false;
  }
}

void MapiLibrary::Release(bool force) noexcept {
  if (count_ == 0) return;
  --count_;
  if (count_ == 0 || force) {
    count_ = 0;
    module_.reset();
  }
}

void MapiMailer::AddRecipient(std::string address, std::string name,
                              std::uint32_t recipient_class) {
  recipients_.push_back({std::move(address), std::move(name), recipient_class});
}

void MapiMailer::AddAttachment(std::string path, std::string name) {
  attachments_.push_back({std::move(path), std::move(name), ++attachment_counter_});
}

MailMessageRecord MapiMailer::BuildRecords() const {
  MailMessageRecord message;
  message.subject = subject_;
  message.note_text = note_text_;
  for (const Recipient& r : recipients_) {
    if (r.address.empty()) continue;
    // Always prefixed, even when the address names a scheme already.
    message.recipients.push_back({r.recipient_class, r.name, kSmtpPrefix + r.address});
  }
  for (const Attachment& a : attachments_) {
    if (a.path.empty()) continue;
    MailFileRecord file;
    file.path = a.path;
    file.name = a.name;
    message.files.push_back(std::move(file));
  }
  return message;
}

int MapiMailer::Send(MapiLibrary& library) noexcept {
  MailMessageRecord message;
  try {
    message = BuildRecords();
  } catch (...) {
    return kSendNoRecords;
  }
  if (!library.Bind()) return kSendNoLibrary;
  int result = kSendFailed;
  try {
    result = SendResultFor(library.module()->SendMail(parent_, message, kSendFlags));
  } catch (const std::bad_alloc&) {
    result = kSendNoRecords;  // the client's records could not be made
  } catch (...) {
    result = kSendFailed;
  }
  library.Release();
  return result;
}

int SendResultFor(std::uint32_t mapi_result) {
  if (mapi_result == kMapiSuccess) return kSendAccepted;
  if (mapi_result == kMapiUserAbort) return kSendCancelled;
  return kSendFailed;
}

std::int32_t MailExportResult(int send_result) {
  return send_result == kSendAccepted || send_result == kSendCancelled ? send_result : -send_result;
}

std::int32_t SendModelMail(MapiLibrary& library, std::uintptr_t parent, const std::string& address,
                           const std::string& name, const std::string& subject,
                           const std::string& body, const std::string& attachment) noexcept {
  try {
    MapiMailer mailer(parent);
    mailer.AddRecipient(address, name, kMapiTo);
    mailer.SetSubject(subject);
    mailer.SetNoteText(body);
    mailer.AddAttachment(attachment, "");
    return MailExportResult(mailer.Send(library));
  } catch (...) {
    return MailExportResult(kSendNoRecords);
  }
}

}  // namespace kx::hostkit
