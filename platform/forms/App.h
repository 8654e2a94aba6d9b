// The App object: where the program lives and which process it is.
#pragma once

#include <string>

namespace vb {

class AppObject {
public:
    std::string Path() const;     // the program folder, without a trailing "/"
    long ProcessId() const;
};

AppObject& App();

}  // namespace vb
