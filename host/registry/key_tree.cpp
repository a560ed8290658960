#include "host/registry/key_tree.h"

#include <algorithm>

#include "host/registry/hive_file.h"

namespace tw::reg {

Value* Key::findValue(std::string_view valueName) {
  const FoldEq eq;
  auto it = std::find_if(values.begin(), values.end(), [&](const Value& v) { return eq(v.name, valueName); });
  return it == values.end() ? nullptr : &*it;
}

Key& KeyTree::add(int64_t id, Key* parent, std::string name) {
  Key& k = keys_[id];
  k.id = id;
  k.parent = parent;
  k.name = std::move(name);
  if (parent) {
    parent->children.push_back(&k);
    parent->childIndex.emplace(k.name, &k);
  }
  return k;
}

void KeyTree::remove(Key& key) {
  if (Key* parent = key.parent) {
    parent->childIndex.erase(std::string_view(key.name));
    parent->children.erase(std::find(parent->children.begin(), parent->children.end(), &key));
  }
  std::vector<Key*> stack{&key};
  while (!stack.empty()) {
    Key* k = stack.back();
    stack.pop_back();
    stack.insert(stack.end(), k->children.begin(), k->children.end());
    if (k == localMachine_) localMachine_ = nullptr;
    if (k == users_) users_ = nullptr;
    keys_.erase(k->id);
  }
}

Key* KeyTree::find(Key* from, std::string_view path) const {
  Key* k = from;
  if (!k) return nullptr;
  forEachComponent(path, [&](std::string_view name) {
    auto it = k->childIndex.find(name);
    k = it == k->childIndex.end() ? nullptr : it->second;
    return k != nullptr;
  });
  return k;
}

void KeyTree::findRoots() {
  localMachine_ = users_ = nullptr;
  Key* top = byId(kTopKeyId);
  if (!top) return;
  if (auto it = top->childIndex.find(kLocalMachineName); it != top->childIndex.end()) localMachine_ = it->second;
  if (auto it = top->childIndex.find(kUsersName); it != top->childIndex.end()) users_ = it->second;
}

void KeyTree::swap(KeyTree& other) noexcept {
  keys_.swap(other.keys_);
  std::swap(localMachine_, other.localMachine_);
  std::swap(users_, other.users_);
}

}  // namespace tw::reg
