// The bridge between cUnzip and the unzip library: one run at a time, whose callbacks find
// the running object through DonoUnzip.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/services/cUnzip.h"
#include "platform/unzip/Unzip.h"

// The module's state (one run at a time per program).
struct TEstadoUnzip {
    cUnzip* DonoUnzip = nullptr;    // the object whose events the callbacks raise, during a run
    std::int16_t CancelaUnzip = 0;  // a password was refused: later encrypted entries are skipped
};
extern TEstadoUnzip EstadoUnzip;

// A list holds at most 1023 names; more raise 9. Any error is raised again to the caller.
// A file the library could not write stops the run and is raised: 61 for a full disk, 70
// when writing is refused, 57 otherwise, the description naming the file and the cause.
constexpr std::size_t MaximoNomesUnzip = 1023;

std::int32_t RunUnzip(cUnzip& owner, uz::DCL& options, std::int32_t includeCount,
                      const std::vector<std::string>& includeNames, std::int32_t excludeCount,
                      const std::vector<std::string>& excludeNames);
