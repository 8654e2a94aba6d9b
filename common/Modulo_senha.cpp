// The password of both data files. It is put together from character codes each time it is
// asked for, so it never stands in the program as one text; the catalogue, the update
// checker and the demo data generator all take it from here and cannot drift apart.
#include "common/Modulo.h"

std::string ObtemSenhaBancoDados()
{
    // Each code is stored as its distance from the one before, starting from 'Z'.
    static const int passos[11] = {0, 17, -52, -20, 47, 28, -53, 56, -80, 53, 15};
    std::string senha;
    senha.reserve(11);
    int codigo = 'Z';
    for (int passo : passos) {
        codigo += passo;
        senha.push_back(static_cast<char>(codigo));
    }
    return senha;
}
