#pragma once
// A value or the reason it could not be produced. Platform calls that can fail return this instead
// of throwing, so gauge code written in a plain procedural style can test and carry on.

#include <optional>
#include <string>
#include <utility>

namespace plat {

struct Error {
    std::string message;
};

template <typename T>
class Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Error error) : error_(std::move(error)) {}

    explicit operator bool() const { return value_.has_value(); }
    bool ok() const { return value_.has_value(); }

    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T& value() const& { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    T& operator*() { return *value_; }

    const std::string& error() const { return error_.message; }

private:
    std::optional<T> value_;
    Error error_;
};

}  // namespace plat
