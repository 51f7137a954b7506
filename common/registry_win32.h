#pragma once

#include "common/registry.h"

namespace kx {

class Win32Registry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, const std::string& path,
                                       RegistryAccess access) override;
  std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, const std::string& path,
                                         const std::string& key_class,
                                         RegistryAccess access) override;
};

}  // namespace kx
