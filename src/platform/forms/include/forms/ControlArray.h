#pragma once

#include <vector>

namespace platform {

// The elements of a control array, by index from 0.
template <class T> class ControlArray {
public:
    ControlArray() = default;
    explicit ControlArray(std::vector<T*> elements)
        : elements_(std::move(elements))
    {}

    T& operator[](int index) const { return *elements_.at(std::size_t(index)); }
    int Count() const { return int(elements_.size()); }
    auto begin() const { return elements_.begin(); }
    auto end() const { return elements_.end(); }

private:
    std::vector<T*> elements_;
};

} // namespace platform
