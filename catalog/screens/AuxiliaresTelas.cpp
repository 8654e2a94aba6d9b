#include "catalog/screens/AuxiliaresTelas.h"

#include "catalog/screens/ConsultasListas.h"
#include "catalog/startup/Modulo.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cmath>

namespace telas {

long ConvertePixelsParaTwips(long pixels, const std::string& eixo) {
    std::string e;
    for (char c : eixo) e += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const bool horizontal = e == "X" || e == "L" || e == "LEFT" || e == "W" || e == "WIDTH";
    int fator = horizontal ? EstadoPrograma.TwipsPorPixelX : EstadoPrograma.TwipsPorPixelY;
    if (fator <= 0) fator = 15;   // before the start-up has measured the screen
    return pixels * fator;
}

std::string Largura(long pixels) { return std::to_string(ConvertePixelsParaTwips(pixels, "W")); }

std::vector<std::string> DivideEspecificacao(const std::string& especificacao) {
    std::vector<std::string> itens;
    std::size_t inicio = 0;
    for (;;) {
        const std::size_t p = especificacao.find(';', inicio);
        itens.push_back(especificacao.substr(inicio, p == std::string::npos ? std::string::npos : p - inicio));
        if (p == std::string::npos) break;
        inicio = p + 1;
    }
    return itens;
}

ColunaPictures Variantes(const std::string& nome, const std::string& tipo) {
    return {nome + "1", nome + "1_S", nome + "2", nome + "2_S", tipo};
}

TabelaPictures MontaTabelaPictures(std::initializer_list<ColunaPictures> colunas) {
    TabelaPictures t;
    for (const ColunaPictures& c : colunas) {
        t[0].push_back(CarregaImagemRecurso(c.v0, c.tipo));
        t[1].push_back(CarregaImagemRecurso(c.v1, c.tipo));
        t[2].push_back(CarregaImagemRecurso(c.v2, c.tipo));
        t[3].push_back(CarregaImagemRecurso(c.v3, c.tipo));
    }
    return t;
}

void ColoreCabecalhos(const std::string& ordem, std::initializer_list<vb::Label*> rotulos) {
    int posicao = 1;
    for (vb::Label* l : rotulos) {
        if (l) l->SetForeColor(consultas::CorCabecalho(ordem, posicao));
        ++posicao;
    }
}

long CodigoAtual(const dao::DataControl& dc, const std::string& campo) {
    dao::Recordset rs = dc.GetRecordset();
    if (rs.IsNothing() || !rs.IsOpen() || rs.Eof() || rs.Bof()) return 0;
    const vb::Variant v = rs.Value(campo);
    if (v.IsNull() || v.IsEmpty()) return 0;
    return v.ToLong();
}

}  // namespace telas
