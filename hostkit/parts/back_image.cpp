#include "hostkit/parts/back_image.h"

#include "hostkit/parts/back_image_format.h"
#include "hostkit/parts/back_image_message.h"
#include "hostkit/parts/extend_info.h"

namespace kx::hostkit {

std::int32_t StoreBackImage(ExtendEngineLoader& loader, BackImageFiles& files,
                            const std::string& path) {
  const std::optional<std::uint64_t> size = files.FileSize(path);
  if (!size) return 0;
  const std::string name = FileNamePart(path);
  // The file is read straight into its place in the block; one too large
  // for the block is refused before anything is allocated or read.
  std::optional<ByteBlock> block = BuildBackImageFrame(name, *size);
  if (!block) return 0;
  const std::size_t image_size = static_cast<std::size_t>(*size);
  const std::optional<std::size_t> read =
      files.ReadFile(path, block->data() + BackImageOffset(name.size()), image_size);
  if (!read || *read != image_size) return 0;
  std::unique_ptr<ExtendEngine> engine = loader.Load();
  if (!engine || !engine->Has(ExtendEntry::kSetPartsExtendBlockData)) return 0;
  (void)engine->SetPartsExtendBlockData(kBackImageParts, kBackImageBlock, block->data(),
                                        static_cast<std::int32_t>(block->size()));
  return 1;
}

BackImageWrite WriteBackImage(ExtendEngineLoader& loader, BackImageFiles& files,
                              const std::string& path) {
  BackImageWrite outcome;
  std::optional<ByteBlock> block;
  if (std::unique_ptr<ExtendEngine> engine = loader.Load()) {
    block = ReadPartsExtendBlock(*engine, kBackImageParts, kBackImageBlock);
  }
  if (!block) return outcome;
  const std::optional<BackImageView> image = ParseBackImage(BlockReader(*block));
  if (!image) return outcome;
  outcome.result = 1;
  outcome.name = image->name;

  const std::optional<std::string> temporary = files.CreateTemporaryFile(FolderPart(path));
  if (!temporary) {
    const std::optional<FileErrorCause> direct =
        files.WriteFileDirectly(path, image->image, image->image_size);
    if (direct && *direct != FileErrorCause::kNone) {
      outcome.message = FileErrorMessage(*direct, path);
    }
    return outcome;
  }
  FileErrorCause cause = files.WriteFile(*temporary, image->image, image->image_size);
  if (cause == FileErrorCause::kNone) cause = files.PutInPlace(*temporary, path);
  if (cause != FileErrorCause::kNone) {
    files.RemoveFile(*temporary);
    outcome.message = FileErrorMessage(cause, path);
  }
  return outcome;
}

std::int32_t ClearBackImage(ExtendEngineLoader& loader, std::int32_t parts) {
  std::unique_ptr<ExtendEngine> engine = loader.Load();
  if (!engine || !engine->Has(ExtendEntry::kDeletePartsExtendBlock)) return 0;
  (void)engine->DeletePartsExtendBlock(parts, kBackImageBlock);
  return 1;
}

}  // namespace kx::hostkit
