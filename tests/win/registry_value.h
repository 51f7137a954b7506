// A registry value as the host application reads it: its type and bytes.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

#include "platform/win32/unique_resource.h"

namespace kx::test {

struct RegistryValue {
  enum Status { kRead, kNoKey, kNoValue } status = kNoKey;
  DWORD type = REG_NONE;
  std::string bytes;  // a string's terminator included

  // The value as a DWORD, when it is one.
  bool AsDword(DWORD& value) const {
    if (status != kRead || type != REG_DWORD || bytes.size() != sizeof value) return false;
    std::memcpy(&value, bytes.data(), sizeof value);
    return true;
  }
};

inline RegistryValue ReadRegistryValue(HKEY root, const std::string& key_path, const std::string& name) {
  RegistryValue value;
  win::UniqueKey key;
  if (RegOpenKeyExA(root, key_path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return value;
  char data[1024];
  DWORD size = sizeof data;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size) !=
      ERROR_SUCCESS) {
    value.status = RegistryValue::kNoValue;
    return value;
  }
  value.status = RegistryValue::kRead;
  value.bytes.assign(data, size);
  return value;
}

}  // namespace kx::test
