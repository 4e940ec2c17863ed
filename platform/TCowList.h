#pragma once
#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

// A list that is replaced by a new list on every change (copy-on-write). A loop walks a
// snapshot of the list as it was when the loop began, so entries added or removed during
// the loop neither disturb nor skip the loop; holders of an older snapshot keep seeing it.
template <typename T>
class TCowList {
public:
    // One immutable state of the list. Cheap to copy; keeps its entries alive.
    class Snapshot {
    public:
        Snapshot() = default;
        explicit Snapshot(std::shared_ptr<const std::vector<T>> items) : items(std::move(items)) {}
        size_t size() const { return items ? items->size() : 0; }
        bool empty() const { return size() == 0; }
        const T& operator[](size_t i) const { return (*items)[i]; }
        const T* begin() const { return items ? items->data() : nullptr; }
        const T* end() const { return items ? items->data() + items->size() : nullptr; }
        bool SameAs(const Snapshot& other) const { return items == other.items; }

    private:
        std::shared_ptr<const std::vector<T>> items;
    };

    // The list as it is now; later changes leave the returned snapshot untouched.
    Snapshot Items() const { return current; }
    size_t Count() const { return current.size(); }
    bool Empty() const { return current.empty(); }
    const T& operator[](size_t i) const { return current[i]; }

    bool Contains(const T& item) const {
        for (const T& entry : current) {
            if (entry == item) return true;
        }
        return false;
    }

    void Append(T item) {
        auto next = std::make_shared<std::vector<T>>();
        next->reserve(current.size() + 1);
        next->assign(current.begin(), current.end());
        next->push_back(std::move(item));
        current = Snapshot(std::move(next));
    }

    // Puts the item before entry index (at the end when index is past it).
    void Insert(size_t index, T item) {
        auto next = std::make_shared<std::vector<T>>(current.begin(), current.end());
        next->insert(next->begin() + std::ptrdiff_t(std::min(index, next->size())), std::move(item));
        current = Snapshot(std::move(next));
    }

    // Removes every entry the predicate accepts, keeping the others in their order.
    // Returns how many were removed; when none is, the list stays the same object.
    template <typename Predicate>
    size_t RemoveIf(Predicate predicate) {
        const Snapshot items = current;
        std::shared_ptr<std::vector<T>> next;
        size_t removed = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            const T& entry = items[i];
            if (predicate(entry)) {
                if (!next) {
                    next = std::make_shared<std::vector<T>>(items.begin(), items.begin() + i);
                }
                ++removed;
            } else if (next) {
                next->push_back(entry);
            }
        }
        if (next) current = Snapshot(std::move(next));
        return removed;
    }

    // Removes every entry equal to the given one; removing an absent entry changes nothing.
    size_t Remove(const T& item) {
        return RemoveIf([&](const T& entry) { return entry == item; });
    }

    void Clear() { current = Snapshot(); }

private:
    Snapshot current;
};
