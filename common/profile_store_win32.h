#pragma once

#include "common/profile_store.h"

namespace kx {

class Win32ProfileStore final : public ProfileStore {
 public:
  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback,
                         std::size_t buffer_size) override;
  int ReadInt(const std::string& file, const std::string& section, const std::string& key,
              int fallback) override;
  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override;
  std::string ReadSection(const std::string& file, const std::string& section,
                          std::size_t buffer_size) override;
};

}  // namespace kx
