// The test model that the viewer shows: a small house on a plot, built from
// boxes, slabs and a sphere so that every configuration of the engine has
// something to show: flat walls and a glossy roof for the lighting, sills
// and glass set into the walls for the edges, a tree and overhangs for the
// shadows.
#pragma once

#include "standins/kx3d/q3d_model.h"

namespace kx::kx3d {

Model BuildTestHouse();

}  // namespace kx::kx3d
