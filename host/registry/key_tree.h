#pragma once
// The hive's keys and values held in memory, so that a read is a walk of
// pointers instead of a query.  Every key has a unique id (its row in the
// hive); a Key never moves once made, so pointers stay good until the key is
// removed or the tree is replaced.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/registry/key_names.h"
#include "host/registry/registry.h"

namespace tw::reg {

struct Value {
  std::string name;
  DWORD type = REG_NONE;
  std::string data;
};

struct Key {
  int64_t id = 0;
  Key* parent = nullptr;
  std::string name;
  std::vector<Key*> children;  // in creation order
  // Views into the children's own names.
  std::unordered_map<std::string_view, Key*, FoldHash, FoldEq> childIndex;
  std::vector<Value> values;  // in creation order

  Value* findValue(std::string_view valueName);
};

class KeyTree {
 public:
  // Adds the key `id` below `parent` (null for the hidden top key).
  Key& add(int64_t id, Key* parent, std::string name);
  // Removes `key` and everything below it.
  void remove(Key& key);

  Key* byId(int64_t id) {
    auto it = keys_.find(id);
    return it == keys_.end() ? nullptr : &it->second;
  }
  // The key at `path` below `from`; null when any part is missing.
  Key* find(Key* from, std::string_view path) const;

  // The stored roots; null until the tree holds them.
  Key* localMachine() const { return localMachine_; }
  Key* users() const { return users_; }
  // Looks the stored roots up again once the tree is loaded.
  void findRoots();

  size_t size() const { return keys_.size(); }
  void reserve(size_t n) { keys_.reserve(n); }
  void swap(KeyTree& other) noexcept;

 private:
  std::unordered_map<int64_t, Key> keys_;
  Key* localMachine_ = nullptr;
  Key* users_ = nullptr;
};

}  // namespace tw::reg
