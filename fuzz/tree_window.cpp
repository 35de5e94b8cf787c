#include "fuzz/tree_window.h"

#include "fuzz/targets.h"
#include "runtime/window_commands.h"
#include "runtime/window_template.h"

namespace kelmor::fuzz {

ControlRef FuzzTree() {
  static const WindowId window = [] {
    WindowTemplate w;
    w.name = "fuzz";
    w.title = "fuzz";
    w.width = 400;
    w.height = 300;
    ControlTemplate tree;
    tree.name = "tree";
    tree.kind = ControlKind::TreeBox;
    tree.width = 300;
    tree.height = 200;
    tree.tree.image_count = 4;
    w.controls.push_back(tree);
    const WindowId id = RegisterWindow(w);
    Require(LoadWindow(id), "tree window loads");
    return id;
  }();
  return {window, "tree"};
}

}  // namespace kelmor::fuzz
