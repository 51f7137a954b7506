// Writes the viewer's test model (data/test.q3d) from the description in
// house_model.cpp:  make_test_model <output file>
#include <cstdio>
#include <fstream>

#include "standins/kx3d/house_model.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_test_model <output.q3d>\n");
    return 2;
  }
  const kx::kx3d::Model house = kx::kx3d::BuildTestHouse();
  const std::optional<std::string> bytes = kx::kx3d::EncodeModel(house);
  if (!bytes) {
    std::fprintf(stderr, "make_test_model: the model does not fit the format\n");
    return 1;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
  if (!out) {
    std::fprintf(stderr, "make_test_model: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%s: %zu parts, %zu triangles, %zu bytes\n", argv[1], house.parts.size(),
              house.TriangleCount(), bytes->size());
  return 0;
}
