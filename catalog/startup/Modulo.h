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

// --- Pictures from resources and image files --------------------------------------------
#include "platform/forms/Picture.h"
#include "platform/vb/Variant.h"

#include <cstdint>
#include <functional>

class QImage;

// What ObtemDimensoesImagem reads from an image file's header.
struct DimensoesImagem {
    std::int32_t Altura = 0;          // pixels
    std::int32_t Largura = 0;         // pixels
    std::int32_t TamanhoArquivo = 0;  // bytes
};

// The runtime's number for a resource name or type the program does not carry.
constexpr long ErroRecursoNaoEncontrado = 326;

// The picture resource `nome` of type `tipo` ("G" general, "P"/"E"/"I" by language, "D" the
// windows' design-time pictures); without a type, the current `Idioma`. Names and types are
// matched in upper case. A name or type the resources lack raises ErroRecursoNaoEncontrado;
// data that does not decode gives Nothing. Needs a QGuiApplication.
vb::Picture CarregaImagemRecurso(const vb::Variant& nome, const vb::Variant& tipo = vb::Variant());

// Type ("png", "gif", "bmp", "jpg"; "" unknown) and size of an image file from its header.
// Never raises: a missing, unreadable, short or unknown file gives False.
bool ObtemDimensoesImagem(const std::string& caminho, DimensoesImagem& dimensoes, std::string& tipo);

// The 16-bit word at `posicao`, little- or big-endian, sign-extended. A position outside the
// bytes raises subscript out of range (9).
std::int32_t PalavraLE(long posicao, const std::vector<std::uint8_t>& bytes);
std::int32_t PalavraBE(long posicao, const std::vector<std::uint8_t>& bytes);

// Copies every pixel of `origem` whose colour (0x00BBGGRR) is not `corTransparente` onto
// `destino` at the offset, except the source's last row; pixels outside `destino` are dropped.
// With bRefresh True it then calls `atualiza`, which repaints whatever shows `destino`.
void CopiaPixelsTransparente(const QImage& origem, QImage& destino, long corTransparente,
                             int deslocX, int deslocY, bool bRefresh,
                             const std::function<void()>& atualiza = {});

// GetPixel: the colour of pixel (x, y) as 0x00BBGGRR, or -1 (CLR_INVALID) outside the image.
long CorPixel(const QImage& imagem, int x, int y);

