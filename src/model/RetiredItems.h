// A holder for items unlinked from a document while the selection, the tree or the views may
// still point at them; its owner empties it once those references have been rebuilt.
#pragma once
#include <memory>
#include <utility>
#include <vector>

#include "model/GPS.h"

class RetiredItems {
public:
  template <class T>
  void Add(std::unique_ptr<T> item) {
    if (item) items_.push_back(std::unique_ptr<TItem>(std::move(item)));
  }
  template <class T>
  void AddAll(std::vector<std::unique_ptr<T>> items) {
    for (auto& item : items) Add(std::move(item));
  }
  int Count() const { return static_cast<int>(items_.size()); }
  bool Contains(const TItem* item) const {
    for (const auto& p : items_)
      if (p.get() == item) return true;
    return false;
  }
  // Frees everything held; call once nothing refers to the items any more.
  void Clear() { items_.clear(); }

private:
  std::vector<std::unique_ptr<TItem>> items_;
};
