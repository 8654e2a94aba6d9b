// One write of the unzip library failing as on a disk that has just filled up: the write
// after the first `escritasBoas` fails with the error given, and the ones after it go
// through again, as they would once the failed file's part is removed and frees its room.
#pragma once

#include "platform/unzip/Unzip.h"

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace testsupport {

class EscritaQueFalha {
public:
    EscritaQueFalha(int escritasBoas, int erro) {
        restantes_ = escritasBoas;
        erro_ = erro;
        uz::SetWriteRoutineForTesting(&Escreve);
    }
    ~EscritaQueFalha() { uz::SetWriteRoutineForTesting(nullptr); }
    EscritaQueFalha(const EscritaQueFalha&) = delete;
    EscritaQueFalha& operator=(const EscritaQueFalha&) = delete;

private:
    static ssize_t Escreve(int fd, const void* dados, std::size_t tamanho) {
        if (restantes_-- == 0) {
            errno = erro_;
            return -1;
        }
        return ::write(fd, dados, tamanho);
    }
    static inline int restantes_ = 0;
    static inline int erro_ = 0;
};

}  // namespace testsupport
