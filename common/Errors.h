// Exceptions shared by the helpers. Every failure carries a message meant for the user.
#pragma once

#include <stdexcept>

// A text that should be a number is not one.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be written; the message names the file and the cause.
class EWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
