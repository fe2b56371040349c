#pragma once
// What an operation that can fail gives back: its value, or why it failed. Made with a value, or with
// `fail(why)`; tested with `if (result)` before the value is read.
#include <cassert>
#include <optional>
#include <utility>
#include <variant>

#include "text/Text.h"

namespace orv {

/// Why something failed: a message, or a richer refusal. A Result takes it when its own error type can
/// be made from `E` (a Result<T> from a literal, a view or a Text).
template <class E = Text>
struct Failure {
  E why;
};

template <class E>
Failure<E> fail(E why) {
  return {std::move(why)};
}

template <class T, class E = Text>
class [[nodiscard]] Result {
 public:
  Result(T value) : held_(std::in_place_index<0>, std::move(value)) {}
  template <class F>
  Result(Failure<F> failure) : held_(std::in_place_index<1>, E(std::move(failure.why))) {}

  explicit operator bool() const { return held_.index() == 0; }
  T& value() {
    assert(*this);
    return std::get<0>(held_);
  }
  const T& value() const {
    assert(*this);
    return std::get<0>(held_);
  }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  const E& error() const {
    assert(!*this);
    return std::get<1>(held_);
  }

 private:
  std::variant<T, E> held_;
};

/// An operation that gives back nothing but whether it succeeded.
template <class E>
class [[nodiscard]] Result<void, E> {
 public:
  Result() = default;
  template <class F>
  Result(Failure<F> failure) : error_(E(std::move(failure.why))) {}

  explicit operator bool() const { return !error_; }
  const E& error() const {
    assert(!*this);
    return *error_;
  }

 private:
  std::optional<E> error_;
};

}  // namespace orv
