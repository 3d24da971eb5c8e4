// What a decoder returns: the decoded value, or the text of what is wrong with the bytes.
#pragma once

#include <QString>
#include <optional>
#include <utility>

template <typename T> struct Decoded {
    std::optional<T> Value;
    QString Error;

    static Decoded Of(T value) { return Decoded{std::move(value), QString()}; }
    static Decoded Failure(QString error) { return Decoded{std::nullopt, std::move(error)}; }
    bool Ok() const { return Value.has_value(); }
};
