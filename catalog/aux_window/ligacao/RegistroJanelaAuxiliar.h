// Puts the auxiliary window behind the main window's door to it (IJanelaAuxiliar) and gives
// the window what it needs of the main window. The program calls it once at start.
#pragma once

void RegistraJanelaAuxiliar();
