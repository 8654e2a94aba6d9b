// The update check's formats and rules that need no window: the checker's command line, its
// result line, when the automatic check is due, and the door to the update installation.
#pragma once

#include "platform/vb/DateTime.h"

#include <cstdint>
#include <functional>
#include <string>

namespace frmZornakAtualizacao {

// The checker program beside the catalogue.
extern const char* const ProgramaVerificador;   // "VerifAtualizCatalogoZORNAK"

// The program in double quotes, one blank, the mode digit ("1" automatic, "0" manual), "|"
// and the result file. The argument is quoted when it holds a blank or a quote, so that it
// reaches the checker whole.
std::string MontaLinhaComandoVerificador(const std::string& pastaPrograma, bool automatica,
                                         const std::string& arquivoResultado);

// The two numbers of a success line.
struct VersoesVerificadas {
    std::int16_t instalada = 0;
    std::int16_t ultima = 0;
};

// The result file's text: "0" then the checker's number and description raises -2 with that
// text; otherwise the text from its second character, split at "|", gives the installed and
// the latest version (a further field is ignored). A missing field raises 9, a field that is
// no 16-bit number 13 or 6. Line ends at the end are not part of the line.
VersoesVerificadas InterpretaResultadoVerificacao(std::string texto);

// The result file's text: its first 4 KB at most (the checker's line is far shorter), the
// line end after it dropped.
std::string LeResultadoVerificacao(const std::string& arquivo);

// The automatic check is due when no check was ever recorded (the date 1.0), or when 15
// minutes have passed since the last one, which any computer sharing the catalogue records.
bool VerificacaoAutomaticaDevida(vb::Date ultimaVerificacao, vb::Date agora);

// What opens the update installation with "installed|latest" and returns when it has closed,
// leaving its answer in RequisicaoTela. Empty (the default): the main window's auxiliary
// window in mode 6. Returns the one replaced.
using InstalacaoAtualizacao = std::function<void(const std::string& parametros)>;
InstalacaoAtualizacao DefineInstalacaoAtualizacao(InstalacaoAtualizacao instalacao);

}  // namespace frmZornakAtualizacao
