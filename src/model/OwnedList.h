// An ordered, index-addressed list that owns its items. Items keep stable addresses, because
// the selection, the tree and the views refer to them by identity.
#pragma once
#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

[[noreturn]] void throwListIndexError(int index, int count);

template <class T>
class OwnedList {
public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  // The item at an index; outside 0..Count-1 raises the list's index error (std::out_of_range).
  T* At(int index) const {
    if (index < 0 || index >= Count()) throwListIndexError(index, Count());
    return items_[static_cast<size_t>(index)].get();
  }
  T* First() const { return items_.empty() ? nullptr : items_.front().get(); }
  T* Last() const { return items_.empty() ? nullptr : items_.back().get(); }

  T* Add(std::unique_ptr<T> item) {
    items_.push_back(std::move(item));
    return items_.back().get();
  }
  T* Insert(int index, std::unique_ptr<T> item) {
    if (index < 0 || index > Count()) throwListIndexError(index, Count());
    auto it = items_.insert(items_.begin() + index, std::move(item));
    return it->get();
  }
  // Unlinks the item at an index without freeing it: the caller owns it from now on.
  std::unique_ptr<T> Extract(int index) {
    if (index < 0 || index >= Count()) throwListIndexError(index, Count());
    std::unique_ptr<T> out = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    return out;
  }
  // Frees the item at an index and removes its slot.
  void Remove(int index) { Extract(index).reset(); }
  // Identity, first match, -1 when absent.
  int IndexOf(const T* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
  }
  // Moves the item at `from` so that it ends at index `to`.
  void Move(int from, int to) {
    auto item = Extract(from);
    Insert(to, std::move(item));
  }
  void Exchange(int a, int b) {
    if (a < 0 || a >= Count()) throwListIndexError(a, Count());
    if (b < 0 || b >= Count()) throwListIndexError(b, Count());
    std::swap(items_[static_cast<size_t>(a)], items_[static_cast<size_t>(b)]);
  }
  // Frees every item, from the last to the first.
  void FreeAll() {
    while (!items_.empty()) items_.pop_back();
  }
  // Unlinks every item and hands them to the caller, in order.
  std::vector<std::unique_ptr<T>> ExtractAll() {
    std::vector<std::unique_ptr<T>> out = std::move(items_);
    items_.clear();
    return out;
  }
  // In-place sort by a three-way compare routine (negative, zero, positive on two items);
  // items that compare equal keep their order.
  template <class Compare>
  void Sort(Compare compare) {
    std::stable_sort(items_.begin(), items_.end(),
                     [&](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) {
                       return compare(static_cast<const T*>(a.get()),
                                      static_cast<const T*>(b.get())) < 0;
                     });
  }
  void Reserve(int n) { items_.reserve(static_cast<size_t>(n)); }

  // Direct access for range-for and algorithms.
  std::vector<std::unique_ptr<T>>& Items() { return items_; }
  const std::vector<std::unique_ptr<T>>& Items() const { return items_; }

protected:
  ~OwnedList() = default;
  std::vector<std::unique_ptr<T>> items_;
};
