#pragma once

namespace zelvaran {

// Called by the generators after every character, template doubling and class character, so a
// window can keep handling its messages during a long run. A non-owning, allocation-free
// callable: the referenced function object must outlive the hook.
class YieldHook {
public:
    YieldHook() noexcept = default;

    template <class F>
    explicit YieldHook(F& f) noexcept
        : context_(&f), call_([](void* c) { (*static_cast<F*>(c))(); }) {}

    void operator()() const {
        if (call_ != nullptr) {
            call_(context_);
        }
    }

private:
    void* context_ = nullptr;
    void (*call_)(void*) = nullptr;
};

} // namespace zelvaran
