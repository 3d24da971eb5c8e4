// The system's own words for what went wrong, as the messages quote them.
#pragma once

#include <QString>

// The system's text for an errno value, e.g. "No space left on device", in the user's
// language where the C library has it.
QString SystemErrorText(int error);
