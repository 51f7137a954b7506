// Mail sending through the system's Simple MAPI client: the message under
// construction, the records handed to "MAPISendMail", the process-wide
// binding of the mail library and the mapping of its answers.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace kx::hostkit {

inline constexpr std::uint32_t kMapiTo = 1;
inline constexpr std::uint32_t kMapiLogonUi = 0x1;
inline constexpr std::uint32_t kMapiDialog = 0x8;
inline constexpr std::uint32_t kSendFlags = kMapiLogonUi | kMapiDialog;
inline constexpr std::uint32_t kMapiSuccess = 0;
inline constexpr std::uint32_t kMapiUserAbort = 1;
inline constexpr char kSmtpPrefix[] = "SMTP:";

// Results of MapiMailer::Send.
inline constexpr int kSendAccepted = 0;
inline constexpr int kSendCancelled = 1;
inline constexpr int kSendNoLibrary = 3;
inline constexpr int kSendFailed = 5;
inline constexpr int kSendNoRecords = 6;

// The Simple MAPI records of one message, with the strings they point to.
struct MailRecipientRecord {
  std::uint32_t recipient_class = kMapiTo;
  std::string name;
  std::string address;  // "SMTP:" and the address
};
struct MailFileRecord {
  std::uint32_t flags = 0;
  std::uint32_t position = 0xFFFFFFFF;  // no place in the body
  std::string path;
  std::string name;
};
struct MailMessageRecord {
  std::string subject;
  std::string note_text;
  std::uint32_t flags = 0;
  std::vector<MailRecipientRecord> recipients;
  std::vector<MailFileRecord> files;
};

// "MAPI32.DLL" loaded, with the entry points resolved so far.
class MailModule {
 public:
  virtual ~MailModule() = default;
  // Looks up entry point `name`; false when the library lacks it.
  virtual bool Resolve(const char* name) = 0;
  // "MAPISendMail" with no session and reserved 0: the Simple MAPI result.
  virtual std::uint32_t SendMail(std::uintptr_t parent, const MailMessageRecord& message,
                                 std::uint32_t flags) = 0;
};

class MailModuleLoader {
 public:
  virtual ~MailModuleLoader() = default;
  // Null when "MAPI32.DLL" cannot be loaded.
  virtual std::unique_ptr<MailModule> Load() = 0;
};

struct MapiInterface {
  // An entry point of the mail library is missing. Thrown and caught while
  // binding, never further.
  class EDinamicLinkException : public std::exception {
   public:
    explicit EDinamicLinkException(std::string function) : function_(std::move(function)) {}
    const std::string& function() const noexcept { return function_; }
    const char* what() const noexcept override { return function_.c_str(); }

   private:
    std::string function_;
  };
};

// The binding of the mail library, counted: the library stays loaded while
// one user holds it.
class MapiLibrary {
 public:
  explicit MapiLibrary(MailModuleLoader& loader) : loader_(loader) {}

  [[nodiscard]] bool Bind() noexcept;
  // Unloads when the count falls to 0, or at once when `force` is set.
  void Release(bool force = false) noexcept;

  int count() const noexcept { return count_; }
  MailModule* module() const noexcept { return module_.get(); }

 private:
  MailModuleLoader& loader_;
  std::unique_ptr<MailModule> module_;
  int count_ = 0;
};

class MapiMailer {
 public:
  explicit MapiMailer(std::uintptr_t parent) : parent_(parent) {}

  void AddRecipient(std::string address, std::string name, std::uint32_t recipient_class);
  void SetSubject(std::string subject) { subject_ = std::move(subject); }
  void SetNoteText(std::string text) { note_text_ = std::move(text); }
  void AddAttachment(std::string path, std::string name);
  int attachment_count() const { return attachment_counter_; }

  // The records as the mail client receives them: recipients with an
  // address and attachments with a path, in the order added.
  MailMessageRecord BuildRecords() const;

  // One of kSend*: binds the library, hands the message over once, releases.
  int Send(MapiLibrary& library) noexcept;

 private:
  struct Recipient {
    std::string address, name;
    std::uint32_t recipient_class;
  };
  struct Attachment {
    std::string path, name;
    int number;
  };
  std::uintptr_t parent_;
  std::vector<Recipient> recipients_;
  std::string subject_;
  std::string note_text_;
  std::vector<Attachment> attachments_;
  int attachment_counter_ = 0;
};

// Send's result for a Simple MAPI result.
int SendResultFor(std::uint32_t mapi_result);
// The export's result for a send result: 0 and 1 as they are, others negated.
std::int32_t MailExportResult(int send_result);

// The whole of one mail export call: one recipient, subject, body, one
// attachment without display name.
std::int32_t SendModelMail(MapiLibrary& library, std::uintptr_t parent, const std::string& address,
                           const std::string& name, const std::string& subject,
                           const std::string& body, const std::string& attachment) noexcept;

}  // namespace kx::hostkit
