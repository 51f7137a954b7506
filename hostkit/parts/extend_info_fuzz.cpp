// Engine blocks of every kind that a model file or a broken engine can hand
// over: the view record (307), the back image (340) and the wall records
// (300, 301). A parse must stay inside the data, and what it accepts must
// build back into a block that parses to the same values.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "hostkit/parts/back_image_format.h"
#include "hostkit/parts/display_attr_blocks.h"
#include "hostkit/parts/view_record.h"

using namespace kx::hostkit;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void ViewRecords(const BlockReader& block) {
  const std::optional<ViewRecord> record = ParseViewRecord(block);
  if (!record) return;
  const std::optional<ByteBlock> built = BuildViewRecord(*record);
  Check(built.has_value());
  const std::optional<ViewRecord> again = ParseViewRecord(BlockReader(*built));
  Check(again && again->name == record->name &&
        std::memcmp(&again->first, &record->first, sizeof record->first) == 0 &&
        std::memcmp(&again->second, &record->second, sizeof record->second) == 0 &&
        std::memcmp(&again->values, &record->values, sizeof record->values) == 0);
}

void BackImages(const BlockReader& block) {
  const std::optional<BackImageView> image = ParseBackImage(block);
  if (!image) return;
  Check(image->image >= block.data() &&
        image->image + image->image_size <= block.data() + block.size());
  const std::optional<ByteBlock> built =
      BuildBackImage(image->name, image->image, image->image_size);
  Check(built.has_value());
  const std::optional<BackImageView> again = ParseBackImage(BlockReader(*built));
  Check(
      again && again->name == image->name && again->image_size == image->image_size &&
      (image->image_size == 0 || std::memcmp(again->image, image->image, image->image_size) == 0));
}

void WallRecords(const BlockReader& block) {
  if (const std::optional<WallKindRecord> kind = ParseWallKind(block)) {
    const std::optional<WallKindRecord> again = ParseWallKind(BlockReader(BuildWallKind(*kind)));
    Check(again && again->kind == kind->kind && again->exclusion == kind->exclusion);
  }
  if (const std::optional<WallFaceRecord> face = ParseWallFace(block)) {
    Check(face->link_ids.size() * 8 <= block.size());
    const std::optional<WallFaceRecord> again = ParseWallFace(BlockReader(BuildWallFace(*face)));
    Check(again && again->kind == face->kind && again->link_ids == face->link_ids);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the block kind, so each parser sees every shape.
  const std::uint8_t kind = data[0];
  // A copy of exactly the block's size, so reading one byte past is caught.
  auto* copy = static_cast<std::uint8_t*>(std::malloc(size - 1 == 0 ? 1 : size - 1));
  if (size > 1) std::memcpy(copy, data + 1, size - 1);
  const BlockReader block(copy, size - 1);
  switch (kind % 3) {
    case 0:
      ViewRecords(block);
      break;
    case 1:
      BackImages(block);
      break;
    default:
      WallRecords(block);
      break;
  }
  std::free(copy);
  return 0;
}
