// The catalogue program's own part of the module: search text normalisation and, as they
// come, the databases, the cart table and the catalogue queries.
#pragma once

#include "common/Modulo.h"

#include <string>
#include <vector>

// --- Search text normalisation ----------------------------------------------------------
std::string RemoveAcentos(const std::string& texto);
std::string SomenteDigitos(const std::string& texto);
std::string SomenteLetrasDigitos(const std::string& texto);
std::string RemoveZerosEsquerda(const std::string& texto);
std::string NormalizaCodigoAlfanumerico(const std::string& texto);
std::string NormalizaCodigoNumerico(const std::string& texto);
std::string MontaChaveBusca(const std::string& texto);
std::string PreparaTextoSQL(const std::string& texto, bool bLike);
std::string FiltraConectivo(const std::string& palavra, long quantidade);
std::vector<std::string> SeparaPalavras(const std::string& texto);
std::string MontaFiltroPalavras(const std::string& texto, const std::string& campo);
