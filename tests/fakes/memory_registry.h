// An in-memory registry: keys by root and path, values with their types.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/registry.h"

namespace kx::test {

class MemoryRegistry final : public Registry {
 public:
  struct Value {
    enum Type { kDword, kString } type;
    std::uint32_t dword = 0;
    std::string bytes;  // a string value's bytes, terminator included
  };
  struct Key {
    std::string key_class;
    std::vector<std::pair<std::string, Value>> values;  // in write order
    bool read_only = false;
  };
  std::map<std::string, Key> keys;  // "root|path"
  std::set<std::string> uncreatable;  // "root|path" that CreateKey refuses

  static std::string Name(RegistryRoot root, const std::string& path) {
    return std::to_string(static_cast<int>(root)) + "|" + path;
  }
  Key* Find(RegistryRoot root, const std::string& path) {
    auto it = keys.find(Name(root, path));
    return it == keys.end() ? nullptr : &it->second;
  }
  const Value* FindValue(RegistryRoot root, const std::string& path, const std::string& name) {
    Key* key = Find(root, path);
    if (!key) return nullptr;
    for (const auto& v : key->values) {
      if (v.first == name) return &v.second;
    }
    return nullptr;
  }

  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, const std::string& path,
                                       RegistryAccess access) override {
    Key* key = Find(root, path);
    return key ? std::make_unique<Handle>(*key, access) : nullptr;
  }
  std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, const std::string& path,
                                         const std::string& key_class,
                                         RegistryAccess access) override {
    const std::string name = Name(root, path);
    if (uncreatable.count(name)) return nullptr;
    auto inserted = keys.emplace(name, Key{key_class, {}, false});
    return std::make_unique<Handle>(inserted.first->second, access);
  }

 private:
  class Handle final : public RegistryKey {
   public:
    Handle(Key& key, RegistryAccess access) : key_(key), access_(access) {}
    bool SetDword(const std::string& name, std::uint32_t value) override {
      return Set(name, Value{Value::kDword, value, std::string()});
    }
    bool SetString(const std::string& name, const std::string& value) override {
      return Set(name, Value{Value::kString, 0, value + '\0'});
    }
    std::optional<std::string> QueryString(const std::string& name) override {
      for (const auto& v : key_.values) {
        if (v.first == name && v.second.type == Value::kString) {
          return std::string(v.second.bytes.c_str());
        }
      }
      return std::nullopt;
    }

   private:
    bool Set(const std::string& name, const Value& value) {
      if (access_ != RegistryAccess::kAll || key_.read_only) return false;
      for (auto& v : key_.values) {
        if (v.first == name) {
          v.second = value;
          return true;
        }
      }
      key_.values.emplace_back(name, value);
      return true;
    }
    Key& key_;
    RegistryAccess access_;
  };
};

}  // namespace kx::test
