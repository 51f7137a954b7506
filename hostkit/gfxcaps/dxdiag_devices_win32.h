#pragma once

#include <optional>

#include "hostkit/gfxcaps/dxdiag_devices.h"

namespace kx::hostkit {

// The diagnostic service created in-process through COM; the display-device
// list holds the service and the thread's COM initialisation until it goes.
class Win32DiagService final : public DiagService {
 public:
  std::unique_ptr<DiagDisplayDevices> OpenDisplayDevices() override;
};

// Whether the service, read on a thread of its own, answers as it would on
// the calling thread: it needs a single-threaded apartment, which it finds
// (or makes) on a thread that is not in a multithreaded one. A thread that
// has joined the multithreaded apartment keeps the service from starting,
// and it must go on doing so.
[[nodiscard]] bool ServiceMayUseItsOwnThread() noexcept;
// The same answer found two ways: by CoGetApartmentType, which Windows 7
// added (nothing where it is missing), and by a probe with CoInitializeEx,
// which every Windows has.
[[nodiscard]] std::optional<bool> OwnThreadByApartmentQuery() noexcept;
[[nodiscard]] bool OwnThreadByApartmentProbe() noexcept;

class Win32ThreadCodePage final : public ThreadCodePage {
 public:
  std::string FromWide(const std::u16string& text) override;
};

}  // namespace kx::hostkit
