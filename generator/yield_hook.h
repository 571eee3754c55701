#pragma once

#include <type_traits>

namespace zelvaran {

// Called by the generators after every character, template doubling and class character, so a
// window can keep handling its messages during a long run. A non-owning, allocation-free
// callable: the referenced function object must outlive the hook.
class YieldHook {
public:
    YieldHook() noexcept = default;

    // Never chosen for a YieldHook itself, so copying a hook copies it instead of wrapping it.
    template <class F>
    requires(!std::is_same_v<std::remove_cv_t<F>, YieldHook>) explicit YieldHook(F& f) noexcept
        : context_(&f), call_([](void* c) { (*static_cast<F*>(c))(); }) {}

    // False for the hook that does nothing.
    explicit operator bool() const noexcept { return call_ != nullptr; }

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
