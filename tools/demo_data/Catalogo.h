// The demo catalogue: an invented maker's parts, the applications they fit, assembly sets
// with their exploded figures, cross references and replacements, built deterministically
// from a seed, and the writers that turn it into the data folder.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace demo {

// A deterministic random source (splitmix64): the same seed gives the same catalogue on
// every machine and standard library.
class Aleatorio {
public:
    explicit Aleatorio(std::uint64_t semente) : estado_(semente) {}
    std::uint64_t Proximo();
    long Entre(long minimo, long maximo);    // both ends included
    double Real();                           // [0, 1)
    bool Chance(double p) { return Real() < p; }
    template <class T> const T& Escolhe(const std::vector<T>& v) {
        return v[static_cast<size_t>(Entre(0, static_cast<long>(v.size()) - 1))];
    }

private:
    std::uint64_t estado_;
};

// A cell: Null, a whole number, a real number or a text.
using Valor = std::variant<std::monostate, long long, double, std::string>;

struct Coluna {
    std::string nome;
    std::string tipo;          // Jet DDL type: Long, Short, Byte, Double, Date, Memo, Text(n)
    bool obrigatoria = false;  // Not Null
};

struct Tabela {
    std::string nome;
    std::vector<Coluna> colunas;
    std::vector<std::string> chave;       // primary key columns, may be empty
    std::vector<std::string> indices;     // indexes: a column, or columns joined by ", "
    std::vector<std::vector<Valor>> linhas;

    void Inclui(std::vector<Valor> linha) { linhas.push_back(std::move(linha)); }
    int IndiceColuna(const std::string& nome) const;
};

// One item marker of a figure page: the item text and the top-left corner of its 24-pixel
// marker in the page picture; the page picture draws the item's part and the leader line.
struct ItemFigura {
    std::string item;
    int esquerda = 0;
    int topo = 0;
    int ancoraX = 0;      // where the leader line touches the part
    int ancoraY = 0;
    int forma = 0;        // which kind of part is drawn
    int eixoY = 0;        // the exploded axis the part stands on
    int faixa = 0;        // the width the part may take along the axis
};

struct PaginaFigura {
    int conjunto = 0;
    int numeroParte = 0;
    std::string arquivo;  // under "Figuras/"
    bool gravar = true;   // false for the one page whose file is missing
    std::vector<ItemFigura> itens;
};

struct FotoProduto {
    std::string arquivo;  // under "FotoPeca/"
    int largura = 190;
    int altura = 165;
    int grupo = 0;        // which kind of part is drawn
    std::uint64_t semente = 0;
    bool gravar = true;   // false for the one photo whose file is missing
};

struct Catalogo {
    std::vector<Tabela> tabelas;          // "CatalogoZORNAK.c01", in creation order
    std::vector<FotoProduto> fotos;
    std::vector<PaginaFigura> paginas;
    std::string aviso;                    // "cnpop.txt"

    Tabela& Tab(const std::string& nome);
    const Tabela& Tab(const std::string& nome) const;
};

struct Opcoes {
    std::uint64_t semente = 1;
    int escala = 1;        // multiplies products, applications and cross references
};

Catalogo GeraCatalogo(const Opcoes& opcoes);

// The data folder's files. GravaBancoCatalogo/GravaBancoAuxiliar key the files with the
// program's password; the pictures need a Qt GUI application (offscreen is enough).
void GravaBancoCatalogo(const Catalogo& c, const std::string& caminho);
void GravaBancoAuxiliar(const std::string& caminho);
void GravaFotos(const Catalogo& c, const std::string& pasta);
void GravaFiguras(const Catalogo& c, const std::string& pasta);
// Writes a whole data folder ("CatalogoZORNAK.c01", "CatalogoZORNAK.c02", "FotoPeca/",
// "Figuras/", "cnpop.txt") into pasta, which must not exist yet.
void GravaPastaDados(const Catalogo& c, const std::string& pasta, bool comImagens);

}  // namespace demo
