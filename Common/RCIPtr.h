#pragma once
// An intrusive reference-counting pointer: entries of a listing are shared
// between the engine and its callers, never copied.

#include <utility>

namespace nsSP {

// Base of the shared counter.
class RCObject {
public:
    virtual ~RCObject() = default;
    void AddReference() { ++refCount; }
    // Drops one reference; deletes the object when none is left.
    void RemoveReference() {
        if (--refCount == 0) {
            delete this;
        }
    }
    bool IsShareable() const { return shareable; }
    bool IsShared() const { return refCount > 1; }
    int ReferenceCount() const { return refCount; }

protected:
    RCObject() = default;
    RCObject(const RCObject&) : refCount(0), shareable(true) {}
    RCObject& operator=(const RCObject&) { return *this; }

private:
    int refCount = 0;
    bool shareable = true;
};

template <typename T> class RCIPtr {
public:
    RCIPtr() = default;
    // Takes ownership of a new object.
    explicit RCIPtr(T* object) : counter(new CountHolder(object)) { counter->AddReference(); }
    RCIPtr(const RCIPtr& other) : counter(other.counter) {
        if (counter) {
            counter->AddReference();
        }
    }
    RCIPtr(RCIPtr&& other) noexcept : counter(std::exchange(other.counter, nullptr)) {}
    RCIPtr& operator=(RCIPtr other) noexcept {
        std::swap(counter, other.counter);
        return *this;
    }
    ~RCIPtr() {
        if (counter) {
            counter->RemoveReference();
        }
    }

    T* operator->() const { return counter->object; }
    T& operator*() const { return *counter->object; }
    T* get() const { return counter ? counter->object : nullptr; }
    explicit operator bool() const { return counter != nullptr; }
    int ReferenceCount() const { return counter ? counter->ReferenceCount() : 0; }

private:
    struct CountHolder final : RCObject {
        explicit CountHolder(T* owned) : object(owned) {}
        ~CountHolder() override { delete object; }
        CountHolder(const CountHolder&) = delete;
        CountHolder& operator=(const CountHolder&) = delete;
        T* object;
    };

    CountHolder* counter = nullptr;
};

// Makes a shared object in place.
template <typename T, typename... Args> RCIPtr<T> MakeRC(Args&&... args) {
    return RCIPtr<T>(new T(std::forward<Args>(args)...));
}

} // namespace nsSP
