// The update checker's own module: where the data are, the catalogue's opening, the proxy
// credentials of the settings file and the check itself, which ends in one result line.
#pragma once

#include "platform/dao/Dao.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The title of the hidden window and of the box that shows the result without a file.
extern const char* const TituloVerificacao;   // "Verificação de Atualizações do Catálogo ZORNAK"

// The command line: "1" for a silent check (the catalogue's automatic one) or any other text,
// "|" and the result file (all after the first "|"). Without "|": not silent, and the line goes to a message box.
struct LinhaComandoVerificador {
    bool silenciosa = false;
    std::string arquivoResultado;
};
LinhaComandoVerificador InterpretaLinhaComando(const std::string& linha);

// The text after the program name, as the catalogue wrote it: the arguments joined by one
// blank (a path with blanks may arrive split in several arguments), in their bytes, from the
// arguments kept by DefineArgumentosPrograma (what the toolkit left of them).
void DefineArgumentosPrograma(int argc, char** argv);
std::string LinhaComandoPrograma();

// Opens the data folder's "CatalogoZORNAK.c01" in the engine's default workspace, shared.
void AbreBancoDados(dao::Database& db, bool somenteLeitura);

// The proxy user name and password of the settings file, deciphered; empty texts when they
// cannot be had. Unlike the catalogue, the checker writes nothing back.
void LeUsuarioSenhaProxy(std::string& usuario, std::string& senha);

// The most of the server's reply that the check reads.
constexpr std::size_t LimiteRespostaVersao = 4096;

// The server's reply as the latest version: blanks, tabs and line ends around the number are
// ignored. A reply that is no 16-bit number raises the conversion's error, its description
// followed by " : " and the reply, cut to one short line.
std::int16_t ConverteRespostaVersao(const std::string& resposta);

// The whole check: the result line ("1" installed "|" latest, or "0" number " " description).
std::string ObtemResultadoVerificacao(const LinhaComandoVerificador& comando);

// The check and its output: the line into the result file, or into a message box when the
// command line names none. The caller ends the program afterwards with the exit code given:
// 0, or CodigoSaidaResultadoNaoGravado when the result file could not be written.
int VerificaAtualizacoes();
