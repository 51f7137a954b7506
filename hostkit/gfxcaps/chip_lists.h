// The per-chip exception lists of "glspec.ini": for each section, the chips
// whose description contains the value of one of its "ChipType" entries.
#pragma once

#include <string>
#include <vector>

#include "common/file_system.h"
#include "common/profile_store.h"

namespace kx::hostkit {

// Sections of "glspec.ini".
constexpr char kDisableAntiAlias[] = "DisableAntiAlias";
constexpr char kDisablePhong[] = "DisablePhong";
constexpr char kDirectXSpec[] = "DirectXSpec";
constexpr char kUncheckPhong[] = "UncheckPhong";

// The values of the entries of `section_text` (as the platform returns a
// section: "key=value" entries, each ended by a zero byte) whose key
// contains "ChipType", in file order. The key ends at the first "="; an
// entry without one has no value and is passed over.
[[nodiscard]] std::vector<std::string> ChipTypeValues(const std::string& section_text);

class ChipLists {
 public:
  // `folder` is used as given: "glspec.ini" is appended to it directly, so
  // it ends in a backslash. An empty folder means no lists.
  ChipLists(ProfileStore& profiles, FileSystem& files, std::string folder);

  // Whether `chip` (ANSI) contains one of the values listed in `section`.
  // The file is read anew for every question; an empty chip, a missing file
  // or section lists nothing; an empty value lists every chip.
  [[nodiscard]] bool Lists(const std::string& chip, const char* section);

 private:
  ProfileStore& profiles_;
  FileSystem& files_;
  std::string folder_;
};

}  // namespace kx::hostkit
