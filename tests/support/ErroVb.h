// The runtime error a call raises, for the tests that expect one.
#pragma once

#include "platform/vb/Err.h"

#include <functional>
#include <string>

namespace testsupport {

// The error number the call raises (0 when it raises none); its description too when asked.
inline long NumeroErro(const std::function<void()>& chamada, std::string* descricao = nullptr) {
    try {
        chamada();
    } catch (const vb::Error& e) {
        if (descricao) *descricao = e.Description();
        return e.Number();
    }
    return 0;
}

}  // namespace testsupport
