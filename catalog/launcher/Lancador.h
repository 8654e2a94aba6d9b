// The restart launcher: started by the catalogue that ends after an update, with that
// catalogue's process id; once the process has gone it starts the catalogue again from its
// own program folder, and tells the user when it cannot.
#pragma once

#include <chrono>
#include <string>

namespace lancador {

extern const char* const ProgramaCatalogo;   // "CatalogoZORNAK"

// The folder of this program's file, from the bytes of /proc/self/exe (links resolved), so a
// folder whose name is no UTF-8 is kept as it stands; "" when the system does not say.
std::string PastaPrograma();

// A process id as the catalogue writes it: decimal digits only, above 0.
bool LeIdProcesso(const std::string& texto, long& id);

// What /proc says of a process now: gone (also a zombie, which has ended and only waits for
// its parent), or running since the moment `inicio` (clock ticks after boot).
struct SituacaoProcesso {
    bool rodando = false;
    unsigned long long inicio = 0;
};
SituacaoProcesso LeSituacaoProcesso(long id);

// Waits until the process has ended, at most `limite`. A process that was gone from the start,
// or whose id now names a process started later, has ended. False when the time ran out.
bool AguardaFim(long id, std::chrono::milliseconds limite);

// Starts the program with no arguments in a session of its own, not waited for. 0, or the
// error number of the failed start (the program missing or not executable).
int IniciaDestacado(const std::string& programa);

// The language letter of the user's settings ("P", "E" or "I"); "P" when the settings do not
// say. Only read: the catalogue repairs the file, not this program.
std::string IdiomaConfigurado();

enum class Falha { EsperaEsgotada, InicioFalhou };

// The message for the user in the language `idioma`; `detalhe` (the program and the system's
// reason) goes on a line of its own when not empty.
std::string TextoFalha(Falha falha, const std::string& idioma, const std::string& detalhe);

}  // namespace lancador
