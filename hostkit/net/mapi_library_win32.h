// "MAPI32.DLL" loaded at run time: its three entry points in one place, and
// the Simple MAPI records made from the portable ones.
#pragma once

#include "hostkit/net/mapi_mailer.h"

namespace kx::hostkit {

class Win32MailModuleLoader final : public MailModuleLoader {
 public:
  std::unique_ptr<MailModule> Load() override;
};

// The process's one binding of the mail library.
MapiLibrary& ProcessMapiLibrary();

}  // namespace kx::hostkit
