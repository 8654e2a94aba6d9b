// The demo catalogue's content. Everything is invented: maker and model names, numbers,
// texts. The content is chosen so that every screen and every branch of the program meets
// something real: makers with no, one, four, five and many groups on the home screen, sets
// with one to five figure pages, items with none to nine products, releases, observations,
// cross references in every spelling, replacement chains with a cycle.
#include "tools/demo_data/Catalogo.h"

#include "catalog/startup/Modulo.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <stdexcept>

namespace demo {

std::uint64_t Aleatorio::Proximo()
{
    std::uint64_t z = (estado_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

long Aleatorio::Entre(long minimo, long maximo)
{
    if (maximo <= minimo) return minimo;
    return minimo + static_cast<long>(Proximo() % static_cast<std::uint64_t>(maximo - minimo + 1));
}

double Aleatorio::Real()
{
    return static_cast<double>(Proximo() >> 11) * (1.0 / 9007199254740992.0);
}

int Tabela::IndiceColuna(const std::string& n) const
{
    for (size_t i = 0; i < colunas.size(); ++i)
        if (colunas[i].nome == n) return static_cast<int>(i);
    throw std::logic_error("no column " + n + " in " + nome);
}

Tabela& Catalogo::Tab(const std::string& n)
{
    for (auto& t : tabelas)
        if (t.nome == n) return t;
    throw std::logic_error("no table " + n);
}

const Tabela& Catalogo::Tab(const std::string& n) const
{
    return const_cast<Catalogo*>(this)->Tab(n);
}

namespace {

// A text in the three languages, in the order of the column suffixes "P", "E", "I".
struct Tri {
    std::string P, E, I;
};

const char* const kIdiomas[3] = {"P", "E", "I"};

Tri Junta(const Tri& a, const std::string& sep, const Tri& b)
{
    return {a.P + sep + b.P, a.E + sep + b.E, a.I + sep + b.I};
}

Valor Txt(std::string s) { return Valor(std::move(s)); }
Valor Num(long long n) { return Valor(n); }
const Valor Nulo{};

// Adds one column per language: base & "P", base & "E", base & "I".
void ColunasIdioma(std::vector<Coluna>& c, const std::string& base, const std::string& tipo,
                   bool obrigatoria = false)
{
    for (const char* l : kIdiomas) c.push_back({base + l, tipo, obrigatoria});
}

void ValoresIdioma(std::vector<Valor>& linha, const Tri& t)
{
    linha.push_back(Txt(t.P));
    linha.push_back(Txt(t.E));
    linha.push_back(Txt(t.I));
}

// OLE automation day number of a calendar date (days since 1899-12-30).
double DiaOle(int ano, int mes, int dia)
{
    // Days from the civil calendar (proleptic Gregorian), shifted to the OLE epoch.
    auto diasCivis = [](int y, unsigned m, unsigned d) {
        y -= m <= 2;
        const int era = (y >= 0 ? y : y - 399) / 400;
        const unsigned yoe = static_cast<unsigned>(y - era * 400);
        const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return era * 146097 + static_cast<int>(doe) - 719468;
    };
    return static_cast<double>(diasCivis(ano, static_cast<unsigned>(mes), static_cast<unsigned>(dia)) -
                               diasCivis(1899, 12, 30));
}

// Packed "yymmdd" of an OLE day number.
std::string DataCompacta(double diaOle)
{
    // Days since 1970-01-01 (OLE day 25569) back to the civil calendar.
    const long z = static_cast<long>(diaOle) - 25569 + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long y = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
    char b[16];
    std::snprintf(b, sizeof b, "%02ld%02u%02u", y % 100, m, d);
    return b;
}

// ---- Fixed content -----------------------------------------------------------------------

struct Ramo {           // what a maker makes
    Tri nome;
};

// Short words, one of its own in each language: a maker's name ("Castrelo Autos") fits the
// home screen's 143-pixel label in upper case in every language.
const Ramo kAutomoveis{{"Autos", "Coches", "Cars"}};
const Ramo kCaminhoes{{"Caminhões", "Camiones", "Trucks"}};
const Ramo kOnibus{{"Ônibus", "Autobuses", "Buses"}};
const Ramo kTratores{{"Tratores", "Tractores", "Tractors"}};
const Ramo kMotos{{"Motos", "Ciclos", "Bikes"}};
const Ramo kMotores{{"Motores", "Mecánica", "Engines"}};
const Ramo kTransmissoes{{"Câmbios", "Cambios", "Gearboxes"}};
const Ramo kEixos{{"Eixos", "Ejes", "Axles"}};
const Ramo kUtilitarios{{"Utilitários", "Furgones", "Vans"}};
const Ramo kPecas{{"Peças", "Piezas", "Parts"}};

struct Fabricante {
    int codigo;
    std::string marca;
    const Ramo* ramo;
    int ordem;                   // OrdemTelaPrincipal; 0 = not on the home screen
    std::vector<int> grupos;     // the only product groups of its applications (empty: free)
};

// Fourteen makers are flagged for the home screen with distinct orders; it shows twelve,
// so the two with the highest orders stay hidden. The group lists give the home screen a
// maker with one group, with four, with five and with more than five rows (the vehicles
// row counts); Nordavik has no product at all.
const std::vector<Fabricante> kFabricantes = {
    {1, "Veltra", &kAutomoveis, 30, {1, 2, 3, 4, 5, 6, 8, 9}},
    {2, "Ondarra", &kAutomoveis, 10, {1, 2, 7, 10}},
    {3, "Castrelo", &kAutomoveis, 50, {1, 5, 11}},
    {4, "Brontal", &kCaminhoes, 20, {}},
    {5, "Nordavik", &kCaminhoes, 60, {}},
    {6, "Tavessa", &kOnibus, 40, {}},
    {7, "Orvane", &kTratores, 90, {}},
    {8, "Dumaris", &kMotos, 70, {}},
    {9, "Helveno", &kMotores, 80, {}},
    {10, "Ristolo", &kTransmissoes, 100, {}},
    {11, "Garbana", &kEixos, 110, {7}},
    {12, "Movarra", &kAutomoveis, 120, {}},
    {13, "Trennic", &kAutomoveis, 140, {}},
    {14, "Alcavo", &kMotores, 130, {}},
    {15, "Selvarin", &kUtilitarios, 0, {}},
    {16, "Quelmar", &kMotores, 0, {}},
    {17, "Pradeno", &kPecas, 0, {}},
    {18, "Fenwyn", &kPecas, 0, {}},
    {19, "Istrona", &kPecas, 0, {}},
    {20, "Calvesso", &kPecas, 0, {}},
    {21, "Marbeta", &kPecas, 0, {}},
    {22, "Zelthor", &kPecas, 0, {}},
};
const char* const kCoringas = "17,19,20";
const std::vector<int> kFabricantesPecas = {17, 18, 19, 20, 21, 22};

const std::vector<Tri> kTipos = {
    {"Veículo", "Vehículo", "Vehicle"},
    {"Motorização", "Motorización", "Engine"},
    {"Câmbio", "Caja de Cambios", "Gearbox"},
    {"Eixo Traseiro", "Eje Trasero", "Rear Axle"},
    {"Direção", "Dirección", "Steering"},
    {"Sistema de Freios", "Sistema de Frenos", "Brake System"},
    {"Embreagem", "Embrague", "Clutch"},
};

struct Grupo {
    Tri nome;
    std::vector<Tri> bases;
    std::vector<Tri> complementos;
};

const std::vector<Grupo> kGrupos = {
    {{"Pastilhas de Freio", "Pastillas de Freno", "Brake Pads"},
     {{"Pastilha de Freio", "Pastilla de Freno", "Brake Pad"},
      {"Jogo de Pastilhas de Freio", "Juego de Pastillas de Freno", "Brake Pad Set"}},
     {{"Dianteira", "Delantera", "Front"}, {"Traseira", "Trasera", "Rear"},
      {"Cerâmica Dianteira", "Cerámica Delantera", "Front Ceramic"},
      {"com Sensor de Desgaste", "con Sensor de Desgaste", "with Wear Sensor"}}},
    {{"Discos de Freio", "Discos de Freno", "Brake Discs"},
     {{"Disco de Freio", "Disco de Freno", "Brake Disc"}},
     {{"Ventilado", "Ventilado", "Vented"}, {"Sólido", "Sólido", "Solid"},
      {"Dianteiro Ventilado", "Delantero Ventilado", "Front Vented"},
      {"Traseiro com Cubo", "Trasero con Cubo", "Rear with Hub"}}},
    {{"Filtros de Óleo", "Filtros de Aceite", "Oil Filters"},
     {{"Filtro de Óleo", "Filtro de Aceite", "Oil Filter"},
      {"Elemento do Filtro de Óleo", "Elemento del Filtro de Aceite", "Oil Filter Element"}},
     {{"Blindado", "Blindado", "Spin-On"}, {"de Papel", "de Papel", "Paper Cartridge"},
      {"com Válvula", "con Válvula", "with Valve"}}},
    {{"Bombas d'Água", "Bombas de Agua", "Water Pumps"},
     {{"Bomba d'Água", "Bomba de Agua", "Water Pump"}},
     {{"com Junta", "con Junta", "with Gasket"}, {"Completa", "Completa", "Complete Unit"},
      {"com Polia", "con Polea", "with Pulley"}}},
    {{"Amortecedores", "Amortiguadores", "Shock Absorbers"},
     {{"Amortecedor", "Amortiguador", "Shock Absorber"}},
     {{"Dianteiro", "Delantero", "Front"}, {"Traseiro", "Trasero", "Rear"},
      {"Dianteiro a Gás", "Delantero a Gas", "Front Gas-Filled"},
      {"Traseiro Hidráulico", "Trasero Hidráulico", "Rear Hydraulic"}}},
    {{"Juntas e Retentores", "Juntas y Retenes", "Gaskets and Seals"},
     {{"Junta do Cabeçote", "Junta de la Culata", "Cylinder Head Gasket"},
      {"Retentor do Virabrequim", "Retén del Cigüeñal", "Crankshaft Seal"},
      {"Junta da Tampa de Válvulas", "Junta de la Tapa de Válvulas", "Valve Cover Gasket"}},
     {{"de Aço", "de Acero", "Steel"}, {"de Borracha", "de Goma", "Rubber"},
      {"Multicamadas", "Multicapa", "Multi-Layer"}}},
    {{"Rolamentos", "Rodamientos", "Bearings"},
     {{"Rolamento da Roda", "Rodamiento de Rueda", "Wheel Bearing"},
      {"Rolamento do Câmbio", "Rodamiento de la Caja", "Gearbox Bearing"}},
     {{"Dianteiro", "Delantero", "Front"}, {"Traseiro", "Trasero", "Rear"},
      {"Cônico", "Cónico", "Tapered"}, {"de Esferas", "de Bolas", "Ball"}}},
    {{"Correias", "Correas", "Belts"},
     {{"Correia Dentada", "Correa Dentada", "Timing Belt"},
      {"Correia do Alternador", "Correa del Alternador", "Alternator Belt"}},
     {{"104 Dentes", "104 Dientes", "104 Teeth"}, {"6 Canais", "6 Canales", "6-Rib"},
      {"com Tensor", "con Tensor", "with Tensioner"}}},
    {{"Velas de Ignição", "Bujías de Encendido", "Spark Plugs"},
     {{"Vela de Ignição", "Bujía de Encendido", "Spark Plug"}},
     {{"Platina", "Platino", "Platinum"}, {"Irídio", "Iridio", "Iridium"},
      {"Resistiva", "Resistiva", "Resistor"}}},
    {{"Kits de Embreagem", "Kits de Embrague", "Clutch Kits"},
     {{"Kit de Embreagem", "Kit de Embrague", "Clutch Kit"},
      {"Disco de Embreagem", "Disco de Embrague", "Clutch Disc"},
      {"Platô de Embreagem", "Plato de Embrague", "Clutch Pressure Plate"}},
     {{"com Rolamento", "con Rodamiento", "with Release Bearing"},
      {"Reforçado", "Reforzado", "Heavy Duty"}, {"de 228 mm", "de 228 mm", "228 mm"}}},
    {{"Terminais de Direção", "Terminales de Dirección", "Tie Rod Ends"},
     {{"Terminal de Direção", "Terminal de Dirección", "Tie Rod End"},
      {"Barra Axial", "Barra Axial", "Inner Tie Rod"}},
     {{"Lado Esquerdo", "Lado Izquierdo", "Left"}, {"Lado Direito", "Lado Derecho", "Right"}}},
};
// Which groups an application of each type takes when its maker does not restrict them.
const std::vector<std::vector<int>> kGruposDoTipo = {
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},   // vehicle
    {3, 4, 6, 8, 9},                       // engine
    {6, 7, 10},                            // gearbox
    {6, 7},                                // rear axle
    {6, 7, 11},                            // steering
    {1, 2},                                // brake system
    {7, 10},                               // clutch
};

// Products with a fixed text, at fixed codes: an apostrophe in two languages, twelve words,
// a text long enough to wrap in the narrow columns.
struct ProdutoFixo {
    long codigo;
    int grupo;
    Tri descricao;
};
const std::vector<ProdutoFixo> kProdutosFixos = {
    {7, 4, {"Bomba d'Água com Junta e Polia", "Bomba de Agua con Junta y Polea",
            "Water Pump with Gasket and Pulley"}},
    {8, 5, {"Amortecedor Dianteiro do Lado do Motorista",
            "Amortiguador Delantero del Lado del Conductor", "Front Shock Absorber, Driver's Side"}},
    {12, 1, {"Jogo de 4 Pinos da Sapata do Freio de Mão do Eixo",
             "Juego de 4 Pernos de la Zapata del Freno de Mano",
             "Set of 4 Pins for the Hand Brake Shoe of the Axle"}},
    {15, 1, {"Kit de Reparo Completo da Pinça de Freio Dianteira",
             "Kit de Reparación Completo de la Pinza Delantera",
             "Complete Front Brake Caliper Repair Kit Assembly"}},
};

const std::vector<std::string> kModelos = {
    "Alvor", "Cetrino", "Miravel", "Quorra", "Balisto", "Tendro", "Vornex", "Pelisa", "Gardo",
    "Sorvin", "Lumeta", "Carvo", "Drossa", "Fenlo", "Ivaro", "Jasmo", "Kelvo", "Lirano",
    "Morvik", "Nessar", "Orlina", "Pravo", "Quenta", "Rozan", "Sarvel", "Tollan", "Ulmar",
    "Varosi", "Wendra", "Xalto", "Yvoro", "Zarelo", "Bremmo", "Calesto", "Dorvane"};

const std::vector<Tri> kCombustiveis = {
    {"Flex", "Flex", "Flex-Fuel"}, {"Gasolina", "Gasolina", "Petrol"},
    {"Diesel", "Diésel", "Diesel"}, {"Álcool", "Alcohol", "Ethanol"}};

const std::vector<Tri> kComplementosAplicacao = {
    {"Lado Esquerdo", "Lado Izquierdo", "Left Side"},
    {"Lado Direito", "Lado Derecho", "Right Side"},
    {"Com ABS", "Con ABS", "With ABS"},
    {"Sem Ar-Condicionado", "Sin Aire Acondicionado", "Without Air Conditioning"},
    {"Até o Chassi 45.000", "Hasta el Chasis 45.000", "Up to Chassis 45,000"},
    {"A partir do Motor Nº 102.334", "Desde el Motor Nº 102.334", "From Engine No. 102,334"},
};

const std::vector<Tri> kObservacoesProduto = {
    {"Verificar o comprimento do cabo antes da instalação.",
     "Verificar la longitud del cable antes de la instalación.",
     "Check the cable length before fitting."},
    {"Substituir sempre aos pares (eixo completo).",
     "Sustituir siempre en pares (eje completo).", "Always replace in pairs (whole axle)."},
    {"Aplicar torque de 110 N·m nos parafusos.\r\nNão reutilizar as porcas.",
     "Aplicar par de 110 N·m en los tornillos.\r\nNo reutilizar las tuercas.",
     "Tighten the bolts to 110 N·m.\r\nDo not reuse the nuts."},
    {"Peça com sentido de rotação: observar a seta.",
     "Pieza con sentido de giro: observar la flecha.",
     "Directional part: mind the arrow."},
    {"Não acompanha o sensor de desgaste.", "No incluye el sensor de desgaste.",
     "Wear sensor not included."},
    {"Usar somente fluido DOT 4.", "Usar solamente líquido DOT 4.", "Use DOT 4 fluid only."},
    {"Exige ferramenta especial de sincronismo.",
     "Requiere herramienta especial de sincronización.",
     "Needs the special timing tool."},
    {"Embalagem com 2 unidades.", "Embalaje con 2 unidades.", "Pack of 2."},
};

const std::vector<Tri> kObservacoesAplicacao = {
    {"Para veículos fabricados a partir de março de 2016.",
     "Para vehículos fabricados a partir de marzo de 2016.",
     "For vehicles built from March 2016."},
    {"Versões com tração 4x4: consultar a tabela do eixo dianteiro.",
     "Versiones con tracción 4x4: consultar la tabla del eje delantero.",
     "Four-wheel-drive versions: see the front axle table."},
    {"Exceto série especial de exportação.", "Excepto serie especial de exportación.",
     "Except the special export series."},
};

// ---- Building blocks ----------------------------------------------------------------------

struct Aplicacao {
    long codigo;
    int tipo;
    int fabricante;
    Tri descricao;
    std::vector<long> produtos;
    std::vector<int> grupos;     // the product groups it may take
};

Tri NomeFabricante(const Fabricante& f) { return Junta({f.marca, f.marca, f.marca}, " ", f.ramo->nome); }

Tri AbrevFabricante(const Fabricante& f)
{
    const std::string tres = f.marca.substr(0, 3);
    std::string maiusc = tres;
    for (auto& ch : maiusc) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return {tres + ".", tres, maiusc};
}

Tri DescricaoVeiculo(Aleatorio& r, const std::string& modelo, const Fabricante& f)
{
    const Tri& comb = f.ramo == &kCaminhoes || f.ramo == &kOnibus || f.ramo == &kTratores
                          ? kCombustiveis[2]
                          : r.Escolhe(kCombustiveis);
    char motor[16];
    if (f.ramo == &kMotos)
        std::snprintf(motor, sizeof motor, "%ld cc", r.Entre(12, 100) * 10);
    else if (f.ramo == &kCaminhoes || f.ramo == &kOnibus)
        std::snprintf(motor, sizeof motor, "%ld.%ld", r.Entre(9, 26), r.Entre(10, 40));
    else
        std::snprintf(motor, sizeof motor, "%ld.%ld", r.Entre(1, 2), r.Entre(0, 9));
    const long inicio = r.Entre(2006, 2020);
    const long fim = inicio + r.Entre(2, 6);
    const std::string base = modelo + " " + motor + " ";
    const std::string a = std::to_string(inicio), b = std::to_string(fim);
    return {base + comb.P + " " + a + " até " + b, base + comb.E + " " + a + " hasta " + b,
            base + comb.I + " " + a + " to " + b};
}

Tri DescricaoConjuntoMecanico(Aleatorio& r, int tipo, int n)
{
    const std::string cod = std::string(1, static_cast<char>('A' + (n * 7) % 26)) +
                            std::string(1, static_cast<char>('K' + (n * 3) % 16)) + "-" +
                            std::to_string(10 + n * 3);
    switch (tipo) {
    case 2: {
        const std::string cil = std::to_string(r.Entre(1, 3)) + "." + std::to_string(r.Entre(0, 9));
        return {"Motor " + cod + " " + cil + " Turbo Diesel 16V",
                "Motor " + cod + " " + cil + " Turbo Diésel 16V",
                cod + " " + cil + " Turbo Diesel 16V Engine"};
    }
    case 3: {
        const std::string m = std::to_string(r.Entre(5, 6));
        return {"Câmbio " + cod + " de " + m + " Marchas", "Caja " + cod + " de " + m + " Velocidades",
                cod + " " + m + "-Speed Gearbox"};
    }
    case 4:
        return {"Eixo Traseiro " + cod + " com Diferencial", "Eje Trasero " + cod + " con Diferencial",
                cod + " Rear Axle with Differential"};
    case 5:
        return {"Direção Hidráulica " + cod, "Dirección Hidráulica " + cod, cod + " Power Steering"};
    case 6:
        return {"Sistema de Freio a Ar " + cod, "Sistema de Freno Neumático " + cod,
                cod + " Air Brake System"};
    default:
        return {"Embreagem Monodisco " + cod, "Embrague Monodisco " + cod,
                cod + " Single Plate Clutch"};
    }
}

std::string Formata(const char* f, long a)
{
    char b[64];
    std::snprintf(b, sizeof b, f, a);
    return b;
}

// A competitor's or a vehicle maker's number, in one of the spellings that catalogues use:
// dashes and dots, blanks and leading zeros, lower case, plain digits with zeros in front.
std::string NumeroReferencia(Aleatorio& r, int fabricante, long raiz)
{
    const long a = raiz % 10000, b = r.Entre(0, 999);
    switch ((fabricante + static_cast<int>(r.Entre(0, 1))) % 5) {
    case 0: return Formata("VT-%04ld", a) + "." + Formata("%03ld", b);
    case 1: return Formata("00%ld", a) + " " + Formata("%04ld", b * 7 % 10000);
    case 2: return "ab-" + Formata("%04ld", b) + static_cast<char>('a' + a % 26) + "x";
    case 3: return Formata("000%05ld", a * 10 + b % 10);
    default: return "KX " + Formata("%ld", a % 100) + "-" + Formata("%02ld", b % 100) + " " +
                    static_cast<char>('b' + b % 20);
    }
}

// The positions of a figure page's item markers and the parts they point at. Pages are
// 565 x 390, the size of the figure screen's picture. Up to twelve parts stand on one
// exploded axis with their markers alternately above and below; more parts take two axes,
// the upper one's markers above, the lower one's below.
std::vector<ItemFigura> PosicionaItens(const std::vector<std::string>& itens, Aleatorio& r)
{
    const int W = 565;
    const int n = static_cast<int>(itens.size());
    std::vector<ItemFigura> res;
    const bool dois = n > 12;
    const int naPrimeira = dois ? (n + 1) / 2 : n;
    for (int i = 0; i < n; ++i) {
        const bool primeira = i < naPrimeira;
        const int k = primeira ? naPrimeira : n - naPrimeira;
        const int pos = primeira ? i : i - naPrimeira;
        const double larguraFaixa = (W - 60.0) / k;
        const int cx = static_cast<int>(std::lround(30 + larguraFaixa * (pos + 0.5)));
        const int eixoY = dois ? (primeira ? 130 : 262) : 195;
        const int meiaAltura = dois ? static_cast<int>(r.Entre(22, 46)) : static_cast<int>(r.Entre(30, 70));
        const bool acima = dois ? primeira : (i % 2 == 0);
        ItemFigura it;
        it.item = itens[static_cast<size_t>(i)];
        it.forma = static_cast<int>(r.Entre(0, 9));
        it.esquerda = std::clamp(cx - 12, 4, W - 28);
        it.topo = acima ? 14 : 352;
        it.ancoraX = cx;
        it.ancoraY = acima ? eixoY - meiaAltura : eixoY + meiaAltura;
        it.eixoY = eixoY;
        it.faixa = static_cast<int>(larguraFaixa);
        res.push_back(it);
    }
    return res;
}

}  // namespace

// ---- The catalogue ---------------------------------------------------------------------

Catalogo GeraCatalogo(const Opcoes& op)
{
    Aleatorio r(op.semente * 0x5DEECE66Dull + 11);
    const int escala = std::max(1, op.escala);
    Catalogo c;

    // -- Schema: the columns the program's SQL relies on, per-language columns in threes.
    auto nova = [&](const std::string& nome) -> Tabela& {
        c.tabelas.push_back(Tabela{nome, {}, {}, {}, {}});
        return c.tabelas.back();
    };
    {
        Tabela& t = nova("GRUPOPRODUTO");
        t.colunas = {{"CodigoGrupoProduto", "Short", true}};
        ColunasIdioma(t.colunas, "DescricaoGrupoProduto", "Text(50)");
        t.chave = {"CodigoGrupoProduto"};
    }
    {
        Tabela& t = nova("PRODUTO");
        t.colunas = {{"CodigoProduto", "Long", true}, {"NumeroEmpresaProduto", "Text(8)"}};
        ColunasIdioma(t.colunas, "DescricaoProduto", "Text(50)");
        t.colunas.push_back({"CodigoGrupoProduto", "Short"});
        t.colunas.push_back({"FlagLancamento", "Byte"});
        t.colunas.push_back({"DataLancamento", "Text(6)"});
        t.colunas.push_back({"ArquivoFotoProduto", "Text(50)"});
        t.chave = {"CodigoProduto"};
        t.indices = {"NumeroEmpresaProduto", "CodigoGrupoProduto"};
    }
    {
        Tabela& t = nova("FABRICANTE");
        t.colunas = {{"CodigoFabricante", "Byte", true}};
        ColunasIdioma(t.colunas, "DescricaoFabricante", "Text(50)");
        ColunasIdioma(t.colunas, "DescricaoAbrevFabricante", "Text(10)");
        t.colunas.push_back({"FlagExibirTelaPrincipal", "Byte"});
        t.colunas.push_back({"OrdemTelaPrincipal", "Short"});
        t.chave = {"CodigoFabricante"};
    }
    {
        Tabela& t = nova("TIPOAPLICACAO");
        t.colunas = {{"CodigoTipoAplicacao", "Byte", true}};
        ColunasIdioma(t.colunas, "DescricaoTipoAplicacao", "Text(50)");
        t.chave = {"CodigoTipoAplicacao"};
    }
    {
        Tabela& t = nova("APLICACAO");
        t.colunas = {{"CodigoAplicacao", "Long", true}, {"CodigoTipoAplicacao", "Byte"},
                     {"CodigoFabricante", "Byte", true}};
        ColunasIdioma(t.colunas, "DescricaoAplicacao", "Text(100)");
        ColunasIdioma(t.colunas, "DescricaoAplicacaoPesquisa", "Text(100)");
        t.chave = {"CodigoAplicacao"};
        t.indices = {"CodigoFabricante"};
    }
    {
        Tabela& t = nova("APLICACAO_PRODUTO");
        t.colunas = {{"CodigoAplicacao", "Long", true}, {"CodigoProduto", "Long", true}};
        ColunasIdioma(t.colunas, "ComplementoAplicacao", "Text(100)");
        t.chave = {"CodigoAplicacao", "CodigoProduto"};
        t.indices = {"CodigoProduto"};
    }
    {
        Tabela& t = nova("APLICACAO_VEICULO");
        t.colunas = {{"CodigoVeiculo", "Long", true}, {"CodigoAplicacao", "Long", true}};
        t.chave = {"CodigoVeiculo", "CodigoAplicacao"};
        t.indices = {"CodigoAplicacao"};
    }
    {
        Tabela& t = nova("PRODUTO_OBS");
        t.colunas = {{"CodigoProduto", "Long", true}};
        ColunasIdioma(t.colunas, "Observacao", "Memo");
        t.chave = {"CodigoProduto"};
    }
    {
        Tabela& t = nova("APLICACAO_OBS");
        t.colunas = {{"CodigoAplicacao", "Long", true}};
        ColunasIdioma(t.colunas, "Observacao", "Memo");
        t.chave = {"CodigoAplicacao"};
    }
    {
        Tabela& t = nova("CONJUNTO");
        t.colunas = {{"CodigoConjunto", "Short", true}, {"CodigoAplicacao", "Long", true}};
        t.chave = {"CodigoConjunto"};
        t.indices = {"CodigoAplicacao"};
    }
    {
        Tabela& t = nova("CONJUNTO_PRODUTO");
        t.colunas = {{"CodigoConjunto", "Short", true}, {"CodigoProduto", "Long", true},
                     {"ItemFigura", "Text(5)", true}};
        t.chave = {"CodigoConjunto", "CodigoProduto", "ItemFigura"};
        t.indices = {"CodigoProduto"};
    }
    {
        Tabela& t = nova("CONJUNTO_PRODUTO1");
        t.colunas = {{"CodigoConjunto", "Short", true}, {"CodigoAplicacao", "Long", true},
                     {"CodigoProduto", "Long", true}, {"ItemFigura", "Text(5)", true}};
        t.chave = {"CodigoConjunto", "CodigoAplicacao", "CodigoProduto", "ItemFigura"};
        t.indices = {"CodigoAplicacao", "CodigoProduto"};
    }
    {
        Tabela& t = nova("FIGURADETALHADA1");
        t.colunas = {{"CodigoConjunto", "Short", true}, {"NumeroParteFigura", "Byte", true},
                     {"ArquivoFigura", "Text(50)"}, {"ItemFigura", "Text(5)", true},
                     {"PosicaoLeft", "Short"}, {"PosicaoTop", "Short"}};
        t.indices = {"CodigoConjunto"};
    }
    {
        Tabela& t = nova("REFERENCIACRUZADA");
        t.colunas = {{"CodigoProduto", "Long", true}, {"CodigoFabricante", "Byte", true},
                     {"NumeroFabricante", "Text(30)"}, {"NumeroFabricantePesquisa", "Text(30)"}};
        // The lists search only the references of their application's manufacturers; the
        // index holds what that search reads, so it needs no row of the table.
        t.indices = {"CodigoProduto", "CodigoFabricante, NumeroFabricantePesquisa, CodigoProduto"};
    }
    {
        Tabela& t = nova("SUBSTITUIDOS");
        t.colunas = {{"CodigoProduto", "Long", true}, {"CodigoProdutoNovo", "Long"}};
        t.chave = {"CodigoProduto"};
    }
    {
        Tabela& t = nova("UMREGISTRO");
        t.colunas = {{"UrlAtualizacao", "Text(255)"}, {"Versao", "Long"}, {"VersaoAnterior", "Long"},
                     {"DataEmissao", "Date"}, {"ComplementoDataEmissao", "Text(50)"},
                     {"DataUltimaVerificacao", "Date"}, {"FlagErroUltimaVerificacao", "Byte"},
                     {"CodigosFabricantesCoringas", "Text(255)"}};
    }
    {
        Tabela& t = nova("CONTROLETRAN");
        t.colunas = {{"a", "Long"}};
    }

    // -- Groups, makers, application types.
    for (size_t g = 0; g < kGrupos.size(); ++g) {
        std::vector<Valor> l{Num(static_cast<long long>(g + 1))};
        ValoresIdioma(l, kGrupos[g].nome);
        c.Tab("GRUPOPRODUTO").Inclui(l);
    }
    for (const auto& f : kFabricantes) {
        std::vector<Valor> l{Num(f.codigo)};
        ValoresIdioma(l, NomeFabricante(f));
        ValoresIdioma(l, AbrevFabricante(f));
        l.push_back(Num(f.ordem > 0 ? 1 : 0));
        l.push_back(f.ordem > 0 ? Num(f.ordem) : Nulo);
        c.Tab("FABRICANTE").Inclui(l);
    }
    for (size_t t = 0; t < kTipos.size(); ++t) {
        std::vector<Valor> l{Num(static_cast<long long>(t + 1))};
        ValoresIdioma(l, kTipos[t]);
        c.Tab("TIPOAPLICACAO").Inclui(l);
    }

    // -- Products. The issue date is fixed so the catalogue does not depend on the day it
    // was built; releases fall in the six months before it.
    const double emissao = DiaOle(2026, 10, 15);
    const long nBase = 400;
    const long nProdutos = nBase * escala;
    std::vector<int> grupoDe(static_cast<size_t>(nProdutos + 1), 0);
    std::vector<bool> lancamento(static_cast<size_t>(nProdutos + 1), false);
    std::map<int, std::vector<long>> porGrupo;
    std::set<long> numerosUsados;
    std::set<long> lancamentos;
    while (lancamentos.size() < 25) lancamentos.insert(r.Entre(1, nBase));
    const std::set<long> semNumero = {20, 140, 260, 380};
    {
        Tabela& t = c.Tab("PRODUTO");
        for (long p = 1; p <= nProdutos; ++p) {
            int grupo = static_cast<int>((p - 1) % 11) + 1;
            if (r.Chance(0.3)) grupo = static_cast<int>(r.Entre(1, 11));
            Tri desc;
            bool fixo = false;
            for (const auto& pf : kProdutosFixos)
                if (pf.codigo == p) { grupo = pf.grupo; desc = pf.descricao; fixo = true; }
            if (!fixo) {
                const Grupo& g = kGrupos[static_cast<size_t>(grupo - 1)];
                desc = Junta(r.Escolhe(g.bases), " ", r.Escolhe(g.complementos));
            }
            grupoDe[static_cast<size_t>(p)] = grupo;
            porGrupo[grupo].push_back(p);
            Valor numero = Nulo;
            if (!semNumero.count(p)) {
                long n;
                do {
                    n = r.Chance(0.5) ? r.Entre(1000000, 9999999) : r.Entre(10000000, 99999999);
                } while (!numerosUsados.insert(n).second);
                numero = Txt(std::to_string(n));
            }
            Valor flag = Num(0), data = Nulo;
            if (p <= nBase && lancamentos.count(p)) {
                flag = Num(1);
                data = Txt(DataCompacta(emissao - static_cast<double>(r.Entre(1, 182))));
                lancamento[static_cast<size_t>(p)] = true;
            } else if (r.Chance(0.08)) {
                data = Txt(DataCompacta(emissao - static_cast<double>(r.Entre(400, 1500))));
            } else if (r.Chance(0.03)) {
                flag = Nulo;
            }
            // Photos: most products have one; belts are long and narrow.
            Valor foto = Nulo;
            const long base = (p - 1) % nBase + 1;
            if (base % 10 != 3) {
                static const char* const ext[] = {"jpg", "png", "gif", "bmp"};
                const long sel = base % 50;
                const int e = sel < 35 ? 0 : sel < 41 ? 1 : sel < 46 ? 2 : 3;
                char nome[32];
                std::snprintf(nome, sizeof nome, "FP%06ld.%s", base, ext[e]);
                foto = Txt(nome);
                if (p <= nBase) {
                    FotoProduto f;
                    f.arquivo = nome;
                    f.grupo = grupo;
                    f.semente = r.Proximo();
                    if (grupo == 8) { f.largura = 415; f.altura = 45; }
                    if (p == 30) { f.largura = 191; f.altura = 165; }   // a size the screen refuses
                    if (p == 31) f.gravar = false;                     // a photo that is missing
                    c.fotos.push_back(f);
                }
            }
            std::vector<Valor> l{Num(p), numero};
            ValoresIdioma(l, desc);
            l.push_back(Num(grupo));
            l.push_back(flag);
            l.push_back(data);
            l.push_back(foto);
            t.Inclui(l);
        }
    }

    // -- Applications: vehicles, assemblies that belong to vehicles, standalone ones.
    std::vector<Aplicacao> aplicacoes;
    auto fab = [&](int codigo) -> const Fabricante& {
        for (const auto& f : kFabricantes)
            if (f.codigo == codigo) return f;
        throw std::logic_error("maker");
    };
    {
        const std::vector<std::pair<int, int>> veiculos = {
            {1, 6}, {2, 4}, {3, 3}, {4, 3}, {5, 1}, {6, 3}, {7, 3}, {8, 3}, {12, 3}, {13, 3}, {15, 3}};
        long codigo = 1;
        size_t modelo = 0;
        for (auto [f, n] : veiculos)
            for (int i = 0; i < n; ++i)
                aplicacoes.push_back({codigo++, 1, f, DescricaoVeiculo(r, kModelos[modelo++ % kModelos.size()], fab(f)), {}, {}});
        // 36..80 assemblies, 81..88 standalone applications.
        const std::vector<std::tuple<int, int, int>> mecanicos = {
            {2, 9, 6}, {2, 14, 5}, {2, 16, 3}, {2, 1, 3}, {3, 10, 6}, {3, 2, 2}, {4, 11, 6},
            {5, 3, 2}, {5, 13, 3}, {6, 12, 2}, {6, 6, 2}, {6, 7, 1}, {7, 10, 2}, {7, 8, 2},
            // standalone
            {2, 16, 1}, {3, 10, 1}, {4, 11, 1}, {5, 13, 1}, {6, 6, 1}, {7, 8, 1}, {2, 9, 1}, {3, 2, 1}};
        int n = 0;
        for (auto [tipo, f, qt] : mecanicos)
            for (int i = 0; i < qt; ++i, ++n)
                aplicacoes.push_back({codigo++, tipo, f, DescricaoConjuntoMecanico(r, tipo, n), {}, {}});
        // Larger catalogues add applications with codes beyond the 16-bit range (they have
        // no set, which keeps the figure screen's 16-bit application codes valid).
        for (int e = 1; e < escala; ++e)
            for (int i = 0; i < 88; ++i) {
                const Aplicacao& modeloApl = aplicacoes[static_cast<size_t>(i)];
                Aplicacao a{100000L + (e - 1) * 100L + i, modeloApl.tipo, modeloApl.fabricante,
                            modeloApl.tipo == 1
                                ? DescricaoVeiculo(r, kModelos[static_cast<size_t>(r.Entre(0, 34))], fab(modeloApl.fabricante))
                                : DescricaoConjuntoMecanico(r, modeloApl.tipo, i + e * 88),
                            {}, {}};
                aplicacoes.push_back(a);
            }
    }
    auto apl = [&](long codigo) -> Aplicacao& {
        for (auto& a : aplicacoes)
            if (a.codigo == codigo) return a;
        throw std::logic_error("application");
    };

    // Sets: the applications that carry one, and the vehicles they belong to (vehicle 1 has
    // several sets, vehicle 2 one, vehicle 3 none).
    const std::vector<long> aplicacoesComConjunto = {36, 37, 57, 52, 42, 63, 60, 66, 70, 75, 78, 48};
    // Vehicles and assemblies: fixed links for the set cases, random links for the rest.
    std::vector<std::pair<long, long>> veiculoAplicacao = {{1, 36}, {1, 37}, {1, 57}, {2, 63}, {3, 38},
                                                           {4, 36}, {9, 37}};
    for (long a = 38; a <= 80; ++a) {
        const long nVeic = r.Entre(1, 3);
        for (long k = 0; k < nVeic; ++k) {
            veiculoAplicacao.push_back({r.Entre(4, 35), a});
        }
    }
    for (long e = 1; e < escala; ++e)
        for (long i = 35; i < 80; ++i) {
            const long v = 100000L + (e - 1) * 100L + r.Entre(0, 34);
            veiculoAplicacao.push_back({v, 100000L + (e - 1) * 100L + i});
        }
    std::sort(veiculoAplicacao.begin(), veiculoAplicacao.end());
    veiculoAplicacao.erase(std::unique(veiculoAplicacao.begin(), veiculoAplicacao.end()), veiculoAplicacao.end());
    for (auto [v, a] : veiculoAplicacao)
        c.Tab("APLICACAO_VEICULO").Inclui({Num(v), Num(a)});

    // Products of each application, from the groups its maker or its type allows.
    for (auto& a : aplicacoes) {
        const Fabricante& f = fab(a.fabricante);
        if (f.codigo == 5) continue;
        std::vector<int> grupos = f.grupos.empty() ? kGruposDoTipo[static_cast<size_t>(a.tipo - 1)] : f.grupos;
        a.grupos = grupos;
        const bool comConjunto = std::find(aplicacoesComConjunto.begin(), aplicacoesComConjunto.end(),
                                           a.codigo) != aplicacoesComConjunto.end();
        const long n = comConjunto ? r.Entre(45, 60) : a.tipo == 1 ? r.Entre(10, 30) : r.Entre(6, 20);
        std::set<long> escolhidos;
        // Every allowed group at least once, so the home screen's group rows are exact.
        for (int g : grupos) {
            const auto& pool = porGrupo[g];
            escolhidos.insert(pool[static_cast<size_t>(r.Entre(0, static_cast<long>(std::min<size_t>(pool.size(), nBase / 11)) - 1))]);
        }
        long limite = a.codigo >= 100000 ? nProdutos : nBase;
        int tentativas = 0;
        while (static_cast<long>(escolhidos.size()) < n && tentativas++ < 5000) {
            const int g = r.Escolhe(grupos);
            const auto& pool = porGrupo[g];
            const long p = pool[static_cast<size_t>(r.Entre(0, static_cast<long>(pool.size()) - 1))];
            if (p <= limite) escolhidos.insert(p);
        }
        a.produtos.assign(escolhidos.begin(), escolhidos.end());
    }
    // The set applications carry a release of a group they take, so set items can show the
    // release mark without changing the groups the home screen lists.
    for (long codigo : aplicacoesComConjunto) {
        Aplicacao& a = apl(codigo);
        for (long p : lancamentos) {
            const int g = grupoDe[static_cast<size_t>(p)];
            if (std::find(a.grupos.begin(), a.grupos.end(), g) == a.grupos.end()) continue;
            if (std::find(a.produtos.begin(), a.produtos.end(), p) == a.produtos.end()) a.produtos.push_back(p);
            break;
        }
    }
    {
        Tabela& ta = c.Tab("APLICACAO");
        Tabela& tp = c.Tab("APLICACAO_PRODUTO");
        for (const auto& a : aplicacoes) {
            std::vector<Valor> l{Num(a.codigo), Num(a.tipo), Num(a.fabricante)};
            ValoresIdioma(l, a.descricao);
            ValoresIdioma(l, {MontaChaveBusca(a.descricao.P), MontaChaveBusca(a.descricao.E),
                              MontaChaveBusca(a.descricao.I)});
            ta.Inclui(l);
            for (long p : a.produtos) {
                std::vector<Valor> lp{Num(a.codigo), Num(p)};
                const double s = r.Real();
                if (s < 0.7) ValoresIdioma(lp, {"", "", ""});
                else if (s < 0.8) { lp.push_back(Nulo); lp.push_back(Nulo); lp.push_back(Nulo); }
                else ValoresIdioma(lp, r.Escolhe(kComplementosAplicacao));
                tp.Inclui(lp);
            }
        }
    }

    // -- Sets and their figures.
    long numeroFigura = 0;
    std::set<long> naFigura;   // the products that some figure's item shows
    for (size_t s = 0; s < aplicacoesComConjunto.size(); ++s) {
        const int conjunto = static_cast<int>(s + 1);
        const Aplicacao& a = apl(aplicacoesComConjunto[s]);
        c.Tab("CONJUNTO").Inclui({Num(conjunto), Num(a.codigo)});
        const int paginas = conjunto == 1 ? 1 : conjunto == 2 ? 2 : conjunto == 3 ? 3
                          : conjunto == 4 ? 5 : conjunto == 5 ? 2 : static_cast<int>(r.Entre(1, 2));
        // Item texts per page, and how many products each item has (-1: one product that does
        // not fit the set's application, so the item is not applicable).
        std::vector<std::vector<std::string>> itensPagina;
        std::map<std::string, int> produtosDoItem;
        if (conjunto == 1) {
            std::vector<std::string> itens;
            for (int i = 1; i <= 20; ++i) itens.push_back(std::to_string(i));
            itens.insert(itens.begin() + 12, "12A");
            itens.push_back("A");
            itensPagina.push_back(itens);
            for (const auto& it : itens) produtosDoItem[it] = static_cast<int>(r.Entre(1, 2));
            produtosDoItem["1"] = 1;
            produtosDoItem["2"] = 0;
            produtosDoItem["3"] = 4;
            produtosDoItem["4"] = 5;
            produtosDoItem["5"] = 9;
            produtosDoItem["6"] = -1;
        } else {
            int proximo = 1;
            for (int pg = 0; pg < paginas; ++pg) {
                std::vector<std::string> itens;
                const long n = r.Entre(8, 25);
                for (long i = 0; i < n; ++i) {
                    itens.push_back(std::to_string(proximo++));
                    produtosDoItem[itens.back()] = static_cast<int>(r.Entre(1, 3));
                }
                itensPagina.push_back(itens);
            }
        }
        // Products of the items: from the application's own products, a release first.
        std::vector<long> disponiveis = a.produtos;
        std::stable_partition(disponiveis.begin(), disponiveis.end(),
                              [&](long p) { return lancamento[static_cast<size_t>(p)]; });
        size_t cursor = 0;
        std::set<long> daAplicacao(a.produtos.begin(), a.produtos.end());
        for (size_t pg = 0; pg < itensPagina.size(); ++pg) {
            PaginaFigura pagina;
            pagina.conjunto = conjunto;
            pagina.numeroParte = static_cast<int>(pg + 1);
            ++numeroFigura;
            pagina.arquivo = Formata("FG%03ld", conjunto) + Formata("_%02ld", static_cast<long>(pg + 1)) +
                             (numeroFigura % 4 == 0 ? ".jpg" : ".png");
            pagina.gravar = !(conjunto == 5 && pg == 1);   // the one page whose file is missing
            pagina.itens = PosicionaItens(itensPagina[pg], r);
            for (const auto& it : pagina.itens) {
                c.Tab("FIGURADETALHADA1").Inclui({Num(conjunto), Num(pagina.numeroParte), Txt(pagina.arquivo),
                                                  Txt(it.item), Num(it.esquerda), Num(it.topo)});
                int qt = produtosDoItem[it.item];
                std::vector<long> prods;
                if (qt < 0) {
                    // A product of another application: listed in the set, but not for this one.
                    for (long p = 1; p <= nBase; ++p)
                        if (!daAplicacao.count(p)) { prods.push_back(p); break; }
                } else {
                    for (int k = 0; k < qt; ++k) prods.push_back(disponiveis[cursor++ % disponiveis.size()]);
                }
                std::sort(prods.begin(), prods.end());
                prods.erase(std::unique(prods.begin(), prods.end()), prods.end());
                for (long p : prods) {
                    naFigura.insert(p);
                    c.Tab("CONJUNTO_PRODUTO").Inclui({Num(conjunto), Num(p), Txt(it.item)});
                    c.Tab("CONJUNTO_PRODUTO1").Inclui({Num(conjunto), Num(a.codigo), Num(p), Txt(it.item)});
                }
            }
            c.paginas.push_back(pagina);
        }
    }

    // -- Observations.
    {
        std::set<long> comObs;
        comObs.insert(5);
        comObs.insert(7);
        while (comObs.size() < 40) comObs.insert(r.Entre(1, nBase));
        for (long p : comObs) {
            std::vector<Valor> l{Num(p)};
            ValoresIdioma(l, r.Escolhe(kObservacoesProduto));
            c.Tab("PRODUTO_OBS").Inclui(l);
        }
        for (long a : {1L, 2L, 9L, 36L, 40L, 57L, 81L}) {
            std::vector<Valor> l{Num(a)};
            ValoresIdioma(l, r.Escolhe(kObservacoesAplicacao));
            c.Tab("APLICACAO_OBS").Inclui(l);
        }
    }

    // -- Cross references: 0 to 8 per product (product 5 has exactly 9), more per product in
    // the larger catalogues; the vehicle makers' own numbers and the parts makers' ones. A
    // product that a figure shows keeps only the references whose joined text ("a - b - c")
    // stays within two lines of the figure panel's row; the others are drawn all the same,
    // so that the rest of the catalogue does not change with this.
    {
        constexpr std::size_t kTextoFigura = 52;
        std::vector<std::vector<int>> fabricantesDoProduto(static_cast<size_t>(nProdutos + 1));
        for (const auto& a : aplicacoes)
            for (long p : a.produtos) fabricantesDoProduto[static_cast<size_t>(p)].push_back(a.fabricante);
        Tabela& t = c.Tab("REFERENCIACRUZADA");
        for (long p = 1; p <= nProdutos; ++p) {
            long n = p == 5 ? 9 : p <= nBase ? (r.Chance(0.12) ? 0 : r.Entre(1, 7) + (r.Chance(0.1) ? 1 : 0))
                                             : r.Entre(1, 20);
            std::set<std::pair<int, std::string>> feitas;
            std::size_t texto = 0;
            const bool mostradoNaFigura = naFigura.count(p) > 0;
            const long raiz = r.Entre(1000, 99999);
            for (long k = 0, tentativas = 0; k < n && tentativas < 200; ++k, ++tentativas) {
                int f;
                const double s = r.Real();
                const auto& fp = fabricantesDoProduto[static_cast<size_t>(p)];
                if (s < 0.5) f = std::vector<int>{17, 19, 20}[static_cast<size_t>(r.Entre(0, 2))];
                else if (s < 0.7 || fp.empty()) f = r.Escolhe(kFabricantesPecas);
                else f = r.Escolhe(fp);
                const std::string numero = NumeroReferencia(r, f, raiz + k * 37);
                if (!feitas.insert({f, numero}).second) { --k; continue; }
                const std::size_t junto = texto + (texto > 0 ? 3 : 0) + numero.size();
                if (mostradoNaFigura && junto > kTextoFigura) continue;
                texto = junto;
                t.Inclui({Num(p), Num(f), Txt(numero), Txt(NormalizaCodigoAlfanumerico(numero))});
            }
        }
    }

    // -- Replacements: plain ones, a chain of three, a cycle, a product replaced by itself.
    {
        Tabela& t = c.Tab("SUBSTITUIDOS");
        const std::vector<std::pair<long, long>> fixos = {
            {101, 102}, {103, 104}, {104, 105}, {106, 107}, {107, 106}, {108, 108},
            {109, 110}, {110, 111}, {111, 112}};
        std::set<long> usados;
        for (auto [de, para] : fixos) { t.Inclui({Num(de), Num(para)}); usados.insert(de); }
        for (int i = 0; i < 12; ++i) {
            long de = r.Entre(120, nBase);
            if (!usados.insert(de).second) continue;
            t.Inclui({Num(de), Num(r.Entre(1, nBase))});
        }
    }

    // -- The one-row tables. The demo catalogue has no update server: its address is this
    // computer, so a check fails at once and nothing leaves the machine.
    // The issue date's complement is short enough for the header's label in every language.
    c.Tab("UMREGISTRO").Inclui({Txt("http://127.0.0.1/zornak/catalogo/"), Num(27), Num(26),
                                Valor(emissao), Txt(" - 7"), Nulo, Num(0), Txt(kCoringas)});
    c.Tab("CONTROLETRAN").Inclui({Num(1)});

    c.aviso = "1";
    return c;
}

}  // namespace demo
