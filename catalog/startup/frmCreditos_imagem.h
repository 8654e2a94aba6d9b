// Which credits picture the closing window shows, and where, for a screen size.
#pragma once

#include <string>

struct ImagemCreditos {
    std::string recurso;  // picture resource of type "G"
    int left, top;        // pixels
};

// Screens below 1024 x 768 pixels get the 800 x 600 picture at the top left; larger ones
// the 1024 x 768 picture, centred. The screen is given in twips with its twips per pixel.
ImagemCreditos EscolheImagemCreditos(long larguraTwips, long alturaTwips, int twipsPorPixelX,
                                     int twipsPorPixelY);
