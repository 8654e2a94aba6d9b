// Saving the generated pictures in the formats the catalogue's files come in.
#pragma once

#include <QImage>
#include <string>

namespace demo {

// By the name's ending: ".jpg", ".png", ".bmp" through Qt, ".gif" through giflib (Qt
// reads GIF but cannot write it). Throws std::runtime_error when the file cannot be written.
void SalvaImagem(const QImage& imagem, const std::string& caminho);

}  // namespace demo
