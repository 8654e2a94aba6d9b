#include "platform/forms/App.h"

#include "platform/os/Folders.h"
#include "platform/os/Process.h"

namespace vb {

std::string AppObject::Path() const { return os::ProgramFolder(); }
long AppObject::ProcessId() const { return os::CurrentProcessId(); }

AppObject& App() {
    static AppObject app;
    return app;
}

}  // namespace vb
