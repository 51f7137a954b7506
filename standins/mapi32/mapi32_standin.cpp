// Stand-in for the system's Simple MAPI mail client ("MAPI32.DLL"). It shows
// no compose dialog: it writes what it received to a record file and answers
// as the test asks.
//
//   KX_MAPI_RECORD  file that every call is appended to (none: nothing written)
//   KX_MAPI_ANSWER  the result MAPISendMail returns, decimal (0 when unset:
//                   the message is accepted, unless an attachment is missing,
//                   which answers MAPI_E_ATTACHMENT_NOT_FOUND as a client does)
#include <windows.h>
// windows.h first
#include <mapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Environment(const char* name) {
  char value[1024] = {};
  const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

// A string field as the record shows it: "(null)" for a null pointer, CR and
// LF written as \r and \n so that one field stays one line.
std::string Field(const char* text) {
  if (text == nullptr) return "(null)";
  std::string out;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '\r') {
      out += "\\r";
    } else if (*p == '\n') {
      out += "\\n";
    } else if (*p == '\\') {
      out += "\\\\";
    } else {
      out += *p;
    }
  }
  return out;
}

std::string Number(unsigned long long value) { return std::to_string(value); }

void Append(const std::string& text) {
  const std::string path = Environment("KX_MAPI_RECORD");
  if (path.empty()) return;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

std::string Record(LHANDLE session, ULONG_PTR ui, lpMapiMessage m, FLAGS flags, ULONG reserved) {
  std::string r = "call=MAPISendMail\n";
  r += "session=" + Number(session) + "\n";
  r += "uiparam=" + Number(ui) + "\n";
  r += "flags=" + Number(flags) + "\n";
  r += "reserved=" + Number(reserved) + "\n";
  if (m == nullptr) return r + "message=(null)\n";
  r += "message.reserved=" + Number(m->ulReserved) + "\n";
  r += "subject=" + Field(m->lpszSubject) + "\n";
  r += "note=" + Field(m->lpszNoteText) + "\n";
  r += "messagetype=" + Field(m->lpszMessageType) + "\n";
  r += "datereceived=" + Field(m->lpszDateReceived) + "\n";
  r += "conversationid=" + Field(m->lpszConversationID) + "\n";
  r += "message.flags=" + Number(m->flFlags) + "\n";
  r += std::string("originator=") + (m->lpOriginator ? "set" : "(null)") + "\n";
  r += "recipients=" + Number(m->nRecipCount) + "\n";
  r += std::string("recipients.array=") + (m->lpRecips ? "set" : "(null)") + "\n";
  for (ULONG i = 0; m->lpRecips != nullptr && i < m->nRecipCount; ++i) {
    const MapiRecipDesc& d = m->lpRecips[i];
    const std::string p = "recipient[" + Number(i) + "].";
    r += p + "reserved=" + Number(d.ulReserved) + "\n";
    r += p + "class=" + Number(d.ulRecipClass) + "\n";
    r += p + "name=" + Field(d.lpszName) + "\n";
    r += p + "address=" + Field(d.lpszAddress) + "\n";
    r += p + "eidsize=" + Number(d.ulEIDSize) + "\n";
    r += p + "eid=" + (d.lpEntryID ? "set" : "(null)") + "\n";
  }
  r += "files=" + Number(m->nFileCount) + "\n";
  r += std::string("files.array=") + (m->lpFiles ? "set" : "(null)") + "\n";
  for (ULONG i = 0; m->lpFiles != nullptr && i < m->nFileCount; ++i) {
    const MapiFileDesc& d = m->lpFiles[i];
    const std::string p = "file[" + Number(i) + "].";
    r += p + "reserved=" + Number(d.ulReserved) + "\n";
    r += p + "flags=" + Number(d.flFlags) + "\n";
    r += p + "position=" + Number(d.nPosition) + "\n";
    r += p + "path=" + Field(d.lpszPathName) + "\n";
    r += p + "name=" + Field(d.lpszFileName) + "\n";
    r += p + "filetype=" + (d.lpFileType ? "set" : "(null)") + "\n";
  }
  return r;
}

}  // namespace

extern "C" {

ULONG WINAPI MAPILogon(ULONG_PTR ui, LPSTR profile, LPSTR password, FLAGS flags, ULONG reserved,
                       LPLHANDLE session) {
  Append("call=MAPILogon\nuiparam=" + Number(ui) + "\nprofile=" + Field(profile) + "\npassword=" +
         Field(password) + "\nflags=" + Number(flags) + "\nreserved=" + Number(reserved) + "\n");
  if (session != nullptr) *session = 1;
  return SUCCESS_SUCCESS;
}

#ifndef KX_MAPI_WITHOUT_LOGOFF
ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR ui, FLAGS flags, ULONG reserved) {
  Append("call=MAPILogoff\nsession=" + Number(session) + "\nuiparam=" + Number(ui) +
         "\nflags=" + Number(flags) + "\nreserved=" + Number(reserved) + "\n");
  return SUCCESS_SUCCESS;
}
#endif

ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR ui, lpMapiMessage message, FLAGS flags,
                          ULONG reserved) {
  Append(Record(session, ui, message, flags, reserved));
  const std::string answer = Environment("KX_MAPI_ANSWER");
  if (!answer.empty()) return std::strtoul(answer.c_str(), nullptr, 10);
  for (ULONG i = 0; message != nullptr && message->lpFiles != nullptr && i < message->nFileCount;
       ++i) {
    const char* path = message->lpFiles[i].lpszPathName;
    if (path == nullptr || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
      return MAPI_E_ATTACHMENT_NOT_FOUND;
    }
  }
  return SUCCESS_SUCCESS;
}

}  // extern "C"
