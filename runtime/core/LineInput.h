// The Line Input # statement.
#pragma once

#include "platform/oleauto.h"

namespace rt {

// Reads the next line of a file opened For Input or Binary into `line`
// (replacing its text). A carriage return ends the line and takes a line
// feed right after it along; a lone line feed is an ordinary character; NUL
// bytes are dropped. Code page 1200 files are read in 16-bit units. Past the
// end the line is empty and the status 0. E_FAIL for a bad or free number,
// another mode, or a failed read.
HRESULT LineInput(LONG fileNumber, Bstr* line);

}  // namespace rt
