#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "store/Text.h"

namespace pesterly {

// A failure at the edge of the program (a file, the mail service), with a message that tells
// the user what went wrong and what to do about it. `message` is the English message; an error
// made by Failure also keeps the message's parts, so that the windows can show it translated.
struct Error {
    Error(std::string message_) : message(std::move(message_)) {}
    Error(std::string message_, Text text_)
        : message(std::move(message_)), text(std::move(text_)) {}

    std::string message;
    Text text;
};

inline Error Failure(Text text) {
    std::string english = text.English();
    return Error{std::move(english), std::move(text)};
}

// What a call that can fail hands back: its value, or the Error that stopped it.
// True on success, so the failure branch reads `if (!result)`.
template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Error> state_;
};

// For calls that only succeed or fail.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return !error_; }
    explicit operator bool() const { return ok(); }

    const Error& error() const { return *error_; }

  private:
    std::optional<Error> error_;
};

}  // namespace pesterly
