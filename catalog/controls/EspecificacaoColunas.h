// The column specification of the list controls and the reading of the computed column
// ImagensGrid that switches a row's pictures on and off.
#pragma once

#include <string>
#include <vector>

// One item of a column specification: fields joined by "|" (data field, alignment, width in
// twips, type, tooltip, mouse pointer, optional legend width in twips).
struct ColunaEspecificada {
    std::string Campo;           // data field; may be empty for an "F" column
    int Alinhamento = 0;         // 0 left, 1 right, 2 centre
    long Largura = 0;            // twips
    std::string Tipo;            // "T" text, "I" picture driven by ImagensGrid, "F" fixed picture
    std::string Dica;            // tooltip of the pictures ("I"/"F")
    int Ponteiro = 0;            // mouse pointer of the pictures; 99 marks a clickable picture
    bool TemLegenda = false;     // a seventh field was given
    long LarguraLegenda = 0;     // twips
    bool EhFigura() const { return Tipo == "I" || Tipo == "F"; }
};

// Reads one item. An item that lacks the fields its type needs (four for every item, six
// for a picture column) or whose numbers do not read raises a clear error (9 or 13); the
// caller's configuration is then left as it was.
ColunaEspecificada LeColunaEspecificada(const std::string& item);

// Every item, in order (the host has already split the text at ";").
std::vector<ColunaEspecificada> LeEspecificacaoColunas(const std::vector<std::string>& itens);

// What one row's ImagensGrid says: for each "I" position whether its picture shows (the
// flag character is a blank; a carriage return, any other character or a missing one hides
// it), and the legend entries (the text after the first ".", with one blank appended, split
// at "-"; none without a ".").
struct ImagensLinha {
    std::vector<bool> Mostra;
    std::vector<std::string> Legendas;
    // The packed date of legend entry i, "" when there is none.
    std::string Legenda(int i) const {
        return i >= 0 && i < static_cast<int>(Legendas.size()) ? Legendas[static_cast<std::size_t>(i)] : std::string();
    }
};
ImagensLinha LeImagensGrid(const std::string& texto, int posicoesI);

// Twips of the design to pixels of the screen (15 twips a pixel), to the nearest pixel.
int TwipsParaPixels(long twips);
