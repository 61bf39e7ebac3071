// One COM interface pointer, released with its owner; never released when it
// was never obtained.
#pragma once
#include <unknwn.h>

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    // The slot a creating call fills, as T**.
    T** Put() { return &p_; }
    // The same slot, as the void** that CoCreateInstance and QueryInterface take.
    void** Out() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};
