#pragma once
// The one appender of transmission records: the window and `fulgor send` both
// record through it.

#include <string>

#include "comms/transmission_record.h"
#include "core/result.h"

namespace fulgor {

struct LoggedTransmission {
    std::string line;  // the record line, without line end
    Status appended;   // fails naming the log file when it could not be written
};

// Stamps `show` with the present local time and appends its record line, with
// a line end, to "Transmissions.log" in the program's folder (programFolder()).
// The line is made also when the log cannot be written. Needs a QCoreApplication.
LoggedTransmission logTransmission(const SentShow& show);

}  // namespace fulgor
