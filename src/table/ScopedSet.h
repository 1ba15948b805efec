// A variable set for as long as an object lives.
#pragma once

namespace quorrel {

// Sets the variable and gives it back the value it found when it ends, so that settings nest and a
// failure cannot leave one behind.
template <typename T>
class ScopedSet {
public:
    ScopedSet(T& variable, T value) : variable_(variable), before_(variable) { variable_ = value; }
    ~ScopedSet() { variable_ = before_; }
    ScopedSet(const ScopedSet&) = delete;
    ScopedSet& operator=(const ScopedSet&) = delete;

private:
    T& variable_;
    T before_;
};

}  // namespace quorrel
