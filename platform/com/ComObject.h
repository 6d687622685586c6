#pragma once
// Objects of our component model: every interface derives from ComUnknown
// (reference counting and the question for another interface of the same
// object), objects live as long as someone holds a reference, and ComPtr
// holds one. Interfaces are plain C++ abstract classes; host and server are
// built by the same compiler against the same platform library, so they
// share the layout.
#include <atomic>
#include <cstdint>
#include <tuple>
#include <utility>

#include "platform/com/ComTypes.h"

namespace lx {

class ComUnknown {
public:
    static constexpr Guid kIid{0x6C780000, 0x0000, 0x4000, {0x80, 0x00, 0x4C, 0x58, 0x43, 0x4F, 0x4D, 0x00}};

    // On success *out holds a new reference to the interface `iid` of this
    // object; otherwise kNoInterface and a null *out.
    virtual HResult QueryInterface(const Guid& iid, void** out) = 0;
    virtual std::uint32_t AddRef() = 0;
    // Frees the object when the last reference goes.
    virtual std::uint32_t Release() = 0;

protected:
    ~ComUnknown() = default;
};

// Holds one reference to an interface.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference.
    explicit ComPtr(T* p) : p_(p)
    {
        if (p_)
            p_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Adopts a reference the caller already owns.
    static ComPtr Attach(T* p)
    {
        ComPtr ptr;
        ptr.p_ = p;
        return ptr;
    }
    T* Detach() { return std::exchange(p_, nullptr); }
    void Reset()
    {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For calls that hand out a new reference through a void**.
    void** Out()
    {
        Reset();
        return reinterpret_cast<void**>(&p_);
    }

    // Another interface of the same object, or null.
    template <typename U>
    ComPtr<U> As() const
    {
        ComPtr<U> other;
        if (p_)
            p_->QueryInterface(U::kIid, other.Out());
        return other;
    }

private:
    T* p_ = nullptr;
};

// Implements ComUnknown for an object that offers the listed interfaces:
// class Thing : public ComImplementation<Dispatch, PersistStreamInit> { ... };
// New objects start with one reference (take it with ComPtr::Attach).
template <typename... Interfaces>
class ComImplementation : public Interfaces... {
public:
    HResult QueryInterface(const Guid& iid, void** out) override
    {
        if (!out)
            return kPointer;
        *out = nullptr;
        if (iid == ComUnknown::kIid)
            *out = static_cast<ComUnknown*>(static_cast<FirstInterface*>(this));
        else
            (void)((iid == Interfaces::kIid ? (*out = static_cast<Interfaces*>(this), true) : false) || ...);
        if (!*out)
            return kNoInterface;
        AddRef();
        return kOk;
    }
    std::uint32_t AddRef() override { return ++references_; }
    std::uint32_t Release() override
    {
        const std::uint32_t left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ComImplementation() = default;
    virtual ~ComImplementation() = default;

private:
    using FirstInterface = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    std::atomic<std::uint32_t> references_{1};
};

} // namespace lx
