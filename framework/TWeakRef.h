#pragma once
#include <memory>

// A reference to an object owned elsewhere: it reads like a pointer while the owner keeps the
// object and like an empty pointer once the owner let it go. Objects that point at each other
// (a house and its inhabitants, a work building and its workers) hold one side this way, so
// that neither keeps the other alive.
template <class T>
class TWeakRef {
public:
    TWeakRef() = default;
    TWeakRef(std::nullptr_t) {}
    TWeakRef(const std::shared_ptr<T>& p) : ref(p), raw(p.get()) {}

    // The object, shared for as long as the caller keeps the result.
    std::shared_ptr<T> lock() const { return ref.lock(); }
    // The object itself while its owner keeps it (no count is taken: the world is
    // single-threaded, so an object not yet expired stays alive for the caller's statement).
    T* get() const { return ref.expired() ? nullptr : raw; }
    T* operator->() const { return get(); }
    explicit operator bool() const { return !ref.expired(); }
    void reset() {
        ref.reset();
        raw = nullptr;
    }

private:
    std::weak_ptr<T> ref;
    T* raw = nullptr;
};

template <class T>
bool operator==(const TWeakRef<T>& a, const std::shared_ptr<T>& b) {
    return a.get() == b.get();
}
template <class T>
bool operator!=(const TWeakRef<T>& a, const std::shared_ptr<T>& b) {
    return !(a == b);
}
template <class T>
bool operator==(const TWeakRef<T>& a, std::nullptr_t) {
    return !a;
}
