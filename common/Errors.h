// Exceptions shared by the helpers. Every failure carries a message meant for the user.
// A failed file write throws EWriteError (platform/WriteError.h).
#pragma once

#include <stdexcept>

// A text that should be a number is not one.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
