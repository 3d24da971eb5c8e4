// The exception of a file that could not be written: thrown by the atomic write and by
// the modules that write through it. The message names the file and the cause, for the
// user.
#pragma once

#include <stdexcept>

class EWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
