// What a step of the launch yields: its value, or the one message that ends the launch. Only the
// entry point reports a failure; every step hands it up in this shape.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

struct Failure {
    std::string message;  // printed as it stands, followed by a line feed
};

template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : content_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : content_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return content_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(content_); }
    T&& value() && { return std::get<0>(std::move(content_)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }
    const Failure& failure() const { return std::get<1>(content_); }

  private:
    std::variant<T, Failure> content_;
};

// A step that yields nothing but may end the launch.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return *failure_; }

  private:
    std::optional<Failure> failure_;
};
