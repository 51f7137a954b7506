// The back image: an image file stored inside the model on parts index 0,
// written back out to a file on request.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "hostkit/parts/back_image_files.h"
#include "hostkit/parts/extend_info_engine.h"

namespace kx::hostkit {

// The part every back image is stored on.
constexpr std::int32_t kBackImageParts = 0;

// SetExtendBackImage: the file at `path` stored as the back image under the
// name part of the path. 1 when stored; 0 when the file cannot be read
// whole, it is too large for the block, or the library or the set entry
// point is missing.
[[nodiscard]] std::int32_t StoreBackImage(ExtendEngineLoader& loader, BackImageFiles& files,
                                          const std::string& path);

struct BackImageWrite {
  std::int32_t result = 0;  // 0: no back image
  std::string name;         // the stored file name, when result is 1
  // Shown to the user (OK, exclamation) when the bytes could not be put in
  // place.
  std::optional<std::string> message;
};

// GetExtendBackImage: the stored image written to `path`. It goes to a new
// file beside the target first, and replaces the target only when every
// byte is written, so a failed write leaves the file that was there as it
// was. Where no new file can be made beside the target (a folder that takes
// writes to its files but no new ones, a folder path too long for the new
// file's name), the target itself is created or emptied and written; a
// failed write is then reported all the same. A target that cannot be
// opened (a missing folder) gets nothing and nothing is shown. The result
// is 1 whenever a back image exists.
[[nodiscard]] BackImageWrite WriteBackImage(ExtendEngineLoader& loader, BackImageFiles& files,
                                            const std::string& path);

// ClearExtendBackImage: 1 when the delete entry point was found and called
// for (parts, 340); 0 otherwise.
[[nodiscard]] std::int32_t ClearBackImage(ExtendEngineLoader& loader, std::int32_t parts);

}  // namespace kx::hostkit
