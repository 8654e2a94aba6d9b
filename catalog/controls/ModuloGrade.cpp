#include "catalog/controls/ModuloGrade.h"

#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

std::uint8_t ObtemLinhaSelecionadaGrid(THGrid& grid) {
    try {
        const int row = grid.Row();
        if (row < 0 || row > 255) return SemLinhaGrid;
        return static_cast<std::uint8_t>(row);
    } catch (const vb::Error&) {
        return SemLinhaGrid;
    }
}

bool SelecionaLinhaGrid(THGrid& grid, std::uint8_t linha) {
    if (linha == SemLinhaGrid) return false;
    try {
        const int row = grid.Row();
        if (row == linha) return false;
        grid.Scroll(0, row - linha, false);
    } catch (const vb::Error&) {
    }
    return true;
}

bool PosicionaGrid(dao::DataControl& dc, THGrid& grid, const MarcadorLinha& anterior) {
    try {
        const dao::Recordset rs = dc.GetRecordset();
        if (rs.IsNothing() || rs.Eof()) return true;
        const int row = grid.Row();
        if (row <= 0) return true;
        return grid.RowBookmark(row) != anterior;
    } catch (const vb::Error&) {
        return true;
    }
}

bool TemLinhaAtual(const dao::DataControl& dc) {
    const dao::Recordset rs = dc.GetRecordset();
    return !rs.IsNothing() && rs.IsOpen() && !rs.Eof() && !rs.Bof();
}

long CodigoAtual(const dao::DataControl& dc, const std::string& campo) {
    if (!TemLinhaAtual(dc)) return 0;
    return ObtemValorCampo(dc.GetRecordset().Value(campo), 0L).ToLong();
}

void FechaRecordset(dao::DataControl& dc) {
    try {
        dao::Recordset rs = dc.GetRecordset();
        if (!rs.IsNothing() && rs.IsOpen()) rs.Close();
    } catch (const vb::Error&) {
    }
    dc.SetRecordset(dao::Recordset());
}

void LigaCombo(THCombo& combo, dao::DataControl& dc, const std::vector<std::string>& colunas,
               const std::string& criterio, long larguraLista) {
    combo.ObtemDataControl(dc);
    combo.ConfiguraColunas(colunas, std::nullopt, larguraLista);
    dc.GetRecordset().FindFirst(criterio);
    combo.AtualizaCombo();
}

void LigaGrade(THGrid& grade, dao::DataControl& dc, const TabelaPictures& pictures, const std::string& especificacao) {
    grade.ObtemDataControl(dc);
    grade.ObtemPictures(pictures);
    grade.ConfiguraColunas(vb::Split(especificacao, ";"));
}

std::string LarguraColuna(long pixels) { return std::to_string(ConvertePixelsParaTwips(pixels, "W")); }

ColunaPictures Variantes(const std::string& nome, const std::string& tipo) {
    return {nome + "1", nome + "1_S", nome + "2", nome + "2_S", tipo};
}

std::vector<ColunaPictures> VariantesFiguraLista() { return {Variantes("ICOFIGURA", "G"), Variantes("ICOLISTA", "G")}; }
std::string ColunaFigura() { return "ImagensGrid|2|" + LarguraColuna(40) + "|I|" + Traduz(8) + " <F3>|99"; }
std::string ColunaLista(const std::string& teclas) { return "|2|" + LarguraColuna(40) + "|F|" + Traduz(9) + " " + teclas + "|99"; }

ColunaPictures VariantesLancamento() { return {"ICOLANCGRID", "ICOLANCGRID", "ICOLANCGRID_S", "ICOLANCGRID_S", "G"}; }

TabelaPictures MontaTabelaPictures(const std::vector<ColunaPictures>& colunas) {
    TabelaPictures t;
    for (const ColunaPictures& c : colunas) {
        t[0].push_back(CarregaImagemRecurso(c.v0, c.tipo));
        t[1].push_back(CarregaImagemRecurso(c.v1, c.tipo));
        t[2].push_back(CarregaImagemRecurso(c.v2, c.tipo));
        t[3].push_back(CarregaImagemRecurso(c.v3, c.tipo));
    }
    return t;
}

long CorCabecalho(const std::string& ordem, int posicao) {
    return !ordem.empty() && static_cast<unsigned char>(ordem[0]) == '0' + posicao ? CorOrdemAtiva : 0;
}

void ColoreCabecalhos(const std::string& ordem, std::initializer_list<vb::Label*> rotulos) {
    int posicao = 1;
    for (vb::Label* l : rotulos) {
        if (l) l->SetForeColor(CorCabecalho(ordem, posicao));
        ++posicao;
    }
}
