// The one way the parts services walk the engine's part tree: depth first,
// a part before its children and children in the engine's order, on a stack
// of the walk's own so that a deep tree cannot exhaust the thread's, and
// never into a part that is already on the path from the root, so that a
// tree that loops back still ends. Neither can be stopped once it happens:
// an overflowed stack ends the host application.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

namespace kx::hostkit {

// Walks the tree below `root`, the root included. `tree` answers
// GetChildPartsNum (parts) and GetChildPartsIndex (parts, position) as the
// engine does. `enter (parts, parent)` is called for every part reached,
// with the value its parent's call gave (null for the root), and gives the
// part's own value, or nullopt to leave the part's children unvisited.
// Children with a negative index, and children already on the path, are not
// entered; a part reached again along another branch is.
template <class Value, class Tree, class Enter>
void WalkPartTree(Tree& tree, std::int32_t root, Enter&& enter) {
  struct Visit {
    std::int32_t parts;
    std::int32_t children;
    std::int32_t next_child;
    Value value;
  };
  std::vector<Visit> path;
  std::unordered_set<std::int32_t> on_path;
  auto go_into = [&](std::int32_t parts) {
    if (on_path.count(parts) != 0) return;
    std::optional<Value> value = enter(parts, path.empty() ? nullptr : &path.back().value);
    if (!value) return;
    const std::int32_t children = tree.GetChildPartsNum(parts);
    path.push_back({parts, children, 0, std::move(*value)});
    on_path.insert(parts);
  };

  go_into(root);
  while (!path.empty()) {
    Visit& top = path.back();
    if (top.next_child >= top.children) {
      on_path.erase(top.parts);
      path.pop_back();
      continue;
    }
    const std::int32_t child = tree.GetChildPartsIndex(top.parts, top.next_child++);
    if (child >= 0) go_into(child);
  }
}

// The value of a walk that needs none.
struct NoWalkValue {};

}  // namespace kx::hostkit
