// The one table of every picture the program shows: the resources the windows load by name
// and type, and the design-time pictures of the windows, named after their controls.
#pragma once

#include <QColor>
#include <QImage>

#include <functional>
#include <string>
#include <vector>

struct FiguraInventario {
    std::string nome;      // resource name; design-time pictures: "form.control"
    std::string tipos;     // one resource per letter: "G", or "P", "E", "I"; "D" design time
    int largura = 0;
    int altura = 0;
    std::string mostra;    // what it shows, for people reading the table
    int mensagem = -1;     // the message whose text it carries; -1 none
    // Transparent pictures: the colour they are made to stand on (contact sheets show them
    // over it); invalid when any back will do.
    QColor fundo;
    // Draws the picture; `idioma` is the letter of the resource type ("G" or "D" for none).
    std::function<QImage(const std::string& idioma)> desenha;
};

const std::vector<FiguraInventario>& Inventario();
