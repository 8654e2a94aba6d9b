// The program's message boxes: a QMessageBox behind the vb::MsgBox seam.
#pragma once

namespace vb {

// Installs the QMessageBox handler; called once after the QApplication is made.
void InstallQtMessageBox();

}  // namespace vb
