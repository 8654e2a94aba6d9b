// The start-up sequence and the windows the module keeps.
#include "catalog/startup/Modulo.h"

#include "catalog/startup/frmApresentacao.h"
#include "catalog/startup/frmCreditos.h"
#include "platform/forms/Events.h"
#include "platform/forms/Form.h"
#include "platform/forms/Screen.h"
#include "platform/vb/Err.h"

#include <cmath>
#include <map>

vb::Form* JanelaRodaMouse = nullptr;
vb::Control* AlvoRodaJanela = nullptr;
IRolagemRoda* AlvoRodaRolagem = nullptr;

namespace {

// In creation order, so that they go in the reverse one.
std::vector<std::pair<std::string, std::unique_ptr<vb::Form>>>& Janelas() {
    static std::vector<std::pair<std::string, std::unique_ptr<vb::Form>>> janelas;
    return janelas;
}

// Set by the end of a failed start-up; Inicializa reports it.
bool falhaInicio = false;

std::function<std::unique_ptr<vb::Form>()>& CriaJanelaPrincipal() {
    static std::function<std::unique_ptr<vb::Form>()> cria;
    return cria;
}

// Releases what a failed start-up had taken; nothing of it may stop the error box.
void DesfazInicio() {
    LiberaPreparacaoBancos();
    if (!EstadoPrograma.TabelaCarrinho.empty() && !EstadoPrograma.DbAuxiliar.IsNothing()) {
        try {
            ApagaTabelaCarrinho(EstadoPrograma.DbAuxiliar, EstadoPrograma.TabelaCarrinho);
        } catch (...) {
        }
        EstadoPrograma.TabelaCarrinho.clear();
    }
    try {
        if (!EstadoPrograma.DbAuxiliar.IsNothing() || !EstadoPrograma.WsAuxiliar.IsNothing())
            FechaBanco(EstadoPrograma.WsAuxiliar, EstadoPrograma.DbAuxiliar);
    } catch (...) {
    }
    try {
        if (!EstadoPrograma.DbCatalogo.IsNothing() || !EstadoPrograma.WsCatalogo.IsNothing())
            FechaBanco(EstadoPrograma.WsCatalogo, EstadoPrograma.DbCatalogo);
    } catch (...) {
    }
    EstadoPrograma.DbAuxiliar = {};
    EstadoPrograma.WsAuxiliar = {};
    EstadoPrograma.DbCatalogo = {};
    EstadoPrograma.WsCatalogo = {};
}

}  // namespace

bool Inicializa() {
    falhaInicio = false;
    try {
        std::string naoUsado1, naoUsado2;
        LeConfiguracao("IDIOMA_VERIFICACAOAUTOMATICA", naoUsado1, naoUsado2);
        EstadoPrograma.CaminhoDados = ObtemCaminhoDados();
        AguardaPreparacaoBancos();
        AbreBancoCatalogo(EstadoPrograma.WsCatalogo, NomeWsCatalogo, EstadoPrograma.DbCatalogo, true);
        AbreBancoAuxiliar(EstadoPrograma.WsAuxiliar, EstadoPrograma.DbAuxiliar);
        LiberaPreparacaoBancos();
        EstadoPrograma.TabelaCarrinho = CriaTabelaCarrinho(EstadoPrograma.DbAuxiliar);
        EstadoPrograma.TwipsPorPixelX = static_cast<int>(std::lround(vb::ScreenObject::TwipsPerPixelX));
        EstadoPrograma.TwipsPorPixelY = static_cast<int>(std::lround(vb::ScreenObject::TwipsPerPixelY));
        EstadoPrograma.ReiniciarAposAtualizacao = false;
        // A load that failed has already ended the start-up; its window is not shown.
        vb::Form& principal = JanelaPrincipal();
        principal.Load();
        if (falhaInicio) return false;
        principal.Show(vb::vbModeless);
        return !falhaInicio;
    } catch (const vb::Error& e) {
        EncerraAposFalhaInicio(e.Number(), e.Description());
    } catch (const std::exception& e) {
        EncerraAposFalhaInicio(51, std::string("Internal error: ") + e.what());
    }
    return false;
}

void EncerraAposFalhaInicio(long numero, const std::string& descricao) {
    falhaInicio = true;
    DesfazInicio();
    MostraErro(numero, descricao);
    vb::End(1);
}

vb::Form& InstanciaJanela(const std::string& nome, const std::function<std::unique_ptr<vb::Form>()>& cria) {
    for (auto& [n, janela] : Janelas())
        if (n == nome) return *janela;
    if (!cria) vb::Raise(vb::err::ObjectRequired, "The window " + nome + " is not part of this program");
    Janelas().emplace_back(nome, cria());
    return *Janelas().back().second;
}

bool JanelaCriada(const std::string& nome) {
    for (auto& [n, janela] : Janelas())
        if (n == nome) return true;
    return false;
}

void LiberaJanelas() {
    auto& janelas = Janelas();
    while (!janelas.empty()) janelas.pop_back();
}

void DefineJanelaPrincipal(std::function<std::unique_ptr<vb::Form>()> cria) {
    CriaJanelaPrincipal() = std::move(cria);
}

vb::Form& JanelaPrincipal() { return InstanciaJanela("frmZornak", CriaJanelaPrincipal()); }

frmApresentacaoForm& frmApresentacao() {
    return static_cast<frmApresentacaoForm&>(
        InstanciaJanela("frmApresentacao", [] { return std::make_unique<frmApresentacaoForm>(); }));
}

frmCreditosForm& frmCreditos() {
    return static_cast<frmCreditosForm&>(
        InstanciaJanela("frmCreditos", [] { return std::make_unique<frmCreditosForm>(); }));
}
